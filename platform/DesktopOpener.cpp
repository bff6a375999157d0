#include "platform/DesktopOpener.h"

#include "platform/NativePath.h"
#include "platform/WinError.h"

#include <cerrno>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

bool DesktopOpener::open(std::string_view cp932)
{
    std::string native;
    if (cp932.empty() || NativePath::fromCp932(cp932, native) != WinError::Success)
        return false;
    char program[] = "xdg-open";
    char* argv[] = {program, native.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
