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

} // namespace

PlainFile::~PlainFile() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void PlainFile::openForReading(const std::string& path) {
    if (descriptor_ >= 0)
        close();
    int code = 0;
    descriptor_ = openRegularFile(path, O_RDONLY, code);
    if (descriptor_ < 0)
        recordError(code);
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

InPlaceFile::InPlaceFile(const std::string& path) {
    int code = 0;
    descriptor_ = openRegularFile(path, O_RDWR, code);
    if (descriptor_ < 0) {
        recordError(code);
        return;
    }
    char block[64 * 1024];
    for (;;) {
        int failure = 0;
        const std::size_t got = readFully(descriptor_, block, sizeof block, failure);
        original_.append(block, got);
        if (failure != 0) {
            ::close(descriptor_);
            descriptor_ = -1;
            recordError(ioCodeFromErrno(failure));
            return;
        }
        if (got < sizeof block)
            break;
    }
}

InPlaceFile::~InPlaceFile() {
    if (descriptor_ < 0)
        return;
    if (touched_)
        restore();
    ::close(descriptor_);
}

std::size_t InPlaceFile::read(void*, std::size_t) {
    recordError(descriptor_ < 0 ? ioCode::FileNotOpen : ioCode::NotOpenForInput);
    return 0;
}

void InPlaceFile::write(const void* data, std::size_t size) {
    if (descriptor_ < 0) {
        failed_ = true;
        recordError(ioCode::FileNotOpen);
        return;
    }
    pending_.append(static_cast<const char*>(data), size);
    if (pending_.size() >= pendingLimit)
        flushPending();
}

void InPlaceFile::flush() {
    if (descriptor_ >= 0)
        flushPending();
}

void InPlaceFile::flushPending() {
    if (!pending_.empty() && !failed_) {
        touched_ = true;
        if (writeFully(descriptor_, pending_.data(), pending_.size(), static_cast<off_t>(written_))) {
            written_ += pending_.size();
        } else {
            failed_ = true;
            recordError(lastErrorCode());
        }
    }
    pending_.clear();
}

void InPlaceFile::close() {
    if (descriptor_ < 0) {
        recordError(ioCode::FileNotOpen);
        return;
    }
    flushPending();
    if (!failed_ && written_ != original_.size()) {
        touched_ = true;
        if (::ftruncate(descriptor_, static_cast<off_t>(written_)) != 0) {
            failed_ = true;
            recordError(lastErrorCode());
        }
    }
    if (!failed_ && ::fsync(descriptor_) != 0) {
        failed_ = true;
        recordError(lastErrorCode());
    }
    if (failed_ && touched_)
        restore();
    if (::close(descriptor_) != 0 && !failed_)
        recordError(lastErrorCode());
    descriptor_ = -1;
}

// Puts the old bytes and length back; a failure here leaves the first one recorded.
void InPlaceFile::restore() {
    writeFully(descriptor_, original_.data(), original_.size(), 0);
    ::ftruncate(descriptor_, static_cast<off_t>(original_.size()));
    ::fsync(descriptor_);
}

ReplacingFile::ReplacingFile(const std::string& target) : target_(resolvedTarget(target)) {
    struct stat existing {};
    const bool replacing = ::stat(target_.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
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
    // A name of fixed length, so that a target name as long as the system allows has a temporary too.
    std::string pattern = folderOf(target_) + "/.portolan-XXXXXX";
    descriptor_ = ::mkostemp(pattern.data(), O_CLOEXEC); // created with mode 0600
    if (descriptor_ < 0) {
        // A folder shared read-only around a file the user may write: the file is rewritten in place.
        if (replacing && (errno == EACCES || errno == EPERM)) {
            inPlace_ = std::make_unique<InPlaceFile>(target_);
            takeErrorOfInPlace();
            return;
        }
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

void ReplacingFile::takeErrorOfInPlace() {
    if (const int code = inPlace_->fetchError(); code != 0) {
        failed_ = true;
        recordError(code);
    }
}

std::size_t ReplacingFile::read(void*, std::size_t) {
    recordError(descriptor_ < 0 && !inPlace_ ? ioCode::FileNotOpen : ioCode::NotOpenForInput);
    return 0;
}

void ReplacingFile::write(const void* data, std::size_t size) {
    if (inPlace_) {
        inPlace_->write(data, size);
        return takeErrorOfInPlace();
    }
    if (descriptor_ < 0) {
        failed_ = true;
        recordError(ioCode::FileNotOpen);
        return;
    }
    pending_.append(static_cast<const char*>(data), size);
    if (pending_.size() >= pendingLimit)
        flushPending();
}

void ReplacingFile::flush() {
    if (inPlace_) {
        inPlace_->flush();
        return takeErrorOfInPlace();
    }
    if (descriptor_ >= 0)
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
    if (inPlace_) {
        inPlace_->close();
        return takeErrorOfInPlace();
    }
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
    else
        syncFolder();
    temporary_.clear();
}

// The rename lasts only once the folder itself is on disk.
void ReplacingFile::syncFolder() {
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return; // a folder the user may write but not read cannot be flushed; the file is written
    // Some file systems flush no folders and say so with EINVAL; that is no failure of the save.
    if (::fsync(folder) != 0 && errno != EINVAL) {
        failed_ = true;
        recordError(lastErrorCode());
    }
    ::close(folder);
}

void ReplacingFile::abandon() {
    inPlace_.reset();
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
