#include "FileSituations.h"
#include "FileSizeLimit.h"
#include "support/RecordingMessages.h"
#include "support/SiteFileSamples.h"
#include "support/TempFolder.h"

#include "book/SiteFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace portolan {
namespace {

using testing::bookOfSites;
using testing::exampleBook;
using testing::exampleFileBytes;
using testing::FileSizeLimit;
using testing::permissionBits;
using testing::randomBytes;
using testing::readBytes;
using testing::RecordingMessages;
using testing::TempFolder;
using testing::writeBytes;
using Call = RecordingMessages::Call;

TEST(SiteFile, AWriteFailingPartWayLeavesTheEarlierFileByteForByte) {
    TempFolder folder;
    const std::string path = folder.file("book.ptn");
    const std::string earlier = randomBytes(SiteFileSize, 9);
    writeBytes(path, earlier);
    RecordingMessages messages;
    {
        const FileSizeLimit limit(50000);
        EXPECT_FALSE(writeSiteFile(bookOfSites(200), path, messages));
    }
    EXPECT_EQ(messages.log,
              (std::vector<Call>{Call::sound(), Call::message("Could not write to file  BOOK.PTN",
                                                              MessageKind::Information, button::OK)}));
    EXPECT_EQ(readBytes(path), earlier);
    EXPECT_EQ(folder.entryCount(), 1u) << "no temporary file is left";
}

// A book that the user may write, in a folder the user may not write, is rewritten in place; a write
// failing part-way puts the earlier bytes back.
TEST(SiteFile, InAReadOnlyFolderAWritableBookIsSavedInPlaceOrLeftByteForByte) {
    for (const rlim_t room : {RLIM_INFINITY, rlim_t{50000}}) {
        TempFolder folder;
        const std::string path = folder.file("team.ptn");
        const std::string earlier = randomBytes(SiteFileSize, 11);
        writeBytes(path, earlier);
        ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
        const testing::ReadOnlyFolder readOnly(folder.path());
        if (readOnly.ignored())
            GTEST_SKIP() << "this user writes into any folder; tests/tools/run-as-nobody runs this test";
        RecordingMessages messages;
        {
            const FileSizeLimit limit(room);
            writeSiteFile(exampleBook(), path, messages);
        }
        if (room == RLIM_INFINITY) {
            EXPECT_TRUE(messages.log.empty());
            EXPECT_EQ(readBytes(path), exampleFileBytes());
        } else {
            EXPECT_EQ(messages.log, (std::vector<Call>{Call::sound(),
                                                       Call::message("Could not write to file  TEAM.PTN",
                                                                     MessageKind::Information, button::OK)}));
            EXPECT_EQ(readBytes(path), earlier);
        }
        EXPECT_EQ(folder.entryCount(), 1u);
    }
}

TEST(SiteFile, ANewFileIsForItsOwnerAloneAndAReplacedOneKeepsItsMode) {
    TempFolder folder;
    RecordingMessages messages;
    writeSiteFile(exampleBook(), folder.file("new.ptn"), messages);
    EXPECT_EQ(permissionBits(folder.file("new.ptn")), 0600u);

    writeBytes(folder.file("shared.ptn"), "old");
    ASSERT_EQ(::chmod(folder.file("shared.ptn").c_str(), 0640), 0);
    writeSiteFile(exampleBook(), folder.file("shared.ptn"), messages);
    EXPECT_EQ(permissionBits(folder.file("shared.ptn")), 0640u);
    EXPECT_EQ(readBytes(folder.file("shared.ptn")), exampleFileBytes());
    EXPECT_TRUE(messages.log.empty());
}

// Root may write any file, so the write-protected case runs as an ordinary user in a child process.
// Saves the example book to path and returns the child's exit code: 0 when exactly the failure was
// reported.
int saveAsOrdinaryUser(const std::string& path) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 2;
    RecordingMessages messages;
    writeSiteFile(exampleBook(), path, messages);
    const std::vector<Call> expected{Call::sound(), Call::message("Could not write to file  LOCKED.PTN",
                                                                  MessageKind::Information, button::OK)};
    return messages.log == expected ? 0 : 1;
}

TEST(SiteFileDeathTest, AWriteProtectedFileIsNotReplaced) {
    TempFolder folder;
    const std::string path = folder.file("locked.ptn");
    const std::string earlier = randomBytes(SiteFileSize, 10);
    writeBytes(path, earlier);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0); // the folder itself stays writable
    EXPECT_EXIT(std::_Exit(saveAsOrdinaryUser(path)), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(readBytes(path), earlier);
    EXPECT_EQ(folder.entryCount(), 1u);
}

} // namespace
} // namespace portolan
