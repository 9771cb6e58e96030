#include "SymbolicLink.h"
#include "WindowsSituations.h"
#include "support/CommandFixture.h"
#include "support/RecordingMessages.h"
#include "support/SettingsSamples.h"
#include "support/SiteFileSamples.h"
#include "support/TempFolder.h"

#include "book/SettingsFile.h"
#include "book/SiteFile.h"
#include "commands/ExportText.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace portolan {
namespace {

using testing::readBytes;
using testing::SymbolicLink;
using testing::TempFolder;
using testing::writeBytes;

// The folder part of a test's path, without its last backslash.
std::string folderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

std::size_t entryCount(const std::string& folder) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(testing::systemPathOf(folder)),
                      std::filesystem::directory_iterator()));
}

// Links that go when the test ends, the last made first: each while what it points to is still there,
// as only then can the test see that it has gone.
struct LinksMade : std::vector<std::unique_ptr<SymbolicLink>> {
    ~LinksMade() {
        while (!empty())
            pop_back();
    }
};

// What writes a file of the given name, and the bytes that it writes.
struct Writer {
    const char* what;
    std::string name;
    std::function<void(const std::string& path)> write;
    std::string bytes;
};

std::vector<Writer> writers() {
    TempFolder scratch;
    const std::string book = scratch.file("book.ptn");
    testing::RecordingMessages messages;
    writeSiteFile(testing::bookOfSites(3), book, messages);
    return {
        {"the book", "sites.ptn",
         [](const std::string& path) {
             testing::RecordingMessages messages;
             EXPECT_TRUE(writeSiteFile(testing::bookOfSites(3), path, messages));
         },
         readBytes(book)},
        {"the settings", "prtln.cfg",
         [](const std::string& path) { writeSettingsFile(folderOf(path), testing::exampleSettings()); },
         testing::exampleRecordBytes()},
        {"an export target", "sites.txt",
         [](const std::string& path) {
             testing::CommandFixture fixture;
             fixture.addSite("Mirror");
             fixture.ui.fileNames[FileDialog::ExportTarget] = {path};
             fixture.ui.answers = {AnswerYes}; // to the question whether the file that is there be replaced
             ExportRequest request;
             request.columns = {"Description", "None", "None", "None", "None", "None"};
             exportSites(fixture.session, fixture.ui, request);
             EXPECT_EQ(fixture.ui.messages.size(), 1u);
         },
         "Mirror \r\n"},
    };
}

// A book, the settings file and an export target reached through symbolic links have the file at the
// end of the links written, in whatever folder it lies, and the links stay links: a change to that file
// shows through them afterwards. No temporary file is left in either folder.
TEST(ReplacingFile, SymbolicLinksHaveTheFileTheyLeadToWritten) {
    struct Link {
        std::string at; // with N for the file's name; made in this order, each to something that is there
        std::string to;
        bool toFolder = false;
    };
    struct Shape {
        const char* what;
        std::vector<Link> links;
        std::string named; // the path the program is given, under the test's folder
        std::string real;  // the file that takes the content
    };
    const Shape shapes[] = {
        {"a link beside its file", {{"books\\N", "real-N"}}, "books\\N", "books\\real-N"},
        {"a link to another folder", {{"books\\N", "..\\elsewhere\\N"}}, "books\\N", "elsewhere\\N"},
        {"a chain of links",
         {{"books\\middle-N", "..\\elsewhere\\N"}, {"books\\N", "middle-N"}},
         "books\\N",
         "elsewhere\\N"},
        {"a linked folder on the way",
         {{"books\\linked", "..\\elsewhere", true}},
         "books\\linked\\N",
         "elsewhere\\N"},
    };
    const auto named = [](std::string text, const std::string& name) {
        for (auto at = text.find('N'); at != std::string::npos; at = text.find('N', at + name.size()))
            text.replace(at, 1, name);
        return text;
    };
    for (const Writer& writer : writers()) {
        for (const Shape& shape : shapes) {
            SCOPED_TRACE(std::string(writer.what) + ", " + shape.what);
            TempFolder folder;
            ASSERT_TRUE(testing::makeFolder(folder.file("books")));
            ASSERT_TRUE(testing::makeFolder(folder.file("elsewhere")));
            const std::string real = folder.file(named(shape.real, writer.name));
            writeBytes(real, "old content");
            LinksMade links;
            for (const Link& link : shape.links) {
                links.push_back(std::make_unique<SymbolicLink>(folder.file(named(link.at, writer.name)),
                                                               named(link.to, writer.name), link.toFolder));
                if (!links.back()->made())
                    GTEST_SKIP() << "this user may make no symbolic links";
            }
            const std::string path = folder.file(named(shape.named, writer.name));

            writer.write(path);
            EXPECT_EQ(readBytes(real), writer.bytes);
            EXPECT_EQ(readBytes(path), writer.bytes);
            writeBytes(real, "changed afterwards");
            EXPECT_EQ(readBytes(path), "changed afterwards") << "the link is a link still";
            const bool beside = shape.real.starts_with("books");
            EXPECT_EQ(entryCount(folder.file("books")), shape.links.size() + (beside ? 1 : 0));
            EXPECT_EQ(entryCount(folder.file("elsewhere")), beside ? 0u : 1u);
        }
    }
}

} // namespace
} // namespace portolan
