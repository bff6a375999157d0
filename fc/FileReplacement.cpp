#include "fc/FileReplacement.h"

#include "fc/Diagnostic.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <unistd.h>

bool FileReplacement::replace(const FCString& path, std::string_view text)
{
    const FCPathName target(path);
    if (!target.isAbsolute())
        return false;
    static std::atomic<unsigned> counter{0};
    // Beside the target, so that the rename stays within one file system; the
    // name says whose it is should the box of the file layer show it.
    const std::string temporary = std::string(target.string().view()) + "." +
                                  std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                                  ".part";
    FCFile file;
    try {
        file.open(temporary.c_str(), FileSystem::CreateAlways, FCFile::WriteAccess, FCFile::Share,
                  FCFile::Attributes);
    } catch (const Diagnostic&) {
        return false;
    }
    if (!file.isOpen())
        return false;

    bool written = true;
    try {
        FCString(text).writeText(file);
    } catch (const Diagnostic&) {
        written = false;
    }
    // On disk before it takes the log's name, so that a crash cannot leave
    // an empty file where the old one was.
    if (written && ::fsync(file.handle()) != 0) {
        Trace::write("FileReplacement: cannot flush " + temporary + "\n");
        written = false;
    }
    file.close();

    std::string nativeTemporary, nativeTarget;
    if (written &&
        (NativePath::fromCp932(temporary, nativeTemporary) != WinError::Success ||
         NativePath::fromCp932(target.string().view(), nativeTarget) != WinError::Success ||
         std::rename(nativeTemporary.c_str(), nativeTarget.c_str()) != 0)) {
        Trace::write("FileReplacement: cannot put the file in place: " + std::string(path.view()) +
                     "\n");
        written = false;
    }
    if (!written && FileSystem::deleteFile(temporary) != WinError::Success)
        Trace::write("FileReplacement: cannot remove " + temporary + "\n");
    return written;
}
