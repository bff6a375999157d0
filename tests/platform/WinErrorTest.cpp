#include "platform/WinError.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

struct Mapping {
    int error;
    uint32_t expected;
};

const Mapping mappings[] = {
    {0, WinError::Success},
    {ENOENT, WinError::FileNotFound},
    {ENOTDIR, WinError::PathNotFound},
    {EACCES, WinError::AccessDenied},
    {EPERM, WinError::AccessDenied},
    {EROFS, WinError::AccessDenied},
    {EISDIR, WinError::AccessDenied},
    {EBADF, WinError::InvalidHandle},
    {ENOMEM, WinError::NotEnoughMemory},
    {EBUSY, WinError::SharingViolation},
    {ETXTBSY, WinError::SharingViolation},
    {EAGAIN, WinError::LockViolation},
    {EWOULDBLOCK, WinError::LockViolation},
    {ENOTEMPTY, WinError::DirectoryNotEmpty},
    {EEXIST, WinError::AlreadyExists},
    {ENOSPC, WinError::DiskFull},
    {ENAMETOOLONG, WinError::FilenameTooLong},
    {EIO, WinError::GeneralFailure},
    {ENOMEDIUM, WinError::NotReady},
    {ELOOP, WinError::CantResolveFilename},
    {EMFILE, WinError::TooManyOpenFiles},
    {ENFILE, WinError::TooManyOpenFiles},
    {EXDEV, WinError::NotSameDevice},
    {EFBIG, WinError::FileTooLarge},
    {EOVERFLOW, WinError::FileTooLarge},
    {EDQUOT, WinError::DiskQuotaExceeded},
    {EINVAL, WinError::InvalidParameter},
    {EFAULT, WinError::InvalidParameter},
    {EILSEQ, WinError::InvalidName},
    {ENXIO, WinError::DeviceNotExist},
    {ENODEV, WinError::DeviceNotExist},
    {ESTALE, WinError::UnexpectedNetworkError},
    {ETIMEDOUT, WinError::UnexpectedNetworkError},
    {ENOLINK, WinError::UnexpectedNetworkError},
    {EREMOTEIO, WinError::UnexpectedNetworkError},
    {EHOSTDOWN, WinError::UnexpectedNetworkError},
    {EHOSTUNREACH, WinError::UnexpectedNetworkError},
    {ENETDOWN, WinError::UnexpectedNetworkError},
    {ENETUNREACH, WinError::UnexpectedNetworkError},
    {ENETRESET, WinError::UnexpectedNetworkError},
    {ECONNRESET, WinError::UnexpectedNetworkError},
    {ECONNABORTED, WinError::UnexpectedNetworkError},
    {ECONNREFUSED, WinError::UnexpectedNetworkError},
    {ENOTCONN, WinError::UnexpectedNetworkError},
    {ECOMM, WinError::UnexpectedNetworkError},
    {EPIPE, WinError::BrokenPipe},
    {ESPIPE, WinError::SeekOnDevice},
    {EINTR, WinError::OperationAborted},
    {ECANCELED, WinError::OperationAborted},
    {EMLINK, WinError::TooManyLinks},
    {EUCLEAN, WinError::FileCorrupt},
    {EBADMSG, WinError::FileCorrupt},
    {ENOSYS, WinError::NotSupported},
    {EOPNOTSUPP, WinError::NotSupported},
    {ENOLCK, WinError::LockViolation},
    {EDEADLK, WinError::LockViolation},
    {ENOBUFS, WinError::NotEnoughMemory},
    {ENOKEY, WinError::AccessDenied},
};

bool isMapped(int error)
{
    for (const Mapping& m : mappings) {
        if (m.error == error)
            return true;
    }
    return false;
}

} // namespace

TEST(WinErrorTest, MapsErrnoToTheWindowsNumbersTheMessagesSwitchOn)
{
    for (const Mapping& m : mappings)
        EXPECT_EQ(WinError::fromErrno(m.error), m.expected) << "errno " << m.error;
}

TEST(WinErrorTest, UnmappedErrnoKeepsItsNumberUnlessItWouldReadAsAKnownCode)
{
    // ESRCH is 3 on Linux: as it is, it would read as "path not found".
    EXPECT_EQ(WinError::fromErrno(ESRCH), static_cast<uint32_t>(ESRCH) | WinError::ApplicationBit);
    EXPECT_EQ(WinError::fromErrno(EDOM), static_cast<uint32_t>(EDOM) | WinError::ApplicationBit);
    // These have no Windows meaning and no file call raises them.
    EXPECT_EQ(WinError::fromErrno(ECHILD), static_cast<uint32_t>(ECHILD));
    EXPECT_EQ(WinError::fromErrno(ENOTSOCK), static_cast<uint32_t>(ENOTSOCK));
}

TEST(WinErrorTest, NoUnmappedErrnoReadsAsAKnownCode)
{
    for (int error = 1; error < 200; ++error) {
        if (isMapped(error))
            continue;
        uint32_t code = WinError::fromErrno(error);
        auto plain = static_cast<uint32_t>(error);
        EXPECT_TRUE(code == plain || code == (plain | WinError::ApplicationBit)) << error;
        EXPECT_FALSE(WinError::isKnown(code)) << "errno " << error << " reads as " << code;
    }
}
