#include "runtime/WideText_windows.h"

#include <windows.h>

namespace portolan {

namespace {

// A folder's path must leave room for a file name of 8.3 characters within MAX_PATH.
constexpr std::size_t classicPathLimit = MAX_PATH - 12;

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
    if (wide.size() < classicPathLimit || wide.starts_with(LR"(\\?\)") || wide.starts_with(LR"(\\.\)"))
        return wide;
    // The long form is taken as it stands: it must be absolute, with backslashes only and no "." or "..".
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return wide;
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    full.resize(size);
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2); // \\server\share\...
    return LR"(\\?\)" + full;
}

} // namespace portolan
