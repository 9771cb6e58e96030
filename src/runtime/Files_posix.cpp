// Every POSIX call of the program's file handling lives here.
#include "runtime/Errors.h"
#include "runtime/SystemFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace portolan {

const char pathSeparator = '/';
const std::string_view fileNameSeparators = "/";

namespace {

int lastErrorCode() {
    return ioCodeFromErrno(errno);
}

// Reads until size bytes have arrived, the file ends or a read fails; returns the count and the errno
// of a failed read (0 when none failed).
std::size_t readFully(int descriptor, char* buffer, std::size_t size, int& failure) {
    std::size_t done = 0;
    failure = 0;
    while (done < size) {
        const ssize_t got = ::read(descriptor, buffer + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failure = errno;
            break;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// Writes size bytes at offset, or where the file stands when offset is negative; false with errno set
// when a write fails.
bool writeFully(int descriptor, const char* data, std::size_t size, off_t offset = -1) {
    while (size > 0) {
        const ssize_t put =
            offset < 0 ? ::write(descriptor, data, size) : ::pwrite(descriptor, data, size, offset);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
        if (offset >= 0)
            offset += put;
    }
    return true;
}

// Opens path with flags if it is a regular file; the descriptor, or -1 with the code to record. Another
// kind of file is refused before it is opened, as opening a device can act on it, and again once open,
// in case the name changed in between; the open itself waits for no FIFO's other end and makes no
// terminal the program's own.
int openRegularFile(const std::string& path, int flags, int& code) {
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
        code = ioCode::AccessDenied;
        return -1;
    }
    const int descriptor = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        code = lastErrorCode();
        return -1;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        code = ioCode::AccessDenied;
        return -1;
    }
    // Reads and writes of a regular file wait as usual.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return descriptor;
}

// The file a write to path really replaces: the end of a chain of symbolic links, or path itself.
std::string resolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Gives the temporary file the group and permission bits of the file it is to replace; false when the
// group cannot be given. Its owner is this user, as the replaced file's must be.
bool takeIdentityOf(int descriptor, const struct stat& replaced) {
    struct stat own {};
    if (::fstat(descriptor, &own) != 0)
        return false;
    // Changing the group clears the set-ID bits, so the permission bits are copied after it.
    if (own.st_gid != replaced.st_gid && ::fchown(descriptor, static_cast<uid_t>(-1), replaced.st_gid) != 0)
        return false;
    return ::fchmod(descriptor, replaced.st_mode & 07777) == 0;
}

} // namespace

namespace systemFile {

FileHandle openForReading(const std::string& path, int& code) {
    return openRegularFile(path, O_RDONLY, code);
}

FileHandle openForUpdate(const std::string& path, int& code) {
    return openRegularFile(path, O_RDWR, code);
}

FileHandle createTemporary(const std::string& target, std::string& temporary, int& code) {
    // A name of fixed length, so that a target name as long as the system allows has a temporary too.
    temporary = folderOf(target) + "/.portolan-XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC); // created with mode 0600
    if (descriptor < 0)
        code = lastErrorCode();
    return descriptor;
}

std::size_t read(FileHandle file, void* buffer, std::size_t size, int& code) {
    int failure = 0;
    const std::size_t got = readFully(static_cast<int>(file), static_cast<char*>(buffer), size, failure);
    code = failure != 0 ? ioCodeFromErrno(failure) : 0;
    return got;
}

int write(FileHandle file, const char* data, std::size_t size) {
    return writeFully(static_cast<int>(file), data, size) ? 0 : lastErrorCode();
}

int writeAt(FileHandle file, const char* data, std::size_t size, std::uint64_t offset) {
    return writeFully(static_cast<int>(file), data, size, static_cast<off_t>(offset)) ? 0 : lastErrorCode();
}

int truncate(FileHandle file, std::uint64_t length) {
    return ::ftruncate(static_cast<int>(file), static_cast<off_t>(length)) == 0 ? 0 : lastErrorCode();
}

int flushToDisk(FileHandle file) {
    return ::fsync(static_cast<int>(file)) == 0 ? 0 : lastErrorCode();
}

int close(FileHandle file) {
    return ::close(static_cast<int>(file)) == 0 ? 0 : lastErrorCode();
}

int rename(const std::string& temporary, const std::string& target) {
    return ::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : lastErrorCode();
}

int flushFolderOf(const std::string& target) {
    const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 0; // a folder the user may write but not read cannot be flushed; the file is written
    // Some file systems flush no folders and say so with EINVAL; that is no failure of the save.
    const int failure = ::fsync(folder) == 0 || errno == EINVAL ? 0 : lastErrorCode();
    ::close(folder);
    return failure;
}

void remove(const std::string& path) {
    ::unlink(path.c_str());
}

// The one place that decides how a target is written. Replacing a file by another one is safest, but
// the new file is this user's, in this user's group, and under one name: it takes the place of an
// existing file only where it can be all that file was. Every other file that this user may write is
// rewritten in place, and so is one in a folder that takes no new file.
WritingFile::Opened chooseRewrite(const std::string& path) {
    const std::string target = resolvedTarget(path);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        int failure = 0;
        auto temporary = TemporaryFileRewrite::create(target, failure);
        return {std::move(temporary), failure};
    }
    if (!S_ISREG(existing.st_mode))
        return {nullptr, ioCode::AccessDenied};
    // Renaming over a file needs only a writable folder; a file that this user may not write is refused
    // here as writing into it would be.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return {nullptr, lastErrorCode()};
    if (existing.st_uid == ::geteuid() && existing.st_nlink == 1) {
        int failure = 0;
        auto temporary = TemporaryFileRewrite::create(target, failure);
        if (!temporary && failure != ioCode::AccessDenied)
            return {nullptr, failure};
        if (temporary && takeIdentityOf(static_cast<int>(temporary->handle()), existing))
            return {std::move(temporary), 0};
    }
    int failure = 0;
    auto inPlace = InPlaceRewrite::open(target, failure);
    return {std::move(inPlace), failure};
}

} // namespace systemFile

std::string executableFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    return folderOf(std::string(path, static_cast<std::size_t>(length)));
}

} // namespace portolan
