#include "convert/QuickFile.h"

#include "platform/FileFaults.h"
#include "platform/NativePath.h"
#include "platform/StagedFile.h"
#include "platform/WinError.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Larger files go the file layer's way, which reads them in pieces and
// refuses those no string can hold.
constexpr off_t Largest = off_t(1) << 30;

// Whether no one but this descriptor has the file open: a write lease is
// granted only then. A lease broken while held is told by SIGURG, which is
// ignored, rather than by SIGIO, which would end the process.
bool openHereAlone(int fd)
{
    if (::fcntl(fd, F_SETSIG, SIGURG) != 0 || ::fcntl(fd, F_SETLEASE, F_WRLCK) != 0)
        return false;
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    return true;
}

} // namespace

bool QuickFile::nativePath(std::string_view path, std::string& native)
{
    // An ASCII path reads the same in CP932 and UTF-8; only others need the
    // converter.
    const bool ascii = !path.empty() && std::all_of(path.begin(), path.end(), [](char byte) {
        return static_cast<unsigned char>(byte) < 0x80 && byte != '\0';
    });
    if (!ascii)
        return NativePath::fromCp932(path, native) == WinError::Success;
    native.assign(path);
    return true;
}

bool QuickFile::read(std::string_view path, std::string& bytes)
{
    std::string native;
    if (FileFaults::armed() || !nativePath(path, native))
        return false;
    // Not blocking: a FIFO named like a source must not hang the open.
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool whole = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size < Largest) {
        // One byte more than the file holds, so that one read tells the end.
        bytes.resize(std::size_t(info.st_size) + 1);
        std::size_t done = 0;
        for (;;) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                break;
            done += std::size_t(n);
            // A read that stops short at the size the stat gave is at the
            // end: the byte more it asked for is not there.
            if (n == 0 || done == std::size_t(info.st_size)) {
                whole = true;
                break;
            }
            // Filled to the last byte: the file grew meanwhile, and the
            // file layer reads it again.
            if (done == bytes.size())
                break;
        }
        bytes.resize(done);
    }
    ::close(fd);
    return whole;
}

int QuickFile::create(std::string_view path, std::string_view bytes)
{
    std::string native;
    if (FileFaults::armed() || !nativePath(path, native))
        return -1;
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    if (!StagedFile::writeAll(fd, bytes)) {
        ::close(fd);
        ::unlink(native.c_str());
        return -1;
    }
    return fd;
}

int QuickFile::overwrite(std::string_view path, std::string_view bytes,
                         const std::function<bool(const struct stat&)>& fits)
{
    std::string native;
    if (FileFaults::armed() || !nativePath(path, native))
        return -1;
    const int fd =
        ::open(native.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info;
    // A reader that opened the file under its old name reads on what was
    // there, as it would after a rename over that name.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !fits(info) || !openHereAlone(fd) ||
        !StagedFile::writeAll(fd, bytes) || ::ftruncate(fd, off_t(bytes.size())) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool QuickFile::remove(std::string_view path)
{
    std::string native;
    return nativePath(path, native) && ::unlink(native.c_str()) == 0;
}
