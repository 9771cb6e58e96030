// Every Win32 call of the program's file handling lives here. Paths reach the wide ("W") calls as
// UTF-16 (systemPath), and every failure is recorded with the system's own code.
#include "runtime/Errors.h"
#include "runtime/SystemFile.h"
#include "runtime/WideText_windows.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <random>

namespace portolan {

const char pathSeparator = '\\';
const std::string_view fileNameSeparators = "\\/:";

namespace {

// Reads and writes go in pieces that a DWORD counts.
constexpr std::size_t largestPiece = 1u << 30;

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

int lastErrorCode() {
    return ioCodeFromWindowsError(::GetLastError());
}

// Opens an existing file with the given access. Other programs may go on reading it, but not write it.
// Another kind of file than one on a disk (a console, a device such as NUL or COM1, a pipe) is refused
// once it is open: opening one waits for nothing, while reading or writing it could.
FileHandle openRegularFile(const std::string& path, DWORD access, int& code) {
    const HANDLE file = ::CreateFileW(systemPath(path).c_str(), access, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        code = lastErrorCode();
        return noFileHandle;
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        code = ioCode::AccessDenied;
        return noFileHandle;
    }
    return reinterpret_cast<FileHandle>(file);
}

// Writes size bytes at offset, or where the file stands when there is none; 0 or the code of the failure.
int writeFully(HANDLE file, const char* data, std::size_t size, const std::uint64_t* offset) {
    std::uint64_t position = offset ? *offset : 0;
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD put = 0;
        if (!::WriteFile(file, data, static_cast<DWORD>(std::min(size, largestPiece)), &put,
                         offset ? &at : nullptr))
            return lastErrorCode();
        if (put == 0)
            return ioCode::DiskFull;
        data += put;
        size -= put;
        position += put;
    }
    return 0;
}

// The part of a path up to and with its last separator: the folder that a name is put into.
std::string folderPartOf(const std::string& path) {
    const auto separator = path.find_last_of(fileNameSeparators);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// A name of fixed length, so that a target name as long as the system allows has a temporary too.
std::string temporaryName() {
    static constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    std::string name = ".portolan-";
    for (int i = 0; i < 6; ++i)
        name += letters[pick(generator)];
    return name;
}

// The path of the file that an open handle reaches, after every symbolic link and junction on the way
// (in the "\\?\" form); path itself where the system names none.
std::string finalPathOf(HANDLE file, const std::string& path) {
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (size == 0)
            return path;
        if (size < final.size()) {
            final.resize(size);
            return utf8FromWide(final);
        }
        final.resize(size); // the room it needs, with its terminating zero
    }
}

// Who owns the file and who may do what with it: its owner and access list, with whether the list takes
// what the folder passes on, as the system writes them down (SDDL); empty where the system keeps no
// security for the file.
std::wstring securityOf(HANDLE file) {
    constexpr SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(file, SE_FILE_OBJECT, parts, nullptr, nullptr, nullptr, nullptr, &descriptor) !=
        ERROR_SUCCESS)
        return {};
    LPWSTR text = nullptr;
    std::wstring security;
    if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text,
                                                               nullptr))
        security = text;
    ::LocalFree(text);
    ::LocalFree(descriptor);
    return security;
}

// Gives the temporary file the attributes and the creation time of the file it is to replace; false when
// it does not take every attribute, as no such call makes a file encrypted or compressed: such a file
// replaced by a new one would lie on the disk unencrypted. (The archive bit marks a changed file.)
bool takeIdentityOf(HANDLE temporary, const BY_HANDLE_FILE_INFORMATION& replaced) {
    FILE_BASIC_INFO identity{};
    identity.CreationTime.LowPart = replaced.ftCreationTime.dwLowDateTime;
    identity.CreationTime.HighPart = static_cast<LONG>(replaced.ftCreationTime.dwHighDateTime);
    identity.FileAttributes = replaced.dwFileAttributes;
    BY_HANDLE_FILE_INFORMATION taken{};
    constexpr DWORD ignored = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(temporary, FileBasicInfo, &identity, sizeof identity) &&
           ::GetFileInformationByHandle(temporary, &taken) &&
           ((taken.dwFileAttributes ^ replaced.dwFileAttributes) & ~ignored) == 0;
}

} // namespace

