#include "support/CommandFixture.h"
#include "support/CurrentFolder.h"

#include "book/SettingsLocation.h"
#include "book/SiteFile.h"
#include "commands/BookCommands.h"
#include "commands/ExportText.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace portolan {
namespace {

using testing::CommandFixture;
using testing::CurrentFolder;

// What the program reads of a file, through its own reading.
std::string programRead(const std::string& path) {
    PlainFile file;
    file.openForReading(path);
    std::string bytes;
    char block[4096];
    std::size_t got = 0;
    while ((got = file.read(block, sizeof block)) > 0)
        bytes.append(block, got);
    return bytes;
}

// Removes a chain of folders made for a test when the test ends: the files of the given names in the
// deepest one, then each folder up to the test's own folder. The test folder's removal does not reach
// them on Windows, where the C++ library lists no folder deeper than MAX_PATH (and lists the current
// folder instead).
class DeepFolders {
public:
    DeepFolders(std::string top, std::string deepest, std::vector<std::string> files)
        : top_(std::move(top)), deepest_(std::move(deepest)), files_(std::move(files)) {}
    ~DeepFolders() {
        std::error_code ignored;
        for (const std::string& name : files_)
            std::filesystem::remove(removable(deepest_ + pathSeparator + name), ignored);
        for (std::string folder = deepest_; folder.size() > top_.size();
             folder.resize(folder.find_last_of(pathSeparator)))
            std::filesystem::remove(removable(folder), ignored);
    }
    DeepFolders(const DeepFolders&) = delete;
    DeepFolders& operator=(const DeepFolders&) = delete;

private:
    static std::filesystem::path removable(const std::string& path) {
        return testing::removablePathOf(testing::systemPathOf(path));
    }

    std::string top_;
    std::string deepest_;
    std::vector<std::string> files_;
};

// Windows counts a path in UTF-16 characters: here every character of a name but the Cyrillic and CJK
// ones is ASCII, and those take one each.
std::size_t utf16Length(const std::string& path) {
    std::size_t length = 0;
    for (const char c : path)
        length += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return length;
}

// A book, its export and the settings deep down in folders named in Cyrillic and CJK, on a path longer
// than the 260 characters that Windows programs once stopped at: Save As, Open, Save, Export and the
// settings of the close query all reach it.
TEST(LongPaths, BookExportAndSettingsLieBeyond260Characters) {
    CommandFixture writer;
    std::string folder = writer.folder.path();
    for (const std::string name :
         {"\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B", // Документы
          "\xE6\x96\x87\xE6\x9B\xB8"}) {                                              // 文書
        for (int part = 0; part < 3; ++part)
            folder += pathSeparator + name + std::string(60, 'x') + std::to_string(part);
    }
    ASSERT_TRUE(SystemPlaces().makePrivateFolder(folder));
    const DeepFolders made(
        writer.folder.path(), folder,
        {"\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.ptn", "head.txt", "sites.txt", "prtln.cfg"});
    const std::string book =
        folder + pathSeparator + "\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.ptn"; // сайты.ptn
    ASSERT_GT(utf16Length(book), 300u);

    writer.addSite("Mirror");
    writer.ui.fileNames[FileDialog::SaveSite] = {book};
    saveasSiteFile(writer.session, writer.ui);
    EXPECT_TRUE(writer.ui.messages.empty());

    CommandFixture reader;
    openStartupFile(reader.session, reader.ui, book);
    EXPECT_EQ(reader.ui.title, "Portolan - \xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.ptn");
    EXPECT_EQ(reader.ui.items, std::vector<std::string>{"Mirror"});
    reader.addSite("Archive");
    reader.session.BookModified = true;
    saveSiteFile(reader.session, reader.ui);
    EXPECT_TRUE(reader.ui.messages.empty());
    EXPECT_EQ(programRead(book).size(), SiteFileSize);

    const std::string header = folder + pathSeparator + "head.txt";
    {
        ReplacingFile file(header);
        file.write("Head", 4);
        file.close();
        ASSERT_EQ(file.fetchError(), 0);
    }
    const std::string target = folder + pathSeparator + "sites.txt";
    reader.ui.fileNames[FileDialog::ExportTarget] = {target};
    ExportRequest request;
    request.headerText = header;
    request.columns = {"Description", "None", "None", "None", "None", "None"};
    exportSites(reader.session, reader.ui, request);
    EXPECT_EQ(programRead(target), "Head\r\nMirror  \r\nArchive \r\n");

    reader.places.folder = folder;
    FormCloseQuery(reader.session, reader.ui);
    EXPECT_EQ(programRead(settingsFilePath(folder)).size(), SettingsRecordSize);
    Settings values;
    EXPECT_TRUE(readSettings(reader.places, values));
    EXPECT_EQ(values.Width, reader.ui.bounds.Width);
    EXPECT_TRUE(reader.ui.messages.empty());
}

// A book and its export named by a relative path of over 300 characters, with "/", "." and ".." in
// it, resolved against the current folder: Save As, Open, Save and Export reach the files that the
// path names, and nothing is made elsewhere.
TEST(LongPaths, ARelativePathBeyond260CharactersNamesTheFilesItResolvesTo) {
    CommandFixture writer;
    const CurrentFolder here(writer.folder.path());
    std::string folder = "deep";
    for (int part = 0; part < 4; ++part)
        folder += pathSeparator + std::string(60, 'x') + std::to_string(part);
    ASSERT_TRUE(SystemPlaces().makePrivateFolder(folder));
    const std::string deepest = writer.folder.path() + pathSeparator + folder;
    const DeepFolders made(writer.folder.path(), deepest, {"book.ptn", "sites.txt"});
    // deep/xx..x0/./xx..x1/xx..x2/../xx..x2/xx..x3/book.ptn: the same folder, reached the long way.
    std::string roundabout = "deep";
    for (int part = 0; part < 4; ++part) {
        const std::string name = std::string(60, 'x') + std::to_string(part);
        roundabout += (part == 1 ? "/./" : "/") + name + (part == 2 ? "/../" + name : "");
    }
    const std::string book = roundabout + "/book.ptn";
    ASSERT_GT(book.size(), 300u);

    writer.addSite("Mirror");
    writer.ui.fileNames[FileDialog::SaveSite] = {book};
    saveasSiteFile(writer.session, writer.ui);
    EXPECT_TRUE(writer.ui.messages.empty());
    const std::string stored = deepest + pathSeparator + "book.ptn";
    EXPECT_EQ(programRead(stored).size(), SiteFileSize);

    CommandFixture reader;
    openStartupFile(reader.session, reader.ui, book);
    EXPECT_EQ(reader.ui.title, "Portolan - book.ptn");
    EXPECT_EQ(reader.ui.items, std::vector<std::string>{"Mirror"});
    reader.addSite("Archive");
    reader.session.BookModified = true;
    saveSiteFile(reader.session, reader.ui);
    EXPECT_TRUE(reader.ui.messages.empty());
    EXPECT_EQ(programRead(stored), programRead(book));
    EXPECT_EQ(programRead(stored).size(), SiteFileSize);

    reader.ui.fileNames[FileDialog::ExportTarget] = {roundabout + "/sites.txt"};
    ExportRequest request;
    request.columns = {"Description", "None", "None", "None", "None", "None"};
    exportSites(reader.session, reader.ui, request);
    EXPECT_EQ(programRead(deepest + pathSeparator + "sites.txt"), "Mirror  \r\nArchive \r\n");
    EXPECT_TRUE(reader.ui.messages.empty());
    EXPECT_EQ(writer.folder.entryCount(), 1u);
}

} // namespace
} // namespace portolan
