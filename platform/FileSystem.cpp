#include "platform/FileSystem.h"

#include "platform/FileFaults.h"
#include "platform/NativePath.h"
#include "platform/WinError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The handle calls. The calls on paths are in FileSystemPaths.cpp.

namespace {

thread_local uint32_t lastErrorOfThread = 0;

uint32_t record(uint32_t error)
{
    lastErrorOfThread = error;
    return error;
}

// EBADF on a handle that is open but lacks the access asked for is what
// Windows reports as AccessDenied (ReadFile on a write-only handle).
uint32_t handleError(int handle, int error)
{
    if ((error == EBADF || error == EINVAL) && ::fcntl(handle, F_GETFL) != -1)
        return WinError::AccessDenied;
    return WinError::fromErrno(error);
}

int openFlags(uint32_t access)
{
    bool reading = (access & FileSystem::GenericRead) != 0;
    bool writing = (access & FileSystem::GenericWrite) != 0;
    int mode = writing ? (reading ? O_RDWR : O_WRONLY) : O_RDONLY;
    // O_NONBLOCK keeps a FIFO from hanging the open; it is cleared again
    // once the file is open.
    return mode | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
}

// Opens native creating it when asked; `created` tells whether this call made
// the file, which decides whether it may be truncated and whether its
// read-only state stands in the way.
int openNative(const std::string& native, uint32_t disposition, int flags, bool& created)
{
    constexpr mode_t permissions = 0666;
    created = false;
    switch (disposition) {
    case FileSystem::CreateNew: {
        int fd = ::open(native.c_str(), flags | O_CREAT | O_EXCL, permissions);
        created = fd >= 0;
        return fd;
    }
    case FileSystem::CreateAlways:
    case FileSystem::OpenAlways:
        // Try to create first so that we know whether the file existed; when
        // another process removes it in between, try again.
        for (int attempt = 0; attempt < 8; ++attempt) {
            int fd = ::open(native.c_str(), flags | O_CREAT | O_EXCL, permissions);
            if (fd >= 0) {
                created = true;
                return fd;
            }
            if (errno != EEXIST)
                return -1;
            fd = ::open(native.c_str(), flags);
            if (fd >= 0 || errno != ENOENT)
                return fd;
        }
        return -1;
    default:
        return ::open(native.c_str(), flags);
    }
}

} // namespace

uint32_t FileSystem::open(std::string_view path, uint32_t disposition, uint32_t access,
                          uint32_t share, uint32_t attributes, int& handle)
{
    // POSIX has no share modes: other openers are never locked out.
    (void)share;
    handle = InvalidHandle;
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Open))
        return record(fault);
    bool writing = (access & GenericWrite) != 0;
    if (disposition < CreateNew || disposition > TruncateExisting ||
        (disposition == TruncateExisting && !writing))
        return record(WinError::InvalidParameter);
    std::string native;
    if (uint32_t error = NativePath::fromCp932(path, native))
        return record(error);

    bool created = false;
    int fd = openNative(native, disposition, openFlags(access), created);
    if (fd < 0) {
        int error = errno;
        if (error == EEXIST && disposition == CreateNew)
            return record(WinError::FileExists);
        return record(NativePath::errorFor(error, native));
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        int error = errno;
        ::close(fd);
        return record(WinError::fromErrno(error));
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        return record(WinError::AccessDenied);
    }
    bool truncating = !created && (disposition == CreateAlways || disposition == TruncateExisting);
    bool readOnly = S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
    if (!created && readOnly && (writing || truncating)) {
        ::close(fd);
        return record(WinError::AccessDenied);
    }
    if (truncating && S_ISREG(info.st_mode)) {
        int result = writing ? ::ftruncate(fd, 0) : ::truncate(native.c_str(), 0);
        if (result != 0) {
            int error = errno;
            ::close(fd);
            return record(WinError::fromErrno(error));
        }
    }
    if (created && (attributes & AttributeReadOnly) != 0)
        ::fchmod(fd, info.st_mode & ~S_IWUSR & 07777);
    int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    handle = fd;
    return record(WinError::Success);
}

void FileSystem::close(int handle)
{
    if (handle >= 0)
        ::close(handle);
}

uint32_t FileSystem::read(int handle, void* buffer, uint32_t count, uint32_t& done)
{
    done = 0;
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Read))
        return record(fault);
    if (handle < 0)
        return record(WinError::InvalidHandle);
    auto* bytes = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(handle, bytes + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return record(handleError(handle, errno));
        }
        if (n == 0)
            break;
        done += static_cast<uint32_t>(n);
    }
    return record(WinError::Success);
}

uint32_t FileSystem::write(int handle, const void* buffer, uint32_t count, uint32_t& done)
{
    done = 0;
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Write))
        return record(fault);
    if (handle < 0)
        return record(WinError::InvalidHandle);
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(handle, bytes + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return record(handleError(handle, errno));
        }
        // A write that takes nothing would loop for ever; the device is full.
        if (n == 0)
            return record(WinError::DiskFull);
        done += static_cast<uint32_t>(n);
    }
    return record(WinError::Success);
}

uint32_t FileSystem::seek(int handle, int64_t offset, int origin, int64_t& position)
{
    int whence;
    switch (origin) {
    case SeekBegin:
        whence = SEEK_SET;
        break;
    case SeekCurrent:
        whence = SEEK_CUR;
        break;
    case SeekEnd:
        whence = SEEK_END;
        break;
    default:
        return record(WinError::InvalidParameter);
    }
    if (handle < 0)
        return record(WinError::InvalidHandle);
    off_t result = ::lseek(handle, static_cast<off_t>(offset), whence);
    if (result < 0) {
        // With a valid origin, EINVAL means the position would fall before
        // the start of the file.
        if (errno == EINVAL)
            return record(WinError::NegativeSeek);
        return record(WinError::fromErrno(errno));
    }
    position = result;
    return record(WinError::Success);
}

uint32_t FileSystem::setEndOfFile(int handle)
{
    if (handle < 0)
        return record(WinError::InvalidHandle);
    off_t at = ::lseek(handle, 0, SEEK_CUR);
    if (at < 0)
        return record(WinError::fromErrno(errno));
    if (::ftruncate(handle, at) != 0)
        return record(handleError(handle, errno));
    return record(WinError::Success);
}

uint32_t FileSystem::size(int handle, int64_t& bytes)
{
    if (handle < 0)
        return record(WinError::InvalidHandle);
    struct stat info;
    if (::fstat(handle, &info) != 0)
        return record(WinError::fromErrno(errno));
    bytes = info.st_size;
    return record(WinError::Success);
}

uint32_t FileSystem::lastError()
{
    return lastErrorOfThread;
}

void FileSystem::setLastError(uint32_t error)
{
    lastErrorOfThread = error;
}
