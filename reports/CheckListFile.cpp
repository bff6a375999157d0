#include "reports/CheckListFile.h"

#include "fc/Diagnostic.h"
#include "fc/FCFile.h"
#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <cstdio>

std::string CheckListFile::safeNamePart(std::string_view name)
{
    if (name == "." || name == "..")
        return "_";
    // Byte by byte: no trail byte of a double-byte character is "/" or NUL,
    // so no character is broken, and a stray lead byte cannot hide a "/"
    // behind it.
    std::string safe(name);
    for (char& byte : safe) {
        if (byte == '/' || byte == '\0')
            byte = '_';
    }
    // Names on disk are UTF-8: a character without a UTF-8 form (a lone lead
    // byte, an unassigned code) could never be created, so it becomes "_";
    // and the name stops before the whole file name would pass the system's
    // limit on the length of one name.
    std::string usable;
    std::size_t nativeLength = 0;
    const char* end = safe.data() + safe.size();
    for (const char* p = safe.data(); p < end;) {
        const int length = Cp932::charLength(p, end);
        std::string character(p, static_cast<std::size_t>(length));
        std::string native;
        if (!TextCodec::toUtf8Exact(character, native)) {
            character = "_";
            native = "_";
        }
        if (nativeLength + native.size() > MaxNativeNamePart)
            break;
        nativeLength += native.size();
        usable += character;
        p += length;
    }
    return usable;
}

std::string CheckListFile::fileName(std::string_view namePart, uint32_t number,
                                    std::string_view extension)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08x", number);
    std::string name(Prefix);
    if (!namePart.empty()) {
        name.append(namePart);
        name.push_back('.');
    }
    name.append(digits);
    name.append(extension);
    return name;
}

namespace {

// Opens a new file under the first free number; false when the user gave up.
bool createFree(FCFile& file, const std::string& folder, std::string_view namePart,
                std::string_view extension, std::string& path)
{
    uint32_t number = 0;
    for (;;) {
        path = folder + CheckListFile::fileName(namePart, number, extension);
        const uint32_t error = file.open(path.c_str(), FileSystem::CreateNew, FCFile::WriteAccess,
                                         FCFile::Share, FCFile::Attributes, true);
        if (error == WinError::Success)
            return true;
        if (error != WinError::FileExists || number == UINT32_MAX)
            break;
        ++number;
    }
    // Anything but a taken name goes to the user, who may retry or give up.
    try {
        file.open(path.c_str(), FileSystem::CreateNew, FCFile::WriteAccess, FCFile::Share,
                  FCFile::Attributes);
    } catch (const Diagnostic&) {
        return false;
    }
    return file.isOpen();
}

} // namespace

bool CheckListFile::write(const FCString& folder, std::string_view namePart,
                          std::string_view extension, std::string_view text, FCString& pathOut)
{
    FCFile file;
    std::string path;
    if (!createFree(file, std::string(folder.view()), namePart, extension, path))
        return false;
    try {
        FCString(text).writeText(file);
    } catch (const Diagnostic&) {
        file.close();
        // The file is this call's own, so removing it loses nothing.
        if (FileSystem::deleteFile(path) != WinError::Success)
            Trace::write("CheckListFile: cannot remove the incomplete " + path + "\n");
        return false;
    }
    file.close();
    pathOut = FCString(path);
    return true;
}
