// The rules of the program's files that are the same on every system; the system calls behind them
// are in SystemFile.h.
#include "runtime/Files.h"

#include "runtime/Errors.h"
#include "runtime/SystemFile.h"

namespace portolan {

namespace {

constexpr std::size_t pendingLimit = 64 * 1024;
constexpr std::size_t readBlockSize = 64 * 1024;

} // namespace

PlainFile::~PlainFile() {
    if (handle_ != noFileHandle)
        systemFile::close(handle_);
}

void PlainFile::openForReading(const std::string& path) {
    if (handle_ != noFileHandle)
        close();
    int code = 0;
    handle_ = systemFile::openForReading(path, code);
    if (handle_ == noFileHandle)
        recordError(code);
}

std::size_t PlainFile::read(void* buffer, std::size_t size) {
    if (handle_ == noFileHandle) {
        recordError(ioCode::FileNotOpen);
        return 0;
    }
    int failure = 0;
    const std::size_t got = systemFile::read(handle_, buffer, size, failure);
    if (failure != 0)
        recordError(failure);
    else if (got < size)
        recordError(ioCode::ReadBeyondEnd);
    return got;
}

void PlainFile::write(const void*, std::size_t) {
    recordError(handle_ == noFileHandle ? ioCode::FileNotOpen : ioCode::NotOpenForOutput);
}

void PlainFile::close() {
    if (handle_ == noFileHandle) {
        recordError(ioCode::FileNotOpen);
        return;
    }
    if (const int failure = systemFile::close(handle_); failure != 0)
        recordError(failure);
    handle_ = noFileHandle;
}

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

std::unique_ptr<InPlaceRewrite> InPlaceRewrite::open(const std::string& path, int& failure) {
    const FileHandle file = systemFile::openForUpdate(path, failure);
    if (file == noFileHandle)
        return nullptr;
    auto rewrite = std::unique_ptr<InPlaceRewrite>(new InPlaceRewrite(file));
    std::string block(readBlockSize, '\0');
    for (;;) {
        const std::size_t got = systemFile::read(file, block.data(), block.size(), failure);
        rewrite->original_.append(block, 0, got);
        if (failure != 0)
            return nullptr;
        if (got < block.size())
            return rewrite;
    }
}

InPlaceRewrite::~InPlaceRewrite() {
    if (file_ == noFileHandle)
        return;
    if (touched_)
        restore();
    systemFile::close(file_);
}

int InPlaceRewrite::writeBlock(const char* data, std::size_t size) {
    touched_ = true;
    if (const int failure = systemFile::writeAt(file_, data, size, written_); failure != 0)
        return failure;
    written_ += size;
    return 0;
}

int InPlaceRewrite::commit() {
    if (written_ != original_.size()) {
        touched_ = true;
        if (const int failure = systemFile::truncate(file_, written_); failure != 0)
            return failure;
    }
    if (const int failure = systemFile::flushToDisk(file_); failure != 0)
        return failure;
    const int failure = systemFile::close(file_);
    file_ = noFileHandle;
    return failure;
}

void InPlaceRewrite::restore() {
    systemFile::writeAt(file_, original_.data(), original_.size(), 0);
    systemFile::truncate(file_, original_.size());
    systemFile::flushToDisk(file_);
}

std::unique_ptr<TemporaryFileRewrite> TemporaryFileRewrite::create(const std::string& target, int& failure) {
    std::string temporary;
    const FileHandle file = systemFile::createTemporary(target, temporary, failure);
    if (file == noFileHandle)
        return nullptr;
    return std::unique_ptr<TemporaryFileRewrite>(new TemporaryFileRewrite(target, temporary, file));
}

TemporaryFileRewrite::~TemporaryFileRewrite() {
    if (file_ != noFileHandle)
        systemFile::close(file_);
    if (!temporary_.empty())
        systemFile::remove(temporary_);
}

int TemporaryFileRewrite::writeBlock(const char* data, std::size_t size) {
    return systemFile::write(file_, data, size);
}

// The file is on the disk before it takes the target's name, and the name lasts once the folder is.
int TemporaryFileRewrite::commit() {
    int failure = systemFile::flushToDisk(file_);
    if (const int closed = systemFile::close(file_); failure == 0)
        failure = closed;
    file_ = noFileHandle;
    if (failure != 0)
        return failure;
    if (const int renamed = systemFile::rename(temporary_, target_); renamed != 0)
        return renamed;
    temporary_.clear();
    return systemFile::flushFolderOf(target_);
}

ReplacingFile::ReplacingFile(const std::string& target) : WritingFile(systemFile::chooseRewrite(target)) {}

bool canOpenForReading(const std::string& path) {
    PlainFile file;
    file.openForReading(path);
    return file.isOpen();
}

} // namespace portolan
