#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The step from the program's CP932 paths to the UTF-8 names the kernel
// knows, and the choice between "file not found" and "path not found" that
// Windows makes and errno does not.
namespace NativePath {

// The UTF-8 form of a CP932 path, or a Windows error number: PathNotFound
// for the empty path, InvalidName for a path holding a NUL (the kernel
// would cut it there and name another file), and FileNotFound or
// PathNotFound when the name or one of its folders has no exact UTF-8
// form, since such a name cannot exist on disk.
uint32_t fromCp932(std::string_view path, std::string& native);

// The Windows error number for an errno raised by a call on native:
// ENOENT is FileNotFound when the parent folder exists and PathNotFound
// otherwise; the rest as WinError::fromErrno.
uint32_t errorFor(int error, const std::string& native);

// The folder that holds native: "." for a bare name, "/" for an entry of
// the root. Trailing separators do not count as a level.
std::string parentOf(const std::string& native);

} // namespace NativePath
