// How the system error codes of Win32 calls become the recorded error codes.
#include "runtime/Errors.h"

#include <windows.h>

namespace portolan {

int ioCodeFromWindowsError(unsigned long systemCode) {
    switch (systemCode) {
    case ERROR_SUCCESS:
        return ioCode::GeneralFailure; // a failure that the system left without a code is still one
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ioCode::DiskFull;
    default:
        return static_cast<int>(systemCode);
    }
}

} // namespace portolan
