#include "fc/FileErrorText.h"

#include "platform/WinError.h"

#include <cerrno>
#include <gtest/gtest.h>

TEST(FileErrorTextTest, EveryErrnoOfTheFileCallsHasAReason)
{
    // What open, read, write, stat, mkdir, unlink, rmdir, rename, readdir,
    // fsync and ftruncate can raise on Linux, network file systems included.
    for (int error :
         {EACCES,    EPERM,     EROFS,    EISDIR,     EBADF,        ENOMEM,     EBUSY,     ETXTBSY,
          EAGAIN,    ENOTEMPTY, EEXIST,   ENOSPC,     ENAMETOOLONG, EIO,        ENOMEDIUM, ENOENT,
          ENOTDIR,   ELOOP,     EMFILE,   ENFILE,     EXDEV,        EFBIG,      EOVERFLOW, EDQUOT,
          EINVAL,    EFAULT,    EILSEQ,   ENXIO,      ENODEV,       ESTALE,     ETIMEDOUT, ENOLINK,
          EREMOTEIO, EHOSTDOWN, ENETDOWN, ECONNRESET, ENOTCONN,     EPIPE,      ESPIPE,    EINTR,
          ECANCELED, EMLINK,    EUCLEAN,  EBADMSG,    ENOSYS,       EOPNOTSUPP, ENOLCK,    EDEADLK,
          ENOBUFS,   ENOKEY}) {
        const uint32_t code = WinError::fromErrno(error);
        const char* reason = FileErrorText::reason(code);
        ASSERT_NE(reason, nullptr) << "errno " << error << " as " << code;
        EXPECT_EQ(reason[0], '\n') << "errno " << error;
        EXPECT_GT(std::string(reason).size(), 1u) << "errno " << error;
    }
}

TEST(FileErrorTextTest, CodesWithoutAFileMeaningHaveNone)
{
    EXPECT_EQ(FileErrorText::reason(WinError::Success), nullptr);
    EXPECT_EQ(FileErrorText::reason(999), nullptr);
    EXPECT_EQ(FileErrorText::reason(WinError::fromErrno(ESRCH)), nullptr);
}
