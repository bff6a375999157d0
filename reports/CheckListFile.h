#pragma once

#include "fc/FCString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How a check-list writer ended.
enum class CheckListResult {
    NotRun,
    // Done: the scene list was written; every character was gone through.
    Written,
    // The user stopped it: nothing of the scene list was written; character
    // lists finished before the cancel stay.
    Cancelled,
    // A file could not be written and the user gave up (the file layer has
    // said why); nothing of that file is left.
    Failed,
};

// Check-list files: "@sceneCheckList." [name "."] nnnnnnnn extension in the
// output folder, nnnnnnnn the first number, counting up from 00000000 in
// eight lower-case hexadecimal digits, under which no file exists. Earlier
// lists are never overwritten, and a list is on disk whole or not at all.
namespace CheckListFile {

inline constexpr const char* Prefix = "@sceneCheckList.";

// The longest name part, in UTF-8 bytes: with the prefix, the number and
// the extension the file name stays well inside the 255 bytes a name
// may have on disk.
inline constexpr std::size_t MaxNativeNamePart = 200;

// The name part of a character's lists. Names come from screenplay
// headers, so one must not lead outside the output folder: every "/"
// and NUL becomes "_", and so does a name that is all "." or "..".
// Every name must also become a file name: a character with no UTF-8
// form becomes "_", and a name longer than MaxNativeNamePart UTF-8
// bytes is cut at a character boundary.
std::string safeNamePart(std::string_view name);

// Prefix + (name part + "." unless empty) + number + extension.
std::string fileName(std::string_view namePart, uint32_t number, std::string_view extension);

// Writes text under the first free name in folder (which ends with a
// separator) and gives its full path. The name is taken by creating the
// file, so a list that appears meanwhile is not overwritten either.
// False when the file could not be created or written and the user
// cancelled the file layer's box; a file cut short is removed again.
bool write(const FCString& folder, std::string_view namePart, std::string_view extension,
           std::string_view text, FCString& pathOut);

} // namespace CheckListFile
