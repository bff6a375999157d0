#include "fc/FileBytes.h"

#include "platform/FileSystem.h"
#include "platform/WinError.h"

uint32_t FileBytes::read(std::string_view path, std::string& bytes)
{
    int handle = FileSystem::InvalidHandle;
    if (const uint32_t error =
            FileSystem::open(path, FileSystem::OpenExisting, FileSystem::GenericRead,
                             FileSystem::ShareRead, FileSystem::AttributeNormal, handle))
        return error;
    int64_t expected = 0;
    if (FileSystem::size(handle, expected) == WinError::Success && expected > 0)
        bytes.reserve(bytes.size() + std::size_t(expected));
    char buffer[65536];
    uint32_t error = WinError::Success;
    for (;;) {
        uint32_t done = 0;
        error = FileSystem::read(handle, buffer, sizeof buffer, done);
        if (error != WinError::Success || done == 0)
            break;
        bytes.append(buffer, done);
    }
    FileSystem::close(handle);
    return error;
}
