#include "SecondName.h"
#include "SystemFacts.h"
#include "support/TempFolder.h"

#include "runtime/Errors.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace portolan {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::withSecondName;
using testing::writeBytes;

TEST(IoErrors, MessagesFollowTheCode) {
    const std::pair<int, const char*> cases[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {32, "I/O error 32"},
        {0, "I/O error 0"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(ioErrorText(code), text);
        EXPECT_STREQ(InOutError(code).what(), text);
        EXPECT_EQ(InOutError(code).code(), code);
    }
}

TEST(PlainFile, FailuresAreRecordedAndFetchingClearsThem) {
    TempFolder folder;
    writeBytes(folder.file("five"), "12345");
    PlainFile file;
    file.openForReading(folder.file("missing"));
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.fetchError(), ioCode::FileNotFound);
    EXPECT_EQ(file.fetchError(), 0);

    file.openForReading(folder.file("five"));
    ASSERT_TRUE(file.isOpen());
    char buffer[4];
    EXPECT_EQ(file.read(buffer, 4), 4u);
    EXPECT_EQ(file.fetchError(), 0);
    EXPECT_EQ(file.read(buffer, 4), 1u); // one byte left: recorded, and the next read still runs
    EXPECT_EQ(buffer[0], '5');
    EXPECT_EQ(file.read(buffer, 4), 0u);
    file.write("x", 1);
    EXPECT_EQ(file.fetchError(), ioCode::NotOpenForOutput); // the last failure replaced the others
    file.close();
    EXPECT_EQ(file.fetchError(), 0);
    file.close();
    EXPECT_EQ(file.fetchError(), ioCode::FileNotOpen);
}

TEST(ReplacingFile, ReplacesTheTargetOnlyWhenComplete) {
    TempFolder folder;
    const std::string target = folder.file("book.ptn");
    writeBytes(target, "old content");
    {
        ReplacingFile file(target);
        file.write("new ", 4);
        EXPECT_EQ(readBytes(target), "old content"); // nothing reaches the target before the close
        file.write("content", 7);
        file.close();
        EXPECT_EQ(file.fetchError(), 0);
    }
    EXPECT_EQ(readBytes(target), "new content");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(ReplacingFile, AnAbandonedFileLeavesTheEarlierFileAndNoTemporaryFile) {
    TempFolder folder;
    const std::string target = folder.file("book.ptn");
    writeBytes(target, "old content");
    {
        ReplacingFile file(target);
        file.write("half", 4);
    }
    EXPECT_EQ(readBytes(target), "old content");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(ReplacingFile, AMissingFolderRecordsAnErrorAndCreatesNothing) {
    TempFolder folder;
    ReplacingFile file(folder.file("no-such-folder/book.ptn"));
    EXPECT_EQ(file.fetchError(), testing::missingFolderCode);
    file.write("x", 1);
    file.close();
    EXPECT_EQ(file.fetchError(), ioCode::FileNotOpen);
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST(Files, PathsAreTheSystemsOwnBytes) {
    std::vector<std::string> cases = {
        "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B", // Документы
        "\xE6\x96\x87\xE6\x9B\xB8",                                                 // 文書
    };
    cases.insert(cases.end(), testing::systemOnlyFolderNames.begin(), testing::systemOnlyFolderNames.end());
    for (const std::string& folderName : cases) {
        TempFolder folder;
        const std::string inner = folder.file(folderName);
        ASSERT_TRUE(testing::makeFolder(inner));
        const std::string path = inner + "/\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82\xD1\x8B.ptn"; // сайты.ptn
        writeBytes(path, "old");
        EXPECT_TRUE(canOpenForReading(path)) << folderName;
        ReplacingFile file(path);
        file.write("new", 3);
        file.close();
        EXPECT_EQ(file.fetchError(), 0) << folderName;
        EXPECT_EQ(readBytes(path), "new") << folderName;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(testing::systemPathOf(inner)),
                                std::filesystem::directory_iterator()),
                  1)
            << folderName;
    }
}

// The longest name a Linux file system takes is 255 bytes (Windows' take 255 characters); the
// temporary file's name must not grow with it.
TEST(ReplacingFile, NamesAsLongAsTheSystemTakesAreWritten) {
    for (const std::size_t length : {247u, 248u, 250u, 255u}) {
        for (const bool existed : {false, true}) {
            TempFolder folder;
            const std::string path = folder.file(std::string(length - 4, 'n') + ".ptn");
            if (existed)
                writeBytes(path, "old");
            ReplacingFile file(path);
            file.write("new", 3);
            file.close();
            EXPECT_EQ(file.fetchError(), 0) << length;
            EXPECT_EQ(readBytes(path), "new") << length;
            EXPECT_EQ(folder.entryCount(), 1u) << length;
        }
    }
}

TEST(ReplacingFileInPlace, AnAbandonedRewritePutsTheOldBytesBack) {
    TempFolder folder;
    const std::string path = folder.file("book.ptn");
    writeBytes(path, "old content");
    withSecondName(path);
    {
        ReplacingFile file(path);
        const std::string block(100000, 'n');
        file.write(block.data(), block.size()); // beyond the gathering limit: it reaches the file
        file.flush();
        EXPECT_EQ(readBytes(path), block);
    }
    EXPECT_EQ(readBytes(path), "old content");
}

TEST(Files, CanOpenForReading) {
    TempFolder folder;
    writeBytes(folder.file("there"), "");
    EXPECT_TRUE(canOpenForReading(folder.file("there")));
    EXPECT_FALSE(canOpenForReading(folder.file("absent")));
    EXPECT_FALSE(canOpenForReading(""));
    EXPECT_FALSE(canOpenForReading(folder.path())) << "a folder is no file to read";
}

TEST(PlainFile, AFolderDoesNotOpenForReading) {
    TempFolder folder;
    PlainFile file;
    file.openForReading(folder.path());
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.fetchError(), ioCode::AccessDenied);
}

TEST(Files, ExecutableFolderHoldsTheTestProgram) {
    const std::string folder = executableFolder();
    EXPECT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), pathSeparator);
    EXPECT_TRUE(canOpenForReading(folder + pathSeparator + testing::testProgramFile));
}

} // namespace
} // namespace portolan
