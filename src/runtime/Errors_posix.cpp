// How the errno values of POSIX calls become the recorded error codes.
#include "runtime/Errors.h"

#include <cerrno>

namespace portolan {

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

} // namespace portolan
