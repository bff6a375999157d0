#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Copying, comparing and renaming whole files on native (UTF-8) paths, for
// work that must never lose a file: a copy is flushed to the disk before it
// counts, and a rename never replaces what is already there. Every call
// returns a Windows error number (WinError), 0 on success, and goes through
// the test seam of the file layer (FileFaults: Open, Read, Write, Delete and
// CreateDirectory), so that a test can make it fail as a full disk would.
namespace FileTransfer {

// Creates the folder and every missing folder above it.
uint32_t makeFolders(const std::string& path);

enum class Presence {
    Absent,
    // A regular file with the same bytes.
    Same,
    // Anything else under that name: other bytes, a folder, a FIFO.
    Different,
};
// What stands under `path` compared with the regular file `source`.
uint32_t compare(const std::string& source, const std::string& path, Presence& out);

// Copies source into the new file `copy` (FileExists when the name is
// taken) and flushes it to the disk. A copy cut short is removed again.
uint32_t copyFlushed(const std::string& source, const std::string& copy);

// Gives `from` the name `to` in one step unless something is there:
// FileExists then, NotSameDevice when the two lie on different file
// systems.
uint32_t renameNoReplace(const std::string& from, const std::string& to);

uint32_t remove(const std::string& path);
// Flushes a folder's entries, so that a rename in it outlives a crash.
uint32_t syncFolder(const std::string& path);
// Removes every entry of a folder whose name begins with prefix; a
// missing folder has none.
uint32_t removeStartingWith(const std::string& folder, std::string_view prefix);

} // namespace FileTransfer
