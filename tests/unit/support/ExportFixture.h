#pragma once

#include "support/CommandFixture.h"

#include "commands/ExportText.h"
#include "runtime/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// The session, user interface and target of the export tests.
namespace portolan::testing {

inline const char* const headerNotOpened = "The specified header file could not be opened.";
inline const char* const footerNotOpened = "The specified footer file could not be opened.";
inline const char* const headerReadError = "An error occurred reading your header file.";
inline const char* const saveDialog = "file dialog 2";
inline const std::string question = "The file  SITES.TXT  exists.\r\n\r\nOverwrite the file?";

class ExportText : public ::testing::Test, public CommandFixture {
protected:
    std::string target = folder.file("sites.txt");

    // Makes slot an active site with these texts.
    void storeSite(int slot, const std::string& description, const std::string& address = {}) {
        SiteFields fields;
        fields.Description = description;
        fields.Address = address;
        session.book.storeSite(slot, fields, 35250);
        ++session.book.SiteCount;
    }

    // A request with the given columns first and "None" in the lists after them.
    static ExportRequest columns(std::initializer_list<const char*> chosen) {
        ExportRequest request;
        request.columns.fill("None");
        std::size_t list = 0;
        for (const char* name : chosen)
            request.columns[list++] = name;
        return request;
    }

    // Runs the export with the target chosen in the save dialog.
    void runExport(const ExportRequest& request) {
        ui.fileNames[FileDialog::ExportTarget].push_back(target);
        exportSites(session, ui, request);
    }

    std::string exportTo(const ExportRequest& request) {
        runExport(request);
        return readBytes(target);
    }

    // The code of the input/output error that the export throws; 0 when it throws none.
    int failureOf(const ExportRequest& request) {
        try {
            runExport(request);
        } catch (const InOutError& error) {
            return error.code();
        }
        return 0;
    }

    bool targetExists() const { return std::filesystem::exists(systemPathOf(target)); }

    // Exports the site "Mirror" over a target holding "Old text", the target also standing as the header,
    // the footer, both or neither, and checks what the target holds afterwards: the header and footer are
    // read with their old content however the target is written.
    void exportOverATargetThatIsAlsoTheHeaderOrFooter() {
        storeSite(0, "Mirror");
        struct Case {
            const char* name;
            bool header;
            bool footer;
            std::string result;
        };
        const Case cases[] = {
            {"no header or footer", false, false, "Mirror \r\n"},
            {"header", true, false, "Old text\r\nMirror \r\n"},
            {"footer", false, true, "Mirror \r\nOld text\r\n"},
            {"header and footer", true, true, "Old text\r\nMirror \r\nOld text\r\n"},
        };
        for (const Case& c : cases) {
            writeBytes(target, "Old text\r\n");
            ExportRequest request = columns({"Description"});
            request.headerText = c.header ? target : "";
            request.footerText = c.footer ? target : "";
            ui.answers.push_back(AnswerYes);
            EXPECT_EQ(failureOf(request), 0) << c.name;
            EXPECT_EQ(readBytes(target), c.result) << c.name;
            EXPECT_EQ(folder.entryCount(), 1u) << c.name;
        }
    }
};

} // namespace portolan::testing
