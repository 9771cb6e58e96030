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

// One way of giving a file new content: the bytes arrive in blocks, in order, and commit() makes them
// the file's content. Each returns 0 or the code of its first failure. A way destroyed without a
// successful commit leaves the earlier content as it was.
class Rewrite {
public:
    virtual ~Rewrite() = default;
    virtual int writeBlock(const char* data, std::size_t size) = 0;
    virtual int commit() = 0;
};

namespace {

// Writes over the file itself, keeping its old bytes to put back.
class InPlaceRewrite final : public Rewrite {
public:
    // The file opened and its old bytes read, or nullptr with the code of the failure.
    static std::unique_ptr<InPlaceRewrite> open(const std::string& path, int& failure) {
        const int descriptor = openRegularFile(path, O_RDWR, failure);
        if (descriptor < 0)
            return nullptr;
        auto rewrite = std::unique_ptr<InPlaceRewrite>(new InPlaceRewrite(descriptor));
        char block[64 * 1024];
        for (;;) {
            int readFailure = 0;
            const std::size_t got = readFully(descriptor, block, sizeof block, readFailure);
            rewrite->original_.append(block, got);
            if (readFailure != 0) {
                failure = ioCodeFromErrno(readFailure);
                return nullptr;
            }
            if (got < sizeof block)
                return rewrite;
        }
    }

    ~InPlaceRewrite() override {
        if (descriptor_ < 0)
            return;
        if (touched_)
            restore();
        ::close(descriptor_);
    }

    int writeBlock(const char* data, std::size_t size) override {
        touched_ = true;
        if (!writeFully(descriptor_, data, size, static_cast<off_t>(written_)))
            return lastErrorCode();
        written_ += size;
        return 0;
    }

    // On a failure the descriptor stays open, so that the destructor puts the old bytes back.
    int commit() override {
        if (written_ != original_.size()) {
            touched_ = true;
            if (::ftruncate(descriptor_, static_cast<off_t>(written_)) != 0)
                return lastErrorCode();
        }
        if (::fsync(descriptor_) != 0)
            return lastErrorCode();
        const int closed = ::close(descriptor_);
        descriptor_ = -1;
        return closed == 0 ? 0 : lastErrorCode();
    }

private:
    explicit InPlaceRewrite(int descriptor) : descriptor_(descriptor) {}

    // Puts the old bytes and length back; a failure here leaves the first one recorded.
    void restore() {
        writeFully(descriptor_, original_.data(), original_.size(), 0);
        ::ftruncate(descriptor_, static_cast<off_t>(original_.size()));
        ::fsync(descriptor_);
    }

    int descriptor_;
    std::string original_; // the file's bytes before the rewrite
    std::size_t written_ = 0;
    bool touched_ = false; // the file's bytes may differ from original_
};

// Writes a temporary file beside the target and renames it over the target at the commit.
class TemporaryFileRewrite final : public Rewrite {
public:
    // A new, empty temporary file readable and writable by its owner alone, or nullptr with errno set.
    static std::unique_ptr<TemporaryFileRewrite> create(const std::string& target) {
        // A name of fixed length, so that a target name as long as the system allows has a temporary too.
        std::string pattern = folderOf(target) + "/.portolan-XXXXXX";
        const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC); // created with mode 0600
        if (descriptor < 0)
            return nullptr;
        return std::unique_ptr<TemporaryFileRewrite>(new TemporaryFileRewrite(target, pattern, descriptor));
    }

    ~TemporaryFileRewrite() override {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        if (!temporary_.empty())
            ::unlink(temporary_.c_str());
    }

    // Gives the temporary file the group and permission bits of the file it is to replace; false when
    // the group cannot be given. Its owner is this user, as the replaced file's must be.
    bool takeIdentityOf(const struct stat& replaced) {
        struct stat own {};
        if (::fstat(descriptor_, &own) != 0)
            return false;
        // Changing the group clears the set-ID bits, so the permission bits are copied after it.
        if (own.st_gid != replaced.st_gid &&
            ::fchown(descriptor_, static_cast<uid_t>(-1), replaced.st_gid) != 0)
            return false;
        return ::fchmod(descriptor_, replaced.st_mode & 07777) == 0;
    }

