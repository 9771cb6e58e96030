#include "runtime/WideText_windows.h"

#include <windows.h>

namespace portolan {

namespace {

// A folder's path must leave room for a file name of 8.3 characters within MAX_PATH.
constexpr std::size_t classicPathLimit = MAX_PATH - 12;

// The absolute path that the system makes of a path: joined to the current folder when relative, with
// backslashes only and without "." and ".." (what the "\\?\" form needs, as the system takes it as it
// stands); empty when the system makes none.
std::wstring fullPathOf(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (size < full.size()) {
            full.resize(size); // 0 on a failure
            return full;
        }
        full.resize(size); // the room it needs, which may grow again if the current folder changes meanwhile
    }
}

} // namespace

std::wstring wideFromUtf8(std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string utf8FromWide(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    std::string utf8(static_cast<std::size_t>(
                         ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr,
                          nullptr);
    return utf8;
}

std::wstring systemPath(const std::string& path) {
    std::wstring wide = wideFromUtf8(path);
    if (wide.starts_with(LR"(\\?\)") || wide.starts_with(LR"(\\.\)"))
        return wide;
    // The limit counts the path that the system makes of this one, a relative one joined to the current
    // folder. A path that stays within it goes as given, and the system resolves it the same way.
    const std::wstring full = fullPathOf(wide);
    if (full.size() < classicPathLimit || full.starts_with(LR"(\\?\)") || full.starts_with(LR"(\\.\)"))
        return wide;
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2); // \\server\share\...
    return LR"(\\?\)" + full;
}

} // namespace portolan
