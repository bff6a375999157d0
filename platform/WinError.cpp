#include "platform/WinError.h"

#include <cassert>
#include <cerrno>

uint32_t WinError::fromErrno(int error)
{
    assert(error >= 0 && "errno values are never negative");
    switch (error) {
    case 0:
        return Success;
    case ENOENT:
        return FileNotFound;
    case ENOTDIR:
        return PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return AccessDenied;
    case EBADF:
        return InvalidHandle;
    case ENOMEM:
        return NotEnoughMemory;
    case EBUSY:
    case ETXTBSY:
        return SharingViolation;
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return LockViolation;
    case ENOTEMPTY:
        return DirectoryNotEmpty;
    case EEXIST:
        return AlreadyExists;
    case ENOSPC:
        return DiskFull;
    case ENAMETOOLONG:
        return FilenameTooLong;
    case EIO:
        return GeneralFailure;
    case ENOMEDIUM:
        return NotReady;
    default:
        break;
    }
    auto code = static_cast<uint32_t>(error);
    // Left as it is, errno 32 (EPIPE) would read as a sharing violation and
    // errno 3 (ESRCH) as a missing path; with the bit set it stays an unknown
    // error that still shows its errno.
    return isKnown(code) ? code | ApplicationBit : code;
}

bool WinError::isKnown(uint32_t code)
{
    switch (code) {
    case FileNotFound:
    case PathNotFound:
    case AccessDenied:
    case InvalidHandle:
    case NotEnoughMemory:
    case NotReady:
    case GeneralFailure:
    case SharingViolation:
    case LockViolation:
    case HandleEof:
    case BadNetworkPath:
    case BadNetworkName:
    case FileExists:
    case InvalidParameter:
    case DiskFull:
    case InvalidName:
    case NegativeSeek:
    case DirectoryNotEmpty:
    case AlreadyExists:
    case FilenameTooLong:
    case DirectoryInvalid:
    case NoNetworkAccess:
        return true;
    default:
        return false;
    }
}
