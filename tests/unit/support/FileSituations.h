#pragma once

#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace portolan::testing {

// Ends the test program with SIGALRM unless the scope ends within the given seconds, so that a call
// that blocks for ever fails its test instead of hanging it.
class Deadline {
public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;
};

// Takes away everyone's leave to write into a folder while it lives. ignored() tells whether this
// process writes into it all the same, as root does: a test of a read-only folder is then skipped
// here, and tests/tools/run-as-nobody runs it as the user "nobody".
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path) : path_(std::move(path)) { ::chmod(path_.c_str(), 0555); }
    ~ReadOnlyFolder() { ::chmod(path_.c_str(), 0700); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool ignored() const { return ::access(path_.c_str(), W_OK) == 0; }

private:
    std::string path_;
};

// A FIFO at path, as "mkfifo" makes one; false when it could not be made.
inline bool makeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// A listening-free local socket bound to path; the name stays after the socket is closed.
inline bool makeSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        socket >= 0 && ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (socket >= 0)
        ::close(socket);
    return bound;
}

// The inode of the file at path, or 0 when there is none.
inline ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

} // namespace portolan::testing
