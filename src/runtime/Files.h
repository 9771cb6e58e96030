#pragma once

#include "runtime/ByteStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace portolan {

// Paths are the system's own text: on Linux its bytes (UTF-8, or whatever the file system holds), handed
// to the system exactly as they come; on Windows UTF-8, handed to the system's wide ("W") calls as
// UTF-16, in the "\\?\" form where a path is longer than the system's classic limit. They are never
// refused for their characters.
//
// Only regular files are opened. A folder, a FIFO, a socket, a device or a Windows device name (CON,
// NUL, COM1, a pipe) is a file that cannot be opened (ioCode::AccessDenied), and it is never replaced;
// opening never waits for another program, as a FIFO without a writer would make it do. While the
// program has a file open, other programs may read it but not write it (on Windows).

// The separator that the program puts between a folder and a name in it: "/", on Windows "\".
extern const char pathSeparator;

// The characters after which a path's file name part begins: "/", on Windows "\", "/" and ":".
extern const std::string_view fileNameSeparators;

// An open file of the system: a POSIX file descriptor or a Windows handle.
using FileHandle = std::intptr_t;
inline constexpr FileHandle noFileHandle = -1;

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

    bool isOpen() const { return handle_ != noFileHandle; }

    std::size_t read(void* buffer, std::size_t size) override;
    void write(const void* data, std::size_t size) override;
    void close() override;

private:
    FileHandle handle_ = noFileHandle;
};

class Rewrite; // one way of giving a file new content (SystemFile.h)

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

// Gives a target file new content in the way that keeps what the target is. The new bytes go to a temporary
// file beside the target, whose name has a fixed length so that the longest target name still leaves room for
// it; close() flushes it to disk and renames it over the target, then flushes the folder so that the new name
// lasts (on Windows the rename itself writes through). A new file is made that way, readable and writable by
// its owner alone (on Windows with the folder's inherited security). An existing target is replaced that way
// only when the new file can be all that the old one was: the target has no other name (hard link), and on
// Linux it belongs to this user and its group can be given to the new file, which also takes its permission
// bits (on Windows the new file has the target's owner and access list, those of a file made in the folder,
// and takes its attributes and creation time). Any other target that this user may write (a file of another
// user, a group's file in a group the user cannot give, on Windows a file with an access list of its own, a
// file with several names, a file in a folder that takes no new file) is rewritten in place: its old bytes
// are read and kept when it opens, the new ones are written over them from the file's start, and close()
// cuts it to the new length and flushes it to disk;
// when any of that fails, or the object is destroyed without close(), the old bytes and the old length are
// put back and flushed, so the file keeps its old content byte for byte unless putting it back fails as well.
// It keeps its identity, and with it its owner, group, permission bits and links. A target that this user may
// not write (on Windows also a read-only file, or one that another program holds open for writing), or that
// is no regular file, fails as the opening and is never replaced. A target that is a symbolic link has the
// file at the end of its links written, by these rules and in that file's folder, and stays a link (on
// Windows the same holds for a path through a junction or a linked folder).
//
// Any failure up to the rename leaves an earlier target byte for byte as it was and removes the
// temporary file. A failure to flush the folder after the rename is recorded too, though the target
// then already holds the new content: whether the new name outlasts a power cut is then not known.
class ReplacingFile final : public WritingFile {
public:
    explicit ReplacingFile(const std::string& target);
};

// True when the file can be opened for reading (a regular file); it is opened and closed again at once.
bool canOpenForReading(const std::string& path);

// The folder that holds the running program's executable, as the system names it, without a final
// separator unless the folder is a root ("/", on Windows a drive's root such as "C:\").
std::string executableFolder();

} // namespace portolan
