#include "runtime/Errors.h"

namespace portolan {

std::string ioErrorText(int code) {
    switch (code) {
    case ioCode::FileNotFound:
        return "File not found";
    case ioCode::InvalidFilename:
        return "Invalid filename";
    case ioCode::TooManyOpenFiles:
        return "Too many open files";
    case ioCode::AccessDenied:
        return "File access denied";
    case ioCode::ReadBeyondEnd:
        return "Read beyond end of file";
    case ioCode::DiskFull:
        return "Disk full";
    case ioCode::InvalidNumericInput:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

InOutError::InOutError(int code) : std::runtime_error(ioErrorText(code)), code_(code) {}

} // namespace portolan
