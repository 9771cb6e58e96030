#pragma once

// The system calls behind Files.h, one implementation per system (Files_posix.cpp, Files_windows.cpp),
// and the two ways of giving a file new content that Files.cpp builds on them.

#include "runtime/Files.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace portolan {

namespace systemFile {

// Opens an existing regular file, for reading only or for reading and writing, without waiting for
// another program; noFileHandle with the code to record when that fails or the path names no regular
// file.
FileHandle openForReading(const std::string& path, int& code);
FileHandle openForUpdate(const std::string& path, int& code);

// Makes a new, empty file beside target under a name of fixed length that no file has yet, readable and
// writable by its owner alone, and gives its path in temporary; noFileHandle with the code of the
// failure.
FileHandle createTemporary(const std::string& target, std::string& temporary, int& code);

// Reads until size bytes have arrived, the file ends or a read fails; returns the count, and in code the
// code of a failed read (0 when none failed).
std::size_t read(FileHandle file, void* buffer, std::size_t size, int& code);

// Each of these returns 0 or the code of the failure. write() writes where the file stands, writeAt()
// at an offset from its start; flushToDisk() returns once the file's content is on the disk.
int write(FileHandle file, const char* data, std::size_t size);
int writeAt(FileHandle file, const char* data, std::size_t size, std::uint64_t offset);
int truncate(FileHandle file, std::uint64_t length);
int flushToDisk(FileHandle file);
int close(FileHandle file);

// Gives the file at temporary the name target, in place of a file of that name; 0 or the code of the
// failure, when temporary keeps its name.
int rename(const std::string& temporary, const std::string& target);

// Puts the folder that holds target on the disk, so that a new name in it lasts; 0 or the code of the
// failure.
int flushFolderOf(const std::string& target);

// Removes the file at path; a failure is ignored.
void remove(const std::string& path);

// The way in which ReplacingFile gives target its new content, or none with the code of the failure:
// the rules of each system for what a replacement keeps.
WritingFile::Opened chooseRewrite(const std::string& target);

} // namespace systemFile

// One way of giving a file new content: the bytes arrive in blocks, in order, and commit() makes them
// the file's content. Each returns 0 or the code of its first failure. A way destroyed without a
// successful commit leaves the earlier content as it was.
class Rewrite {
public:
    virtual ~Rewrite() = default;
    virtual int writeBlock(const char* data, std::size_t size) = 0;
    virtual int commit() = 0;
};

// Writes over the file itself, keeping its old bytes to put back.
class InPlaceRewrite final : public Rewrite {
public:
    // The file opened and its old bytes read, or nullptr with the code of the failure.
    static std::unique_ptr<InPlaceRewrite> open(const std::string& path, int& failure);

    ~InPlaceRewrite() override;
    int writeBlock(const char* data, std::size_t size) override;
    // On a failure the file stays open, so that the destructor puts the old bytes back.
    int commit() override;

private:
    explicit InPlaceRewrite(FileHandle file) : file_(file) {}

    // Puts the old bytes and length back; a failure here leaves the first one recorded.
    void restore();

    FileHandle file_;
    std::string original_; // the file's bytes before the rewrite
    std::size_t written_ = 0;
    bool touched_ = false; // the file's bytes may differ from original_
};

// Writes a temporary file beside the target and renames it over the target at the commit.
class TemporaryFileRewrite final : public Rewrite {
public:
    // A new, empty temporary file beside target, or nullptr with the code of the failure.
    static std::unique_ptr<TemporaryFileRewrite> create(const std::string& target, int& failure);

    ~TemporaryFileRewrite() override;
    int writeBlock(const char* data, std::size_t size) override;
    int commit() override;

    // The temporary file, open for writing.
    FileHandle handle() const { return file_; }

private:
    TemporaryFileRewrite(std::string target, std::string temporary, FileHandle file)
        : target_(std::move(target)), temporary_(std::move(temporary)), file_(file) {}

    std::string target_;
    std::string temporary_; // empty once renamed
    FileHandle file_;
};

} // namespace portolan
