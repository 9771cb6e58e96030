#pragma once

#include "runtime/ByteStream.h"

#include <string>

namespace portolan {

// Paths are the system's own bytes (UTF-8 on Linux, whatever the file system holds). They are handed
// to the system exactly as they come, never converted and never refused for their characters.

// A file on disk opened for reading or created for writing. Opening records an error code when it
// fails; reading or writing a file that is not open records ioCode::FileNotOpen, and the wrong
// direction NotOpenForInput or NotOpenForOutput. The destructor closes a file still open.
class PlainFile final : public ByteStream {
public:
    PlainFile() = default;
    ~PlainFile() override;
    PlainFile(const PlainFile&) = delete;
    PlainFile& operator=(const PlainFile&) = delete;

    // Opens an existing file for reading only; a folder does not open (ioCode::AccessDenied).
    void openForReading(const std::string& path);

    bool isOpen() const { return descriptor_ >= 0; }

    std::size_t read(void* buffer, std::size_t size) override;
    void write(const void* data, std::size_t size) override;
    void close() override;

private:
    int descriptor_ = -1;
};

// A file that replaces its target only as a whole. The bytes go to a temporary file beside the target,
// gathered in memory and handed to the system in large blocks;
// close() flushes it to disk and renames it over the target when the creation, every write and the
// close succeeded, and otherwise removes it, so a failure leaves an earlier target byte for byte as it
// was. A new file is readable and writable by its owner alone; a replaced file keeps its permission bits.
// A target that the user may not write fails as the creation, and is not replaced.
// A target that is a symbolic link has the file it points to replaced. Destroying the object without
// close() abandons the temporary file.
class ReplacingFile final : public ByteStream {
public:
    explicit ReplacingFile(const std::string& target);
    ~ReplacingFile() override;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    std::size_t read(void* buffer, std::size_t size) override;
    void write(const void* data, std::size_t size) override;
    void close() override;

private:
    void flushPending();
    void abandon();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    std::string pending_; // written bytes not yet handed to the system
    bool failed_ = false;
};

// True when the file can be opened for reading; it is opened and closed again at once.
bool canOpenForReading(const std::string& path);

// The folder that holds the running program's executable, without a final "/", as the system names it.
std::string executableFolder();

} // namespace portolan
