#include "FileSituations.h"
#include "support/TempFolder.h"

#include "runtime/Errors.h"
#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <dlfcn.h>
#include <sys/stat.h>

#include <vector>

namespace {

// What one fsync of the program flushed.
struct Flush {
    bool folder;
    ino_t inode;
    ino_t targetInode; // of the target file at that moment; 0 while there is none
};

std::vector<Flush>* flushes = nullptr;
const char* flushTarget = nullptr;
bool folderFlushFails = false;

} // namespace

// Every fsync of the test program passes through here on its way to the system, so that a test can see
// what was flushed and when.
extern "C" int fsync(int descriptor) {
    using Fsync = int (*)(int);
    static const auto systemFsync = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    if (flushes) {
        struct stat flushed {};
        struct stat target {};
        ::fstat(descriptor, &flushed);
        const bool targetThere = ::stat(flushTarget, &target) == 0;
        flushes->push_back({S_ISDIR(flushed.st_mode), flushed.st_ino, targetThere ? target.st_ino : 0});
        if (folderFlushFails && S_ISDIR(flushed.st_mode)) {
            errno = EIO;
            return -1;
        }
    }
    return systemFsync(descriptor);
}

namespace portolan {
namespace {

using testing::inodeOf;
using testing::TempFolder;

// What saving "new" to target flushed, and the error the save recorded; with folderFails, flushing a
// folder fails.
struct WatchedSave {
    std::vector<Flush> flushed;
    int error = 0;
};
WatchedSave saveWatchingFlushes(const std::string& target, bool folderFails) {
    WatchedSave save;
    ReplacingFile file(target);
    file.write("new", 3);
    flushes = &save.flushed;
    flushTarget = target.c_str();
    folderFlushFails = folderFails;
    file.close();
    folderFlushFails = false;
    flushes = nullptr;
    save.error = file.fetchError();
    return save;
}

// A power cut right after a save must find the new file under the target's name: the new file is
// flushed before the rename, and the folder, which holds the name, after it.
TEST(ReplacingFile, TheFileIsFlushedBeforeTheRenameAndTheFolderAfterIt) {
    for (const bool existed : {false, true}) {
        TempFolder folder;
        const std::string target = folder.file("book.ptn");
        if (existed)
            testing::writeBytes(target, "old");
        const auto [seen, error] = saveWatchingFlushes(target, false);
        EXPECT_EQ(error, 0);
        const ino_t written = inodeOf(target);
        ASSERT_EQ(seen.size(), 2u) << existed;
        EXPECT_FALSE(seen[0].folder);
        EXPECT_EQ(seen[0].inode, written);
        EXPECT_NE(seen[0].targetInode, written) << "flushed before the rename";
        EXPECT_TRUE(seen[1].folder);
        EXPECT_EQ(seen[1].inode, inodeOf(folder.path()));
        EXPECT_EQ(seen[1].targetInode, written) << "the folder is flushed after the rename";
    }
}

// The folder is flushed only after the rename: when that fails, the save may not outlast a power cut and
// is reported as failed, though the target already holds the new content.
TEST(ReplacingFile, AFailedFolderFlushIsRecordedWithTheNewContentInPlace) {
    TempFolder folder;
    const std::string target = folder.file("book.ptn");
    testing::writeBytes(target, "old");
    const auto [seen, error] = saveWatchingFlushes(target, true);
    EXPECT_EQ(error, ioCode::GeneralFailure);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[1].folder);
    EXPECT_EQ(testing::readBytes(target), "new");
    EXPECT_EQ(folder.entryCount(), 1u);
}

} // namespace
} // namespace portolan
