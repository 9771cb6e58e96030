#include "FileSituations.h"
#include "FileSizeLimit.h"
#include "support/SettingsSamples.h"
#include "support/TempFolder.h"

#include "book/SettingsFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace portolan {
namespace {

using testing::exampleRecordBytes;
using testing::exampleSettings;
using testing::FileSizeLimit;
using testing::readBytes;
using testing::startValues;
using testing::TempFolder;
using testing::writeBytes;

TEST(SettingsFormat, TheFileLivesInTheGivenFolder) {
    EXPECT_EQ(settingsFilePath("/opt/portolan"), "/opt/portolan/prtln.cfg");
}

TEST(SettingsFile, ANewFileIsForItsOwnerAlone) {
    TempFolder folder;
    writeSettingsFile(folder.path(), exampleSettings());
    struct stat info {};
    ASSERT_EQ(::stat(folder.file("prtln.cfg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST(SettingsFile, AFailedWriteLeavesTheEarlierFileAndReportsNothing) {
    TempFolder folder;
    const std::string earlier = exampleRecordBytes();
    writeBytes(folder.file("prtln.cfg"), earlier);
    {
        const FileSizeLimit limit(100);
        EXPECT_NO_THROW(writeSettingsFile(folder.path(), startValues()));
    }
    EXPECT_EQ(readBytes(folder.file("prtln.cfg")), earlier);
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file is left";

    EXPECT_NO_THROW(writeSettingsFile(folder.file("no-such-folder"), startValues()));
    EXPECT_EQ(folder.entryCount(), 1u);
}

// A copy of the program in a folder the user may not write, beside a settings file the user may write.
TEST(SettingsFile, InAReadOnlyFolderAWritableFileIsRewrittenInPlace) {
    TempFolder folder;
    writeBytes(folder.file("prtln.cfg"), std::string(200, '\x01'));
    ASSERT_EQ(::chmod(folder.file("prtln.cfg").c_str(), 0666), 0);
    const testing::ReadOnlyFolder readOnly(folder.path());
    if (readOnly.ignored())
        GTEST_SKIP() << "this user writes into any folder; tests/tools/run-as-nobody runs this test";
    writeSettingsFile(folder.path(), exampleSettings());
    EXPECT_EQ(readBytes(folder.file("prtln.cfg")), exampleRecordBytes());
    EXPECT_EQ(folder.entryCount(), 1u);
}

// A FIFO named prtln.cfg is no file that the program waits on or replaces.
TEST(SettingsFile, AFifoIsNeitherWaitedOnNorReplaced) {
    TempFolder folder;
    ASSERT_TRUE(testing::makeFifo(folder.file("prtln.cfg")));
    const testing::Deadline deadline(10);
    Settings values = startValues();
    EXPECT_FALSE(readSettingsFile(folder.path(), values));
    EXPECT_EQ(values, startValues());
    writeSettingsFile(folder.path(), exampleSettings());
    struct stat info {};
    ASSERT_EQ(::lstat(folder.file("prtln.cfg").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(folder.entryCount(), 1u);
}

} // namespace
} // namespace portolan
