// Every POSIX call of the program's file handling lives here.
#include "runtime/Files.h"

#include "runtime/Errors.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace portolan {

namespace {

constexpr std::size_t pendingLimit = 64 * 1024;

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

bool writeFully(int descriptor, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(descriptor, data, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
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

} // namespace

PlainFile::~PlainFile() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void PlainFile::openForReading(const std::string& path) {
    if (descriptor_ >= 0)
        close();
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        recordError(lastErrorCode());
        return;
    }
    // The system opens a folder for reading too; to the program it is no file that can be opened.
    struct stat status {};
    if (::fstat(descriptor_, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(descriptor_);
        descriptor_ = -1;
        recordError(ioCode::AccessDenied);
    }
}

std::size_t PlainFile::read(void* buffer, std::size_t size) {
    if (descriptor_ < 0) {
        recordError(ioCode::FileNotOpen);
        return 0;
    }
    int failure = 0;
    const std::size_t got = readFully(descriptor_, static_cast<char*>(buffer), size, failure);
    if (failure != 0)
        recordError(ioCodeFromErrno(failure));
    else if (got < size)
        recordError(ioCode::ReadBeyondEnd);
    return got;
}

void PlainFile::write(const void*, std::size_t) {
    recordError(descriptor_ < 0 ? ioCode::FileNotOpen : ioCode::NotOpenForOutput);
}

void PlainFile::close() {
    if (descriptor_ < 0) {
        recordError(ioCode::FileNotOpen);
        return;
    }
    if (::close(descriptor_) != 0)
        recordError(lastErrorCode());
    descriptor_ = -1;
}

ReplacingFile::ReplacingFile(const std::string& target) : target_(resolvedTarget(target)) {
    struct stat existing {};
    const bool replacing = ::stat(target_.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) {
        failed_ = true;
        recordError(ioCode::AccessDenied);
        return;
    }
    // Renaming over a file needs only a writable folder; a file the user may not write is refused here
    // as writing into it would be.
    if (replacing && ::access(target_.c_str(), W_OK) != 0) {
        failed_ = true;
        recordError(lastErrorCode());
        return;
    }
    const auto slash = target_.find_last_of('/');
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = folderOf(target_) + "/." + name + ".XXXXXX";
    descriptor_ = ::mkostemp(pattern.data(), O_CLOEXEC); // created with mode 0600
    if (descriptor_ < 0) {
        failed_ = true;
        recordError(lastErrorCode());
        return;
    }
    temporary_ = pattern;
    if (replacing)
        ::fchmod(descriptor_, existing.st_mode & 07777);
}

ReplacingFile::~ReplacingFile() {
    abandon();
}

std::size_t ReplacingFile::read(void*, std::size_t) {
    recordError(descriptor_ < 0 ? ioCode::FileNotOpen : ioCode::NotOpenForInput);
    return 0;
}

void ReplacingFile::write(const void* data, std::size_t size) {
    if (descriptor_ < 0) {
        failed_ = true;
        recordError(ioCode::FileNotOpen);
        return;
    }
    pending_.append(static_cast<const char*>(data), size);
    if (pending_.size() >= pendingLimit)
        flushPending();
}

void ReplacingFile::flushPending() {
    if (!pending_.empty() && !failed_ && !writeFully(descriptor_, pending_.data(), pending_.size())) {
        failed_ = true;
        recordError(lastErrorCode());
    }
    pending_.clear();
}

void ReplacingFile::close() {
    if (descriptor_ < 0) {
        recordError(ioCode::FileNotOpen);
        return;
    }
    flushPending();
    if (!failed_ && ::fsync(descriptor_) != 0) {
        failed_ = true;
        recordError(lastErrorCode());
    }
    if (::close(descriptor_) != 0 && !failed_) {
        failed_ = true;
        recordError(lastErrorCode());
    }
    descriptor_ = -1;
    if (!failed_ && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        failed_ = true;
        recordError(lastErrorCode());
    }
    if (failed_)
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

void ReplacingFile::abandon() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool canOpenForReading(const std::string& path) {
    PlainFile file;
    file.openForReading(path);
    return file.isOpen();
}

std::string executableFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    return folderOf(std::string(path, static_cast<std::size_t>(length)));
}

} // namespace portolan
