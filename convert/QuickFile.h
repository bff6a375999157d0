#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>

// The shortest way to the system for the many small files of a conversion:
// a source read whole with one open, one stat and one read, a temporary
// file written with one open and one write. Nothing here asks the user
// anything: on any failure, and whenever a fault of FileFaults is armed,
// the caller takes the file layer's way instead, which meets the same
// failure and reports it as ever. Paths are CP932.
namespace QuickFile {

// The whole of a regular file; false (bytes undefined) when it could not
// be read so.
[[nodiscard]] bool read(std::string_view path, std::string& bytes);

// Creates a file that must not exist yet and writes bytes to it; its open
// descriptor, or -1 with no file left behind.
[[nodiscard]] int create(std::string_view path, std::string_view bytes);

// Writes bytes over an existing regular file (never through a link) from
// its start and cuts it to their length, when fits accepts what the open
// file is and no one else has it open; its open descriptor, or -1 (the
// file may then hold part of the bytes).
[[nodiscard]] int overwrite(std::string_view path, std::string_view bytes,
                            const std::function<bool(const struct stat&)>& fits);

// Removes the name (not what a link names); false when it cannot.
bool remove(std::string_view path);

// The UTF-8 name the kernel knows; false when the path has none.
bool nativePath(std::string_view path, std::string& native);

} // namespace QuickFile
