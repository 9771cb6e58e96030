#pragma once

#include <grp.h>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

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

// While it lives, the process acts as the user "nobody", a member of the given groups besides its own:
// files are made, opened, renamed and given a group with nobody's rights. Only root can do this, and
// root keeps the way back. active() tells whether the switch was made; ids() gives nobody's user and
// group, so that root can make files of nobody's and of other users before the switch.
class ActingAsNobody {
public:
    struct Ids {
        uid_t user = 0;
        gid_t group = 0;
    };

    static Ids ids() {
        const passwd* nobody = ::getpwnam("nobody");
        return nobody ? Ids{nobody->pw_uid, nobody->pw_gid} : Ids{};
    }

    explicit ActingAsNobody(const std::vector<gid_t>& groups) {
        const Ids nobody = ids();
        if (::geteuid() != 0 || nobody.user == 0)
            return;
        rootGroups_.resize(static_cast<std::size_t>(::getgroups(0, nullptr)));
        ::getgroups(static_cast<int>(rootGroups_.size()), rootGroups_.data());
        rootGroup_ = ::getegid();
        switched_ = true; // from here on the destructor puts root's identity back
        active_ = ::setgroups(groups.size(), groups.data()) == 0 && ::setegid(nobody.group) == 0 &&
                  ::seteuid(nobody.user) == 0;
    }
    ~ActingAsNobody() {
        if (!switched_)
            return;
        if (::seteuid(0) != 0 || ::setegid(rootGroup_) != 0 ||
            ::setgroups(rootGroups_.size(), rootGroups_.data()) != 0)
            std::abort(); // the tests after this one would run with the wrong rights
    }
    ActingAsNobody(const ActingAsNobody&) = delete;
    ActingAsNobody& operator=(const ActingAsNobody&) = delete;

    bool active() const { return active_; }

private:
    std::vector<gid_t> rootGroups_;
    gid_t rootGroup_ = 0;
    bool switched_ = false;
    bool active_ = false;
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

// The permission bits of the file at path.
inline mode_t permissionBits(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// The inode of the file at path, or 0 when there is none.
inline ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

} // namespace portolan::testing
