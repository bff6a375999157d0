#pragma once

#include "fc/FCString.h"

#include <string_view>

// Replacing a file by a new text as a whole: the text goes to a temporary
// file in the same folder, is flushed to the disk, and only then takes the
// file's name, so a failure or a crash never leaves a file cut short (the
// old one stays then).
namespace FileReplacement {

// path is an absolute CP932 path. False when the text could not be
// written or put in place and the user gave up in the Retry/Cancel box;
// no temporary file is left behind then. The boxes name path, never the
// temporary file, and say why; for a file in the program's folder they
// also say where the program keeps its files and why there.
[[nodiscard]] bool replace(const FCString& path, std::string_view text);

} // namespace FileReplacement
