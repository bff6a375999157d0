#include "fc/FileReplacement.h"

#include "fc/FCPathName.h"
#include "fc/FileErrorText.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/ProgramFolders.h"
#include "platform/Prompt.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// The temporary file is this class's own affair: every box names the file
// the user asked for, says why it could not be written and, for the
// program's own files, where the program put them and why there.
bool askRetry(const char* title, const std::string& destination, uint32_t error)
{
    std::string text = destination + Sjis::of("\nを書き込めませんでした");
    if (const char* reason = FileErrorText::reason(error))
        text += reason;
    else
        text += Sjis::of("\n未知のエラーです code:") + std::to_string(error);
    const std::string folder = ProgramFolders::programFolder();
    if (destination.compare(0, folder.size(), folder) == 0 &&
        destination.find('/', folder.size()) == std::string::npos)
        text += ProgramFolders::placementNote();
    return Prompt::current().ask(title, text, Prompt::Buttons::RetryCancel) ==
           Prompt::Answer::Retry;
}

// Writes all of text; false when the user gave up.
bool writeAll(int handle, std::string_view text, const std::string& destination)
{
    size_t offset = 0;
    while (offset < text.size()) {
        uint32_t done = 0;
        const size_t piece = std::min<size_t>(text.size() - offset, 1u << 30);
        const uint32_t error =
            FileSystem::write(handle, text.data() + offset, uint32_t(piece), done);
        if (error == WinError::Success && done > 0) {
            offset += done;
            continue;
        }
        if (!askRetry("FCFile - write", destination,
                      error == WinError::Success ? WinError::DiskFull : error))
            return false;
    }
    return true;
}

} // namespace

bool FileReplacement::replace(const FCString& path, std::string_view text)
{
    const FCPathName target(path);
    if (!target.isAbsolute())
        return false;
    const std::string destination(target.string().view());
    static std::atomic<unsigned> counter{0};
    // Beside the target, so that the rename stays within one file system.
    const std::string temporary =
        destination + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
    bool written = false;
    for (;;) {
        int handle = FileSystem::InvalidHandle;
        for (;;) {
            const uint32_t error =
                FileSystem::open(temporary, FileSystem::CreateAlways,
                                 FileSystem::GenericRead | FileSystem::GenericWrite,
                                 FileSystem::ShareRead, FileSystem::AttributeNormal, handle);
            if (error == WinError::Success)
                break;
            if (!askRetry("FCFile - open", destination, error))
                return false;
        }
        written = writeAll(handle, text, destination);
        // On disk before it takes the target's name, so that a crash cannot
        // leave an empty file where the old one was.
        uint32_t flushError = WinError::Success;
        if (written && ::fsync(handle) != 0)
            flushError = WinError::fromErrno(errno);
        FileSystem::close(handle);
        if (flushError == WinError::Success)
            break;
        // After a failed flush the data may be gone whatever a second flush
        // says: a retry writes the file anew.
        Trace::write("FileReplacement: cannot flush " + temporary + "\n");
        written = false;
        if (!askRetry("FCFile - write", destination, flushError))
            break;
    }

    std::string nativeTemporary, nativeTarget;
    if (written && (NativePath::fromCp932(temporary, nativeTemporary) != WinError::Success ||
                    NativePath::fromCp932(destination, nativeTarget) != WinError::Success)) {
        Trace::write("FileReplacement: no native name for " + destination + "\n");
        written = false;
    }
    while (written && std::rename(nativeTemporary.c_str(), nativeTarget.c_str()) != 0) {
        const int error = errno;
        Trace::write("FileReplacement: cannot put the file in place: " + destination + "\n");
        written =
            askRetry("FCFile - write", destination, NativePath::errorFor(error, nativeTarget));
    }
    if (!written && FileSystem::deleteFile(temporary) != WinError::Success)
        Trace::write("FileReplacement: cannot remove " + temporary + "\n");
    return written;
}
