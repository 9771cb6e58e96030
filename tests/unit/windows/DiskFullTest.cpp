#include "SecondName.h"
#include "WindowsSituations.h"
#include "support/CommandFixture.h"
#include "support/RecordingMessages.h"
#include "support/SettingsSamples.h"
#include "support/SiteFileSamples.h"

#include "book/SettingsFile.h"
#include "book/SiteFile.h"
#include "commands/ExportText.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace portolan {
namespace {

using testing::readBytes;
using testing::RecordingMessages;
using testing::systemPathOf;
using testing::writeBytes;
using Call = RecordingMessages::Call;

// A full disk: a small file system of its own, whose folder the test command names in
// PORTOLAN_TEST_FULL_DISK, filled up by each test after it has put its earlier files there.
class DiskFull : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string disk = SystemPlaces().environmentValue("PORTOLAN_TEST_FULL_DISK");
        if (disk.empty())
            GTEST_SKIP()
                << "no small disk: the test command mounts one for these tests, where it runs as root";
        folder = disk + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(testing::makeFolder(folder));
    }
    void TearDown() override {
        if (!folder.empty())
            std::filesystem::remove_all(systemPathOf(folder));
    }

    // Writes a file until the disk takes no more.
    void fill() {
        const HANDLE filler = ::CreateFileW(testing::widePathOf(folder + "\\filler").c_str(), GENERIC_WRITE,
                                            0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(filler, INVALID_HANDLE_VALUE);
        const std::string block(4096, 'f');
        DWORD written = 0;
        while (::WriteFile(filler, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
               written == block.size())
            ;
        const DWORD failure = ::GetLastError();
        ::CloseHandle(filler);
        ASSERT_TRUE(failure == ERROR_DISK_FULL || failure == ERROR_HANDLE_DISK_FULL) << failure;
    }

    std::size_t entryCount() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(systemPathOf(folder)),
                          std::filesystem::directory_iterator()));
    }

    std::string folder;
};

TEST_F(DiskFull, ASaveKeepsTheEarlierBookByteForByteAndLeavesNoTemporaryFile) {
    const std::string path = folder + "\\book.ptn";
    const std::string earlier = testing::randomBytes(SiteFileSize, 13);
    writeBytes(path, earlier);
    fill();
    RecordingMessages messages;
    EXPECT_FALSE(writeSiteFile(testing::bookOfSites(200), path, messages));
    EXPECT_EQ(messages.log,
              (std::vector<Call>{Call::sound(), Call::message("Could not write to file  BOOK.PTN",
                                                              MessageKind::Information, button::OK)}));
    ReplacingFile file(path);
    const std::string block(100000, 'n');
    file.write(block.data(), block.size());
    file.close();
    EXPECT_EQ(file.fetchError(), ioCode::DiskFull);
    EXPECT_EQ(readBytes(path), earlier);
    EXPECT_EQ(entryCount(), 2u) << "the book and the filler, and no temporary file";
}

TEST_F(DiskFull, AnExportFailsWithDiskFullAndKeepsTheEarlierFile) {
    testing::CommandFixture f;
    for (int slot = 0; slot < 200; ++slot)
        f.addSite("Site number " + std::to_string(slot));
    const std::string target = folder + "\\sites.txt";
    writeBytes(target, "old export");
    fill();
    f.ui.fileNames[FileDialog::ExportTarget] = {target};
    f.ui.answers = {AnswerYes};
    ExportRequest request;
    request.columns = {"Description", "Address", "Port", "User Name", "Password", "Login Directory"};
    int code = 0;
    try {
        exportSites(f.session, f.ui, request);
    } catch (const InOutError& error) {
        code = error.code();
    }
    EXPECT_EQ(code, ioCode::DiskFull);
    EXPECT_EQ(readBytes(target), "old export");
    EXPECT_EQ(entryCount(), 2u);
}

TEST_F(DiskFull, TheSettingsFileStaysAsItWas) {
    writeBytes(settingsFilePath(folder), testing::exampleRecordBytes());
    fill();
    EXPECT_NO_THROW(writeSettingsFile(folder, testing::startValues()));
    EXPECT_EQ(readBytes(settingsFilePath(folder)), testing::exampleRecordBytes());
    EXPECT_EQ(entryCount(), 2u);
}

// A file with a second name is rewritten in place; growing it fails, and its old bytes are put back.
TEST_F(DiskFull, ARewriteInPlacePutsTheOldBytesBack) {
    const std::string path = folder + "\\book.ptn";
    writeBytes(path, "old content");
    const std::string second = testing::withSecondName(path);
    fill();
    ReplacingFile file(path);
    const std::string block(300000, 'n');
    file.write(block.data(), block.size());
    file.close();
    EXPECT_EQ(file.fetchError(), ioCode::DiskFull);
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(readBytes(second), "old content");
}

} // namespace
} // namespace portolan
