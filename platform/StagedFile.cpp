#include "platform/StagedFile.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view Suffix = ".part";

// A fresh name in folder, opened exclusively.
int openTemporary(const std::string& folder, std::string_view prefix, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + (folder.empty() || folder.back() != '/' ? "/" : "");
        name.append(prefix);
        name += std::to_string(::getpid()) + "-" + std::to_string(counter++);
        name.append(Suffix);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The process that wrote a temporary, from its name; 0 when the name is not
// one of ours.
pid_t writerOf(std::string_view name, std::string_view prefix)
{
    if (name.size() <= prefix.size() + Suffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - Suffix.size()) != Suffix)
        return 0;
    const std::string_view middle =
        name.substr(prefix.size(), name.size() - prefix.size() - Suffix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(middle.data(), middle.data() + middle.size(), pid);
    if (error != std::errc() || end == middle.data() + middle.size() || *end != '-' || pid <= 0)
        return 0;
    return pid;
}

} // namespace

bool StagedFile::writeAll(int fd, std::string_view bytes)
{
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

int StagedFile::write(const std::string& folder, std::string_view prefix, const uint8_t* data,
                      std::size_t size, std::string& temporary)
{
    const int fd = openTemporary(folder, prefix, temporary);
    if (fd < 0)
        return CannotOpen;
    bool written = writeAll(fd, std::string_view(reinterpret_cast<const char*>(data), size));
    if (::close(fd) != 0)
        written = false;
    if (!written) {
        ::unlink(temporary.c_str());
        return WriteFailed;
    }
    return Written;
}

int StagedFile::tryPlace(const std::string& temporary, const std::string& target, bool overwrite)
{
    if (!overwrite) {
        if (::link(temporary.c_str(), target.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return Written;
        }
        if (errno == EEXIST)
            return Exists;
        // File systems without hard links: check, then rename.
        if (exists(target))
            return Exists;
    }
    return ::rename(temporary.c_str(), target.c_str()) == 0 ? Written : CannotPlace;
}

int StagedFile::place(const std::string& temporary, const std::string& target, bool overwrite)
{
    const int result = tryPlace(temporary, target, overwrite);
    if (result != Written)
        ::unlink(temporary.c_str());
    return result;
}

bool StagedFile::read(const std::string& file, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    bool whole = ::fstat(fd, &status) == 0;
    if (whole) {
        bytes.resize(std::size_t(status.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        whole = done == bytes.size();
    }
    ::close(fd);
    return whole;
}

bool StagedFile::exists(const std::string& native)
{
    struct stat status {};
    return ::lstat(native.c_str(), &status) == 0;
}

int StagedFile::removeLeftovers(const std::string& folder, std::string_view prefix)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    const std::string base = folder + (folder.empty() || folder.back() != '/' ? "/" : "");
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = writerOf(entry->d_name, prefix);
        // A process that still runs (this one among them) may be writing it.
        if (writer == 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH)
            continue;
        const std::string path = base + entry->d_name;
        struct stat status {};
        if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}
