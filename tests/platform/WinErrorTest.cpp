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
    // ESRCH is 3 and EPIPE 32 on Linux: as they are, they would read as
    // "path not found" and "sharing violation".
    EXPECT_EQ(WinError::fromErrno(ESRCH), static_cast<uint32_t>(ESRCH) | WinError::ApplicationBit);
    EXPECT_EQ(WinError::fromErrno(EPIPE), static_cast<uint32_t>(EPIPE) | WinError::ApplicationBit);
    EXPECT_EQ(WinError::fromErrno(EMLINK),
              static_cast<uint32_t>(EMLINK) | WinError::ApplicationBit);
    EXPECT_EQ(WinError::fromErrno(EDOM), static_cast<uint32_t>(EDOM) | WinError::ApplicationBit);
    // These have no Windows meaning and stay as they are.
    EXPECT_EQ(WinError::fromErrno(EXDEV), static_cast<uint32_t>(EXDEV));
    EXPECT_EQ(WinError::fromErrno(ELOOP), static_cast<uint32_t>(ELOOP));
    EXPECT_EQ(WinError::fromErrno(ENETDOWN), static_cast<uint32_t>(ENETDOWN));
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
