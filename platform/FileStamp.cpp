#include "platform/FileStamp.h"

#include <sys/stat.h>

FileStamp FileStamp::of(const std::string& native, Link link)
{
    FileStamp stamp;
    struct stat status {};
    if (native.empty())
        return stamp;
    const int result =
        link == Link::Follow ? ::stat(native.c_str(), &status) : ::lstat(native.c_str(), &status);
    if (result != 0)
        return stamp;
    stamp = {true, status.st_ino, status.st_mtim.tv_sec, status.st_mtim.tv_nsec, status.st_size};
    return stamp;
}
