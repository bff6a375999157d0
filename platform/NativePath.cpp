#include "platform/NativePath.h"

#include "platform/TextCodec.h"
#include "platform/WinError.h"

#include <cerrno>
#include <sys/stat.h>

uint32_t NativePath::fromCp932(std::string_view path, std::string& native)
{
    native.clear();
    if (path.empty())
        return WinError::PathNotFound;
    if (path.find('\0') != std::string_view::npos)
        return WinError::InvalidName;
    if (TextCodec::toUtf8Exact(path, native))
        return WinError::Success;
    native.clear();
    // 0x2F is never a trail byte in CP932, so the last "/" byte is the last
    // separator.
    std::size_t slash = path.find_last_of('/');
    std::string folder;
    bool folderConverts =
        slash == std::string_view::npos || TextCodec::toUtf8Exact(path.substr(0, slash), folder);
    return folderConverts ? WinError::FileNotFound : WinError::PathNotFound;
}

uint32_t NativePath::errorFor(int error, const std::string& native)
{
    if (error != ENOENT)
        return WinError::fromErrno(error);
    struct stat info;
    std::string parent = parentOf(native);
    if (::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return WinError::FileNotFound;
    return WinError::PathNotFound;
}

std::string NativePath::parentOf(const std::string& native)
{
    std::size_t end = native.size();
    while (end > 1 && native[end - 1] == '/')
        --end;
    std::size_t slash = native.find_last_of('/', end - 1);
    if (slash == std::string::npos)
        return ".";
    while (slash > 0 && native[slash - 1] == '/')
        --slash;
    if (slash == 0)
        return "/";
    return native.substr(0, slash);
}
