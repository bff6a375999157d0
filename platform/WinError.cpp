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
    case EMFILE:
    case ENFILE:
        return TooManyOpenFiles;
    case EXDEV:
        return NotSameDevice;
    case ELOOP:
        return CantResolveFilename;
    case EFBIG:
    case EOVERFLOW:
        return FileTooLarge;
    case EDQUOT:
        return DiskQuotaExceeded;
    case EINVAL:
    case EFAULT:
        return InvalidParameter;
    case EILSEQ:
        return InvalidName;
    case ENXIO:
    case ENODEV:
        return DeviceNotExist;
    case ESTALE:
    case ETIMEDOUT:
    case ENOLINK:
    case EREMOTEIO:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
    case ECONNRESET:
    case ECONNABORTED:
    case ECONNREFUSED:
    case ENOTCONN:
    case ECOMM:
        // Network file systems raise these when their server is gone.
        return UnexpectedNetworkError;
    case EPIPE:
        return BrokenPipe;
    case ESPIPE:
        return SeekOnDevice;
    case EINTR:
    case ECANCELED:
        return OperationAborted;
    case EMLINK:
        return TooManyLinks;
    case EUCLEAN:
    case EBADMSG:
        return FileCorrupt;
    case ENOSYS:
    case EOPNOTSUPP:
#if ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
#endif
        return NotSupported;
    case ENOLCK:
    case EDEADLK:
        return LockViolation;
    case ENOBUFS:
        return NotEnoughMemory;
    case ENOKEY:
        // An encrypted folder whose key is not loaded.
        return AccessDenied;
    default:
        break;
    }
    auto code = static_cast<uint32_t>(error);
    // Left as it is, errno 3 (ESRCH) would read as a missing path; with the
    // bit set it stays an unknown error that still shows its errno.
    return isKnown(code) ? code | ApplicationBit : code;
}

bool WinError::isKnown(uint32_t code)
{
    switch (code) {
    case FileNotFound:
    case PathNotFound:
    case TooManyOpenFiles:
    case AccessDenied:
    case InvalidHandle:
    case NotEnoughMemory:
    case NotSameDevice:
    case NotReady:
    case GeneralFailure:
    case SharingViolation:
    case LockViolation:
    case HandleEof:
    case NotSupported:
    case BadNetworkPath:
    case DeviceNotExist:
    case UnexpectedNetworkError:
    case BadNetworkName:
    case FileExists:
    case InvalidParameter:
    case BrokenPipe:
    case DiskFull:
    case InvalidName:
    case NegativeSeek:
    case SeekOnDevice:
    case DirectoryNotEmpty:
    case AlreadyExists:
    case FilenameTooLong:
    case FileTooLarge:
    case DirectoryInvalid:
    case OperationAborted:
    case TooManyLinks:
    case DiskQuotaExceeded:
    case FileCorrupt:
    case CantResolveFilename:
    case NoNetworkAccess:
        return true;
    default:
        return false;
    }
}