namespace systemFile {

FileHandle openForReading(const std::string& path, int& code) {
    return openRegularFile(path, GENERIC_READ, code);
}

FileHandle openForUpdate(const std::string& path, int& code) {
    return openRegularFile(path, GENERIC_READ | GENERIC_WRITE, code);
}

FileHandle createTemporary(const std::string& target, std::string& temporary, int& code) {
    const std::string folder = folderPartOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + temporaryName();
        const HANDLE file = ::CreateFileW(systemPath(temporary).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return reinterpret_cast<FileHandle>(file);
        if (::GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    code = lastErrorCode();
    return noFileHandle;
}

std::size_t read(FileHandle file, void* buffer, std::size_t size, int& code) {
    std::size_t done = 0;
    code = 0;
    while (done < size) {
        DWORD got = 0;
        if (!::ReadFile(handleOf(file), static_cast<char*>(buffer) + done,
                        static_cast<DWORD>(std::min(size - done, largestPiece)), &got, nullptr)) {
            code = lastErrorCode();
            break;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

int write(FileHandle file, const char* data, std::size_t size) {
    return writeFully(handleOf(file), data, size, nullptr);
}

int writeAt(FileHandle file, const char* data, std::size_t size, std::uint64_t offset) {
    return writeFully(handleOf(file), data, size, &offset);
}

int truncate(FileHandle file, std::uint64_t length) {
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(length);
    return ::SetFilePointerEx(handleOf(file), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(handleOf(file))
               ? 0
               : lastErrorCode();
}

int flushToDisk(FileHandle file) {
    return ::FlushFileBuffers(handleOf(file)) ? 0 : lastErrorCode();
}

int close(FileHandle file) {
    return ::CloseHandle(handleOf(file)) ? 0 : lastErrorCode();
}

// The rename either happens whole or not at all, and is on the disk when it returns.
int rename(const std::string& temporary, const std::string& target) {
    return ::MoveFileExW(systemPath(temporary).c_str(), systemPath(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : lastErrorCode();
}

int flushFolderOf(const std::string&) {
    return 0; // the rename wrote the folder through
}

void remove(const std::string& path) {
    ::DeleteFileW(systemPath(path).c_str());
}

// The one place that decides how a target is written. The file written is the one that the path leads
// to, through every symbolic link and junction on the way, so that a link stays a link. A new file takes
// the place of an existing one only where it can be all that file was: the file has a single name, and
// the new file, made in its folder, has its owner and access list (the folder's, as a file made there
// gets them) and takes its attributes and creation time. Every other file is rewritten in place: one
// with several names (hard links), another owner or an access list of its own, and one in a folder that
// takes no new file. A read-only file, one that another program holds open for writing and anything that
// is not a file on a disk are refused before anything is written.
WritingFile::Opened chooseRewrite(const std::string& path) {
    // Opening it refuses what reading it would refuse; a device name opens too, even where no file of
    // that name is to be seen.
    int failure = 0;
    const FileHandle existing = openForReading(path, failure);
    if (existing == noFileHandle) {
        if (failure != ioCode::FileNotFound)
            return {nullptr, failure};
        auto temporary = TemporaryFileRewrite::create(path, failure);
        return {std::move(temporary), failure};
    }
    BY_HANDLE_FILE_INFORMATION replaced{};
    const bool known = ::GetFileInformationByHandle(handleOf(existing), &replaced);
    const std::string target = finalPathOf(handleOf(existing), path);
    const std::wstring security = securityOf(handleOf(existing));
    close(existing);
    if (known && (replaced.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        return {nullptr, ioCode::AccessDenied};
    if (known && replaced.nNumberOfLinks == 1) {
        auto temporary = TemporaryFileRewrite::create(target, failure);
        if (temporary && securityOf(handleOf(temporary->handle())) == security &&
            takeIdentityOf(handleOf(temporary->handle()), replaced))
            return {std::move(temporary), 0};
        if (!temporary && failure != ioCode::AccessDenied)
            return {nullptr, failure};
    }
    auto inPlace = InPlaceRewrite::open(target, failure);
    return {std::move(inPlace), failure};
}

} // namespace systemFile

std::string executableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return ".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::string program = utf8FromWide(path);
    const auto separator = program.find_last_of("\\/");
    if (separator == std::string::npos)
        return ".";
    // A drive's root keeps its backslash: "C:" alone would name the drive's current folder.
    const bool root = separator > 0 && program[separator - 1] == ':';
    return program.substr(0, root ? separator + 1 : separator);
}

} // namespace portolan
