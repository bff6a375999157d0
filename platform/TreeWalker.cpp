#include "platform/TreeWalker.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Identity = std::pair<dev_t, ino_t>;

struct Entry {
    std::string name;
    enum class Kind { File, Folder, Special, BrokenLink, Hidden } kind;
    bool viaLink = false;
    int error = 0;
};

Entry::Kind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return Entry::Kind::File;
    return S_ISDIR(mode) ? Entry::Kind::Folder : Entry::Kind::Special;
}

// Reads a folder whole and closes it again; false with errno when it cannot
// be read.
bool listFolder(int fd, std::vector<Entry>& entries, bool skipHidden)
{
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    errno = 0;
    while (const dirent* found = ::readdir(dir)) {
        const std::string_view name(found->d_name);
        if (name == "." || name == "..")
            continue;
        Entry entry{std::string(name), Entry::Kind::File};
        if (skipHidden && name.front() == '.') {
            entry.kind = Entry::Kind::Hidden;
        } else if (found->d_type == DT_REG) {
            entry.kind = Entry::Kind::File;
        } else if (found->d_type == DT_DIR) {
            entry.kind = Entry::Kind::Folder;
        } else if (found->d_type == DT_LNK || found->d_type == DT_UNKNOWN) {
            // Only here is a stat needed: what the link leads to, or what a
            // file system that gives no types holds.
            struct stat info;
            entry.viaLink = found->d_type == DT_LNK;
            if (::fstatat(::dirfd(dir), found->d_name, &info, 0) == 0) {
                entry.kind = kindOfMode(info.st_mode);
            } else {
                entry.kind = Entry::Kind::BrokenLink;
                entry.error = errno;
            }
        } else {
            entry.kind = Entry::Kind::Special;
        }
        entries.push_back(std::move(entry));
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    errno = error;
    return error == 0;
}

} // namespace

int TreeWalker::walk(const std::string& root, const Visitor& visitor, const Options& options)
{
    const int rootFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0)
        return errno;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{rootFd};

    std::set<Identity> walked;
    std::set<Identity> excluded;
    struct stat info;
    if (!options.excluded.empty() && ::stat(options.excluded.c_str(), &info) == 0)
        excluded.insert({info.st_dev, info.st_ino});

    auto skip = [&](const std::string& relative, Skip why, int error) {
        if (visitor.skipped)
            visitor.skipped(relative, why, error);
    };

    // Folders still to walk, the next one last; "" is the root.
    std::vector<std::string> pending{std::string()};
    while (!pending.empty()) {
        if (visitor.keepGoing && !visitor.keepGoing())
            return 0;
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        const int fd = folder.empty()
                           ? ::dup(rootFd)
                           : ::openat(rootFd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 || ::fstat(fd, &info) != 0) {
            const int error = errno;
            if (fd >= 0)
                ::close(fd);
            if (folder.empty())
                return error;
            skip(folder, Skip::Unreadable, error);
            continue;
        }
        const Identity identity{info.st_dev, info.st_ino};
        if (excluded.count(identity) != 0) {
            ::close(fd);
            skip(folder, Skip::Excluded, 0);
            continue;
        }
        if (!walked.insert(identity).second) {
            ::close(fd);
            skip(folder, Skip::AlreadyWalked, 0);
            continue;
        }
        std::vector<Entry> entries;
        if (!listFolder(fd, entries, options.skipHidden)) {
            if (folder.empty())
                return errno;
            skip(folder, Skip::Unreadable, errno);
            continue;
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name; });
        const std::string prefix = folder.empty() ? std::string() : folder + "/";
        std::vector<std::string> subfolders;
        for (const Entry& entry : entries) {
            const std::string relative = prefix + entry.name;
            switch (entry.kind) {
            case Entry::Kind::File:
                if (visitor.file)
                    visitor.file(relative, entry.viaLink);
                break;
            case Entry::Kind::Folder:
                subfolders.push_back(relative);
                break;
            case Entry::Kind::Special:
                skip(relative, Skip::Special, 0);
                break;
            case Entry::Kind::BrokenLink:
                skip(relative, Skip::BrokenLink, entry.error);
                break;
            case Entry::Kind::Hidden:
                skip(relative, Skip::Hidden, 0);
                break;
            }
        }
        pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }
    return 0;
}
