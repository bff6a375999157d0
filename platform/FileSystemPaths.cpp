#include "platform/FileFaults.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/TextCodec.h"
#include "platform/WinError.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The calls on paths: attributes, folders, deletion, current directory.

namespace {

uint32_t record(uint32_t error)
{
    FileSystem::setLastError(error);
    return error;
}

// The last component of a CP932 path, trailing separators ignored.
std::string_view nameOf(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool isReadOnly(const struct stat& info)
{
    // A symbolic link has no permissions of its own; deleting it never
    // touches its target.
    return !S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

// Follows links to what the CP932 path names; the native path is kept for
// the caller's next call. 0, or the error number of the failure.
uint32_t statOf(std::string_view path, std::string& native, struct stat& info)
{
    if (uint32_t error = NativePath::fromCp932(path, native))
        return error;
    if (::stat(native.c_str(), &info) != 0)
        return NativePath::errorFor(errno, native);
    return WinError::Success;
}

// What a deletion of the CP932 path would remove: the entry itself, a link
// not followed (a deletion never reaches a link's target). The native path
// is kept for the deletion. 0, or the error number of the failure, a fault
// set for deletions included.
uint32_t entryToDelete(std::string_view path, std::string& native, struct stat& info)
{
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::Delete))
        return fault;
    if (uint32_t error = NativePath::fromCp932(path, native))
        return error;
    if (::lstat(native.c_str(), &info) != 0)
        return NativePath::errorFor(errno, native);
    return WinError::Success;
}

} // namespace

uint32_t FileSystem::attributesOf(uint32_t mode, std::string_view name)
{
    uint32_t result = S_ISDIR(mode) ? AttributeDirectory : AttributeArchive;
    if ((mode & S_IWUSR) == 0)
        result |= AttributeReadOnly;
    if (!name.empty() && name[0] == '.' && name != "." && name != "..")
        result |= AttributeHidden;
    return result;
}

uint32_t FileSystem::attributes(std::string_view path, uint32_t& attributes)
{
    attributes = 0;
    std::string native;
    struct stat info;
    if (uint32_t error = statOf(path, native, info))
        return record(error);
    attributes = attributesOf(info.st_mode, nameOf(path));
    return record(WinError::Success);
}

FileSystem::EntryKind FileSystem::entryKindOf(uint32_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::File;
    return S_ISDIR(mode) ? EntryKind::Folder : EntryKind::Special;
}

uint32_t FileSystem::entryKind(std::string_view path, EntryKind& kind)
{
    kind = EntryKind::Special;
    std::string native;
    struct stat info;
    if (uint32_t error = statOf(path, native, info))
        return record(error);
    kind = entryKindOf(info.st_mode);
    return record(WinError::Success);
}

uint32_t FileSystem::setAttributes(std::string_view path, uint32_t attributes)
{
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::SetAttributes))
        return record(fault);
    std::string native;
    struct stat info;
    if (uint32_t error = statOf(path, native, info))
        return record(error);
    mode_t mode = info.st_mode & 07777;
    mode_t wanted = (attributes & AttributeReadOnly) != 0 ? mode & ~S_IWUSR : mode | S_IWUSR;
    if (wanted != mode && ::chmod(native.c_str(), wanted) != 0)
        return record(NativePath::errorFor(errno, native));
    return record(WinError::Success);
}

uint32_t FileSystem::createDirectory(std::string_view path)
{
    if (uint32_t fault = FileFaults::check(FileFaults::Kind::CreateDirectory))
        return record(fault);
    std::string native;
    if (uint32_t error = NativePath::fromCp932(path, native))
        return record(error == WinError::FileNotFound ? WinError::PathNotFound : error);
    if (::mkdir(native.c_str(), 0777) == 0)
        return record(WinError::Success);
    switch (errno) {
    case EEXIST:
        return record(WinError::AlreadyExists);
    case ENOENT:
        // Only a missing parent makes mkdir report ENOENT.
        return record(WinError::PathNotFound);
    default:
        return record(WinError::fromErrno(errno));
    }
}

uint32_t FileSystem::deleteFile(std::string_view path)
{
    std::string native;
    struct stat info;
    if (uint32_t error = entryToDelete(path, native, info))
        return record(error);
    // Windows refuses both a folder and a read-only file here; the root user
    // would not be stopped by the permissions, so the check is made here.
    if (S_ISDIR(info.st_mode) || isReadOnly(info))
        return record(WinError::AccessDenied);
    if (::unlink(native.c_str()) != 0)
        return record(NativePath::errorFor(errno, native));
    return record(WinError::Success);
}

uint32_t FileSystem::removeDirectory(std::string_view path)
{
    std::string native;
    struct stat info;
    if (uint32_t error = entryToDelete(path, native, info))
        return record(error);
    if (!S_ISDIR(info.st_mode))
        return record(WinError::DirectoryInvalid);
    if (isReadOnly(info))
        return record(WinError::AccessDenied);
    if (::rmdir(native.c_str()) == 0)
        return record(WinError::Success);
    if (errno == ENOTEMPTY || errno == EEXIST)
        return record(WinError::DirectoryNotEmpty);
    return record(NativePath::errorFor(errno, native));
}

bool FileSystem::currentDirectory(std::string& path)
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() >= (1u << 20)) {
            record(WinError::fromErrno(errno));
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
    // Linux reports a directory outside the process's root as
    // "(unreachable)/...", which names nothing.
    std::string cp932;
    if (buffer[0] != '/' || !TextCodec::fromUtf8Exact(buffer.data(), cp932)) {
        record(WinError::PathNotFound);
        return false;
    }
    while (cp932.size() > 1 && cp932.back() == '/')
        cp932.pop_back();
    path = cp932;
    record(WinError::Success);
    return true;
}
