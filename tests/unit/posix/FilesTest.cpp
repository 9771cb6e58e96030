#include "FileSituations.h"
#include "FileSizeLimit.h"
#include "SecondName.h"
#include "support/TempFolder.h"

#include "runtime/Errors.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <sys/stat.h>

namespace portolan {
namespace {

using testing::ActingAsNobody;
using testing::Deadline;
using testing::FileSizeLimit;
using testing::inodeOf;
using testing::makeFifo;
using testing::makeSocket;
using testing::permissionBits;
using testing::readBytes;
using testing::ReadOnlyFolder;
using testing::TempFolder;
using testing::withSecondName;
using testing::writeBytes;

TEST(IoErrors, ErrnoMapsOntoTheRecordedCodes) {
    const std::pair<int, int> cases[] = {
        {ENOENT, 2}, {ENOTDIR, 3}, {ENAMETOOLONG, 3}, {EMFILE, 4},
        {EACCES, 5}, {EPERM, 5},   {ENOSPC, 101},     {EDQUOT, 101},
    };
    for (const auto& [errnoValue, code] : cases)
        EXPECT_EQ(ioCodeFromErrno(errnoValue), code) << errnoValue;
}

TEST(ReplacingFile, AFullDiskLeavesTheEarlierFileAndNoTemporaryFile) {
    TempFolder folder;
    const std::string target = folder.file("book.ptn");
    writeBytes(target, "old content");
    {
        const FileSizeLimit limit(16);
        ReplacingFile file(target);
        const std::string block(100, 'x');
        file.write(block.data(), block.size());
        file.close();
        EXPECT_EQ(file.fetchError(), ioCode::DiskFull);
    }
    EXPECT_EQ(readBytes(target), "old content");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(ReplacingFile, NewFilesAreForTheOwnerAloneAndReplacedOnesKeepTheirMode) {
    TempFolder folder;
    const std::string fresh = folder.file("fresh.ptn");
    {
        ReplacingFile file(fresh);
        file.write("x", 1);
        file.close();
    }
    EXPECT_EQ(permissionBits(fresh), 0600u);

    const std::string shared = folder.file("shared.ptn");
    writeBytes(shared, "old");
    ::chmod(shared.c_str(), 0644);
    {
        ReplacingFile file(shared);
        file.write("new", 3);
        file.close();
    }
    EXPECT_EQ(permissionBits(shared), 0644u);
    EXPECT_EQ(readBytes(shared), "new");
}

TEST(ReplacingFile, ASymbolicLinkHasItsFileReplaced) {
    TempFolder folder;
    const std::string real = folder.file("real.ptn");
    const std::string link = folder.file("link.ptn");
    writeBytes(real, "old");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    {
        ReplacingFile file(link);
        file.write("new", 3);
        file.close();
        EXPECT_EQ(file.fetchError(), 0);
    }
    struct stat info {};
    ::lstat(link.c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readBytes(real), "new");
}

// A FIFO, a socket or a device opens without waiting, and is a file that cannot be opened: reading
// fails, and a replacement leaves it as it is.
TEST(Files, OnlyRegularFilesAreOpenedAndNoneOtherIsReplaced) {
    TempFolder folder;
    const std::string fifo = folder.file("fifo.ptn");
    const std::string socket = folder.file("socket.ptn");
    ASSERT_TRUE(makeFifo(fifo));
    ASSERT_TRUE(makeSocket(socket));
    const Deadline deadline(10);
    for (const std::string& path : {fifo, socket, std::string("/dev/zero")}) {
        PlainFile file;
        file.openForReading(path);
        EXPECT_FALSE(file.isOpen()) << path;
        EXPECT_EQ(file.fetchError(), ioCode::AccessDenied) << path;
        EXPECT_FALSE(canOpenForReading(path)) << path;
    }
    for (const std::string& path : {fifo, socket}) {
        ReplacingFile file(path);
        EXPECT_EQ(file.fetchError(), ioCode::AccessDenied) << path;
        file.write("new", 3);
        file.close();
        EXPECT_NE(file.fetchError(), 0) << path;
    }
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::lstat(socket.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST(ReplacingFileInPlace, RewritesTheFileItselfWithItsInodeModeAndNewLength) {
    const std::pair<std::string, std::string> cases[] = {
        {"old content", "new"},         {"old", "much longer new content"}, {"same", "SAME"}, {"old", ""},
        {"", std::string(200000, 'n')},
    };
    for (const auto& [before, after] : cases) {
        TempFolder folder;
        const std::string path = folder.file("book.ptn");
        writeBytes(path, before);
        ::chmod(path.c_str(), 0640);
        const std::string second = withSecondName(path);
        const ino_t inode = inodeOf(path);
        ReplacingFile file(path);
        file.write(after.data(), after.size());
        file.close();
        EXPECT_EQ(file.fetchError(), 0) << before;
        EXPECT_EQ(readBytes(path), after) << before;
        EXPECT_EQ(readBytes(second), after) << before;
        EXPECT_EQ(inodeOf(path), inode) << before;
        EXPECT_EQ(permissionBits(path), 0640u) << before;
        EXPECT_EQ(folder.entryCount(), 2u) << before;
    }
}

// The file can grow to limit bytes: every write beyond fails as on a full disk.
TEST(ReplacingFileInPlace, AWriteThatFailsAfterNBytesPutsTheOldBytesBack) {
    const std::string old(1000, 'o');
    for (const rlim_t limit : {1000u, 1001u, 70000u, 199999u}) {
        TempFolder folder;
        const std::string path = folder.file("book.ptn");
        writeBytes(path, old);
        const std::string second = withSecondName(path);
        {
            const FileSizeLimit full(limit);
            ReplacingFile file(path);
            const std::string block(100000, 'n');
            file.write(block.data(), block.size());
            file.write(block.data(), block.size());
            file.close();
            EXPECT_EQ(file.fetchError(), ioCode::DiskFull) << limit;
        }
        EXPECT_EQ(readBytes(path), old) << limit;
        EXPECT_EQ(readBytes(second), old) << limit;
    }
}

// A folder shared read-only, around files that the user may or may not write.
TEST(ReplacingFile, InAReadOnlyFolderAWritableFileIsRewrittenInPlaceOrLeftWhole) {
    struct Case {
        const char* what;
        mode_t mode;  // of the existing file; 0: there is none
        rlim_t limit; // the disk's room
        int code;
        const char* content; // afterwards; nullptr: no file
    };
    const Case cases[] = {
        {"writable file", 0644, RLIM_INFINITY, 0, "new content"},
        {"write-protected file", 0444, RLIM_INFINITY, ioCode::AccessDenied, "old content"},
        {"no file yet", 0, RLIM_INFINITY, ioCode::AccessDenied, nullptr},
        {"disk full after 20 bytes", 0644, 20, ioCode::DiskFull, "old content"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.file("team.ptn");
        if (c.mode != 0) {
            writeBytes(path, "old content");
            ::chmod(path.c_str(), c.mode);
        }
        const ino_t inode = inodeOf(path);
        const ReadOnlyFolder readOnly(folder.path());
        if (readOnly.ignored())
            GTEST_SKIP() << "this user writes into any folder; tests/tools/run-as-nobody runs this test";
        {
            const FileSizeLimit room(c.limit);
            ReplacingFile file(path);
            int code = file.fetchError(); // a refusal comes at once
            if (code == 0) {
                const std::string content =
                    c.limit == RLIM_INFINITY ? "new content" : std::string(100000, 'n');
                file.write(content.data(), content.size());
                file.close();
                code = file.fetchError();
            }
            EXPECT_EQ(code, c.code) << c.what;
        }
        if (c.content) {
            EXPECT_EQ(readBytes(path), c.content) << c.what;
        }
        EXPECT_EQ(inodeOf(path), inode) << c.what;
        EXPECT_EQ(folder.entryCount(), c.content ? 1u : 0u) << c.what;
    }
}

// A file shared in a team is saved by a user who is not its owner, or whose group is not the user's
// own. A new file would belong to the user who saves and to that user's group, so the file is replaced
// by a new one only where that one can carry its owner, group and mode, and is otherwise rewritten in
// place. Root makes the files as they stand in a team's folder, then saves them as the user "nobody",
// who is also a member of the team's group "staff".
TEST(ReplacingFile, ASavedFileKeepsItsOwnerGroupAndMode) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root makes files of other users and then acts as another user";
    const group* staff = ::getgrnam("staff");
    ASSERT_NE(staff, nullptr);
    const ActingAsNobody::Ids nobody = ActingAsNobody::ids();
    ASSERT_NE(nobody.user, 0u);
    enum Owner { Nobody, Root };
    enum Group { NobodysOwn, Team, NotNobodys };
    struct Case {
        const char* what;
        mode_t folderMode;
        Owner owner;
        Group group;
        mode_t mode;
        bool keepsInode; // else a new file took its place
        int code;
    };
    // clang-format off
    const Case cases[] = {
        {"own file",                         0777,  Nobody, NobodysOwn, 0640, false, 0},
        {"own file in a sticky folder",      01777, Nobody, NobodysOwn, 0600, false, 0},
        {"own file of the team's group",     0777,  Nobody, Team,       0664, false, 0},
        {"own file of a group nobody lacks", 0777,  Nobody, NotNobodys, 0666, true,  0},
        {"root's file in a sticky folder",   01777, Root,   NotNobodys, 0666, true,  0},
        {"root's file of the team's group",  0777,  Root,   Team,       0664, true,  0},
        {"own write-protected file",         0777,  Nobody, NobodysOwn, 0444, true,  ioCode::AccessDenied},
    };
    // clang-format on
    for (const Case& c : cases) {
        TempFolder folder;
        ::chmod(folder.path().c_str(), c.folderMode);
        const std::string path = folder.file("team.ptn");
        writeBytes(path, "old content");
        const uid_t owner = c.owner == Nobody ? nobody.user : 0;
        const gid_t group = c.group == NobodysOwn ? nobody.group : c.group == Team ? staff->gr_gid : 0;
        ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
        ::chmod(path.c_str(), c.mode);
        const ino_t inode = inodeOf(path);
        {
            const ActingAsNobody actor({staff->gr_gid});
            ASSERT_TRUE(actor.active());
            ASSERT_EQ(::faccessat(AT_FDCWD, folder.path().c_str(), W_OK | X_OK, AT_EACCESS), 0)
                << "nobody cannot reach " << folder.path();
            ReplacingFile file(path);
            int code = file.fetchError();
            if (code == 0) {
                file.write("new content", 11);
                file.close();
                code = file.fetchError();
            }
            EXPECT_EQ(code, c.code) << c.what;
        }
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0) << c.what;
        EXPECT_EQ(readBytes(path), c.code == 0 ? "new content" : "old content") << c.what;
        EXPECT_EQ(after.st_uid, owner) << c.what;
        EXPECT_EQ(after.st_gid, group) << c.what;
        EXPECT_EQ(after.st_mode & 07777, c.mode) << c.what;
        EXPECT_EQ(after.st_ino == inode, c.keepsInode) << c.what;
        EXPECT_EQ(folder.entryCount(), 1u) << c.what;
    }
}

} // namespace
} // namespace portolan
