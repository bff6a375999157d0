#include "platform/FileTransfer.h"

#include "platform/FileFaults.h"
#include "platform/WinError.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t BufferSize = std::size_t(256) << 10;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

uint32_t lastError()
{
    return WinError::fromErrno(errno);
}

// Opens a file for reading without waiting on a FIFO; the stat tells what
// it is.
uint32_t openForReading(const std::string& path, Descriptor& out, struct stat& info)
{
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Open))
        return fault;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? WinError::FileNotFound : lastError();
    out.reset(fd);
    if (::fstat(fd, &info) != 0)
        return lastError();
    return WinError::Success;
}

uint32_t readSome(int fd, char* buffer, std::size_t size, std::size_t& got)
{
    got = 0;
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Read))
        return fault;
    while (got < size) {
        const ssize_t n = ::read(fd, buffer + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    return WinError::Success;
}

uint32_t writeAll(int fd, const char* buffer, std::size_t size)
{
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Write))
        return fault;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        if (n == 0)
            return WinError::DiskFull;
        done += std::size_t(n);
    }
    return WinError::Success;
}

} // namespace

uint32_t FileTransfer::makeFolders(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? WinError::Success : WinError::AlreadyExists;
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (uint32_t error = makeFolders(path.substr(0, slash)))
            return error;
    }
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::CreateDirectory))
        return fault;
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
        return lastError();
    return WinError::Success;
}

uint32_t FileTransfer::compare(const std::string& source, const std::string& path, Presence& out)
{
    out = Presence::Absent;
    struct stat there;
    if (::lstat(path.c_str(), &there) != 0)
        return errno == ENOENT ? WinError::Success : lastError();
    out = Presence::Different;
    if (!S_ISREG(there.st_mode))
        return WinError::Success;
    Descriptor a, b;
    struct stat infoA, infoB;
    if (uint32_t error = openForReading(source, a, infoA))
        return error;
    if (uint32_t error = openForReading(path, b, infoB))
        return error;
    if (!S_ISREG(infoB.st_mode) || infoA.st_size != infoB.st_size)
        return WinError::Success;
    if (infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino) {
        out = Presence::Same;
        return WinError::Success;
    }
    std::unique_ptr<char[]> bufferA(new char[BufferSize]);
    std::unique_ptr<char[]> bufferB(new char[BufferSize]);
    for (;;) {
        std::size_t gotA = 0, gotB = 0;
        if (uint32_t error = readSome(a.get(), bufferA.get(), BufferSize, gotA))
            return error;
        if (uint32_t error = readSome(b.get(), bufferB.get(), BufferSize, gotB))
            return error;
        if (gotA != gotB || std::memcmp(bufferA.get(), bufferB.get(), gotA) != 0)
            return WinError::Success;
        if (gotA == 0)
            break;
    }
    out = Presence::Same;
    return WinError::Success;
}

uint32_t FileTransfer::copyFlushed(const std::string& source, const std::string& copy)
{
    Descriptor from;
    struct stat info;
    if (uint32_t error = openForReading(source, from, info))
        return error;
    if (!S_ISREG(info.st_mode))
        return WinError::AccessDenied;
    ::fcntl(from.get(), F_SETFL, ::fcntl(from.get(), F_GETFL) & ~O_NONBLOCK);
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Open))
        return fault;
    const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? WinError::FileExists : lastError();
    uint32_t error = WinError::Success;
    {
        Descriptor to(fd);
        std::unique_ptr<char[]> buffer(new char[BufferSize]);
        for (;;) {
            std::size_t got = 0;
            error = readSome(from.get(), buffer.get(), BufferSize, got);
            if (error || got == 0)
                break;
            error = writeAll(to.get(), buffer.get(), got);
            if (error)
                break;
        }
        if (!error && ::fsync(to.get()) != 0)
            error = lastError();
    }
    if (error)
        ::unlink(copy.c_str());
    return error;
}

uint32_t FileTransfer::renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return WinError::Success;
    if (errno == EEXIST)
        return WinError::FileExists;
    if (errno == EXDEV)
        return WinError::NotSameDevice;
    if (errno != EINVAL && errno != ENOSYS)
        return lastError();
    // A file system without the no-replace rename: a hard link takes the
    // name only when it is free, then the old name goes.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno == EEXIST ? WinError::FileExists : lastError();
    if (::unlink(from.c_str()) != 0)
        return lastError();
    return WinError::Success;
}

uint32_t FileTransfer::remove(const std::string& path)
{
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Delete))
        return fault;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return lastError();
    return WinError::Success;
}

uint32_t FileTransfer::syncFolder(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return lastError();
    Descriptor folder(fd);
    if (::fsync(fd) != 0 && errno != EINVAL)
        return lastError();
    return WinError::Success;
}

uint32_t FileTransfer::removeStartingWith(const std::string& folder, std::string_view prefix)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return errno == ENOENT ? WinError::Success : lastError();
    std::vector<std::string> doomed;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::string_view(entry->d_name).substr(0, prefix.size()) == prefix)
            doomed.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : doomed) {
        if (uint32_t error = remove(folder + "/" + name))
            return error;
    }
    return WinError::Success;
}
