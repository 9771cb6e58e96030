#pragma once

#include "support/TempFolder.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace portolan::testing {

// The path of a Win32 call for a test's path, which is UTF-8 as the program's are.
inline std::wstring widePathOf(const std::string& path) {
    return systemPathOf(path).wstring();
}

// Ends the test program unless the scope ends within the given seconds, so that a call that blocks for
// ever fails its test instead of hanging it.
class Deadline {
public:
    explicit Deadline(unsigned seconds)
        : watcher_([this, seconds] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return ended_; })) {
                  std::fprintf(stderr, "a call waited longer than %u seconds\n", seconds);
                  std::_Exit(3);
              }
          }) {}
    ~Deadline() {
        {
            const std::lock_guard lock(mutex_);
            ended_ = true;
        }
        done_.notify_one();
        watcher_.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool ended_ = false;
    std::thread watcher_;
};

// While it lives, the file at path is open in the way another program would hold it: with the given
// access, letting others share only what share allows.
class HeldByAnotherProgram {
public:
    HeldByAnotherProgram(const std::string& path, DWORD access, DWORD share)
        : handle_(::CreateFileW(widePathOf(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldByAnotherProgram() {
        if (held())
            ::CloseHandle(handle_);
    }
    HeldByAnotherProgram(const HeldByAnotherProgram&) = delete;
    HeldByAnotherProgram& operator=(const HeldByAnotherProgram&) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

inline bool setReadOnly(const std::string& path, bool readOnly) {
    return ::SetFileAttributesW(widePathOf(path).c_str(),
                                readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

// What makes a file itself, whatever its names: its volume and index; and how many names it has.
struct FileIdentity {
    DWORD volume = 0;
    ULONGLONG index = 0;
    DWORD names = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
inline FileIdentity identityOf(const std::string& path) {
    FileIdentity identity;
    const HANDLE file =
        ::CreateFileW(widePathOf(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION information{};
    if (file != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(file, &information)) {
        identity.volume = information.dwVolumeSerialNumber;
        identity.index = (ULONGLONG{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
        identity.names = information.nNumberOfLinks;
    }
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    return identity;
}

} // namespace portolan::testing
