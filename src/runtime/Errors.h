#pragma once

#include <stdexcept>
#include <string>

namespace portolan {

// The error codes that file operations record. The numbers are those that users of the program know
// from its messages on every system: Windows' own system error codes, with a full disk as 101. The
// errno values of POSIX calls are mapped onto them by ioCodeFromErrno, Windows' codes by
// ioCodeFromWindowsError; each is built on its own system only.
namespace ioCode {
inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFilename = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int WriteProtected = 19;
inline constexpr int GeneralFailure = 31;
inline constexpr int SharingViolation = 32;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int FileNotOpen = 103;
inline constexpr int NotOpenForInput = 104;
inline constexpr int NotOpenForOutput = 105;
inline constexpr int InvalidNumericInput = 106;
} // namespace ioCode

// The message shown for a recorded error code: "File not found", ..., or "I/O error <code>".
std::string ioErrorText(int code);

// The recorded error code for an errno value (POSIX systems).
int ioCodeFromErrno(int errnoValue);

// The recorded error code for a system error code of Windows (GetLastError): the code itself, which is
// the one the messages know, but 101 for a full disk, and never 0 (Windows builds).
int ioCodeFromWindowsError(unsigned long systemCode);

// A file operation that failed where no command fetches the recorded code; carries that code.
class InOutError : public std::runtime_error {
public:
    explicit InOutError(int code);
    int code() const { return code_; }

private:
    int code_;
};

// A text that is not what a conversion needs, such as a typed date that is not a valid date. Its message
// is shown to the user as it stands, in UTF-8.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace portolan
