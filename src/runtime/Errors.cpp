#include "runtime/Errors.h"

#include <cerrno>

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

int ioCodeFromErrno(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
        return ioCode::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return ioCode::InvalidFilename;
    case EMFILE:
    case ENFILE:
        return ioCode::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ioCode::AccessDenied;
    case EROFS:
        return ioCode::WriteProtected;
    case EBUSY:
    case ETXTBSY:
        return ioCode::SharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ioCode::DiskFull;
    case EBADF:
        return ioCode::FileNotOpen;
    default:
        return ioCode::GeneralFailure;
    }
}

InOutError::InOutError(int code) : std::runtime_error(ioErrorText(code)), code_(code) {}

} // namespace portolan