    int writeBlock(const char* data, std::size_t size) override {
        return writeFully(descriptor_, data, size) ? 0 : lastErrorCode();
    }

    int commit() override {
        int failure = ::fsync(descriptor_) == 0 ? 0 : lastErrorCode();
        if (::close(descriptor_) != 0 && failure == 0)
            failure = lastErrorCode();
        descriptor_ = -1;
        if (failure != 0)
            return failure;
        if (::rename(temporary_.c_str(), target_.c_str()) != 0)
            return lastErrorCode();
        temporary_.clear();
        return syncFolder();
    }

private:
    TemporaryFileRewrite(std::string target, std::string temporary, int descriptor)
        : target_(std::move(target)), temporary_(std::move(temporary)), descriptor_(descriptor) {}

    // The rename lasts only once the folder itself is on disk.
    int syncFolder() const {
        const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0)
            return 0; // a folder the user may write but not read cannot be flushed; the file is written
        // Some file systems flush no folders and say so with EINVAL; that is no failure of the save.
        const int failure = ::fsync(folder) == 0 || errno == EINVAL ? 0 : lastErrorCode();
        ::close(folder);
        return failure;
    }

    std::string target_;
    std::string temporary_; // empty once renamed
    int descriptor_;
};

} // namespace

WritingFile::WritingFile(Opened opened) : way_(std::move(opened.way)) {
    if (!way_)
        recordError(opened.failure);
}

WritingFile::~WritingFile() = default;

std::size_t WritingFile::read(void*, std::size_t) {
    recordError(way_ ? ioCode::NotOpenForInput : ioCode::FileNotOpen);
    return 0;
}

void WritingFile::write(const void* data, std::size_t size) {
    if (!way_) {
        recordError(ioCode::FileNotOpen);
        return;
    }
    pending_.append(static_cast<const char*>(data), size);
    if (pending_.size() >= pendingLimit)
        flushPending();
}

void WritingFile::flush() {
    if (way_)
        flushPending();
}

void WritingFile::flushPending() {
    if (!pending_.empty() && !failed_) {
        if (const int failure = way_->writeBlock(pending_.data(), pending_.size()); failure != 0) {
            failed_ = true;
            recordError(failure);
        }
    }
    pending_.clear();
}

void WritingFile::close() {
    if (!way_) {
        recordError(ioCode::FileNotOpen);
        return;
    }
    flushPending();
    if (!failed_) {
        if (const int failure = way_->commit(); failure != 0) {
            failed_ = true;
            recordError(failure);
        }
    }
    way_.reset(); // after a failure this leaves the earlier content
}

namespace {

WritingFile::Opened rewriteInPlace(const std::string& path) {
    int failure = 0;
    auto way = InPlaceRewrite::open(path, failure);
    return {std::move(way), failure};
}

// The one place that decides how a target is written. Replacing a file by another one is safest, but
// the new file is this user's, in this user's group, and under one name: it takes the place of an
// existing file only where it can be all that file was. Every other file that this user may write is
// rewritten in place, and so is one in a folder that takes no new file.
WritingFile::Opened chooseRewrite(const std::string& path) {
    const std::string target = resolvedTarget(path);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) {
        auto temporary = TemporaryFileRewrite::create(target);
        const int failure = temporary ? 0 : lastErrorCode();
        return {std::move(temporary), failure};
    }
    if (!S_ISREG(existing.st_mode))
        return {nullptr, ioCode::AccessDenied};
    // Renaming over a file needs only a writable folder; a file that this user may not write is refused
    // here as writing into it would be.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return {nullptr, lastErrorCode()};
    if (existing.st_uid == ::geteuid() && existing.st_nlink == 1) {
        auto temporary = TemporaryFileRewrite::create(target);
        if (!temporary && errno != EACCES && errno != EPERM)
            return {nullptr, lastErrorCode()};
        if (temporary && temporary->takeIdentityOf(existing))
            return {std::move(temporary), 0};
    }
    return rewriteInPlace(target);
}

} // namespace

ReplacingFile::ReplacingFile(const std::string& target) : WritingFile(chooseRewrite(target)) {}

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
