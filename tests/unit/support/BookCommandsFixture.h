#pragma once

#include "support/CommandFixture.h"

#include "book/SiteFile.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

// The session and user interface of the book command tests.
namespace portolan::testing {

inline const char* const discardQuestion =
    "Are you sure you want to open a site file and loose any unsaved work?";
inline const char* const notFound = "File was not found.  Possibly incorrect file name or open file.";

class BookCommands : public ::testing::Test, public CommandFixture {
protected:
    // A site file holding the given sites, written by the program itself.
    std::string siteFile(const std::string& name, std::initializer_list<const char*> descriptions) {
        CommandFixture other;
        for (const char* description : descriptions)
            other.addSite(description);
        const std::string path = folder.file(name);
        writeSiteFile(other.session.book, path, other.ui);
        return path;
    }

    void selectAll(bool enabled) {
        for (SiteControl control : {SiteControl::DeletePD, SiteControl::DeleteSB, SiteControl::editSB,
                                    SiteControl::getInfoPD, SiteControl::getInfoSB})
            ui.enabled[control] = enabled;
    }
};

} // namespace portolan::testing
