#pragma once

#include "runtime/ByteStream.h"

#include <memory>
#include <string>

namespace portolan {

// Paths are the system's own bytes (UTF-8 on Linux, whatever the file system holds). They are handed
// to the system exactly as they come, never converted and never refused for their characters.
//
// Only regular files are opened. A folder, a FIFO, a device or a socket is a file that cannot be opened
// (ioCode::AccessDenied), and it is never replaced; opening never waits for another program, as a FIFO
// without a writer would make it do.

// A file on disk opened for reading. Opening records an error code when it fails; reading or writing a
// file that is not open records ioCode::FileNotOpen, and writing NotOpenForOutput. The destructor
// closes a file still open.
class PlainFile final : public ByteStream {
public:
    PlainFile() = default;
    ~PlainFile() override;
    PlainFile(const PlainFile&) = delete;
    PlainFile& operator=(const PlainFile&) = delete;

    // Opens an existing regular file for reading only.
    void openForReading(const std::string& path);

    bool isOpen() const { return descriptor_ >= 0; }

    std::size_t read(void* buffer, std::size_t size) override;
    void write(const void* data, std::size_t size) override;
    void close() override;

private:
    int descriptor_ = -1;
};

class Rewrite; // one way of giving a file new content (Files.cpp)

// A file that takes its new content as a whole. Written bytes are gathered in memory and handed on in
// large blocks and by flush(); close() hands on the rest and makes the new content the file's, and
// when anything fails on the way, or the object is destroyed without close(), the file keeps its earlier
// content (see the two kinds below for exactly what holds). The first failure is the one recorded;
// reading records ioCode::NotOpenForInput, and any use of a file that did not open or is closed
// records ioCode::FileNotOpen.
class WritingFile : public ByteStream {
public:
    ~WritingFile() override;
    WritingFile(const WritingFile&) = delete;
    WritingFile& operator=(const WritingFile&) = delete;

    std::size_t read(void* buffer, std::size_t size) override;
    void write(const void* data, std::size_t size) override;
    void close() override;

    // Hands the gathered bytes on now, so that a failure to write them is recorded now.
    void flush();

    // The way the bytes take, or none, with the code of the failure to start it.
    struct Opened {
        std::unique_ptr<Rewrite> way;
        int failure = 0;
    };

protected:
    explicit WritingFile(Opened opened);

private:
    void flushPending();

    std::unique_ptr<Rewrite> way_;
    std::string pending_; // written bytes not yet handed on
    bool failed_ = false;
};

// Rewrites an existing regular file in place. Its old bytes are read and kept when it opens, and the new
// ones are written over them from the file's start; close() cuts the file to the new length and flushes
// it to disk. When any of that fails, or the object is destroyed without close(), the old bytes and the
// old length are put back and flushed, so the file keeps its old content byte for byte unless putting it
// back fails as well. The file keeps its inode, and with it its owner, group, permission bits and links.
class InPlaceFile final : public WritingFile {
public:
    explicit InPlaceFile(const std::string& path);
};

// A file that takes the place of its target only as a whole. The bytes go to a temporary file beside
// the target, whose name has a fixed length so that the longest target name still leaves room for it;
// close() flushes the file to disk, renames it over the target and flushes the folder, so that the new
// name lasts, when the creation, every write and the close succeeded, and otherwise removes it: a failure
// leaves an earlier target byte for byte as it was. A new file is readable and writable by its owner
// alone; a replaced file keeps its permission bits. Where the folder takes no new file but the target
// exists and the user may write it, the target is rewritten in place instead, as InPlaceFile does, with
// the same promise. A target that the user may not write, or that is no regular file, fails as the
// creation and is not replaced. A target that is a symbolic link has the file it points to replaced.
class ReplacingFile final : public WritingFile {
public:
    explicit ReplacingFile(const std::string& target);
};

// True when the file can be opened for reading (a regular file); it is opened and closed again at once.
bool canOpenForReading(const std::string& path);

// The folder that holds the running program's executable, without a final "/", as the system names it.
std::string executableFolder();

} // namespace portolan
