#include "fc/FileHelpers.h"

#include "fc/FCPathName.h"
#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <string>
#include <string_view>

bool fileExists(const char* text, uint32_t* attributesOut)
{
    if (!text)
        return false;
    FCPathName path(text);
    if (path.isEmpty())
        return false;
    uint32_t attributes = 0;
    if (FileSystem::attributes(path.string().view(), attributes) != WinError::Success)
        return false;
    if (attributesOut)
        *attributesOut = attributes;
    return true;
}

bool createDirectories(const char* text)
{
    FCPathName path(text);
    // An unresolved path (an optical drive that is not there, a current
    // directory that cannot be read) would create folders in whatever folder
    // the process happens to be in.
    if (!path.isAbsolute())
        return false;
    path.addSeparator();

    // Each prefix of the path that ends with a "/" is one folder of the
    // chain, the root first. The walk goes by characters so that no trail
    // byte is taken for a separator.
    std::string_view full = path.string().view();
    const char* begin = full.data();
    const char* end = begin + full.size();
    bool created = false;
    for (const char* p = begin; p < end; p = Cp932::next(p, end)) {
        if (*p != '/' || Cp932::charLength(p, end) != 1)
            continue;
        std::string prefix(begin, static_cast<size_t>(p - begin) + 1);
        if (fileExists(prefix.c_str()))
            continue;
        uint32_t error = FileSystem::createDirectory(prefix);
        if (error != WinError::Success) {
            Trace::write("createDirectories: cannot create ");
            Trace::write(prefix);
            Trace::write(", error " + std::to_string(error) + "\n");
            return false;
        }
        created = true;
    }
    return created;
}
