#pragma once

#include "fc/FCString.h"

#include <string_view>

// Replacing a file by a new text as a whole: the text goes to a temporary
// file in the same folder, is flushed to the disk, and only then takes the
// file's name, so a failure or a crash never leaves a file cut short (the
// old one stays then).
class FileReplacement {
public:
    // path is an absolute CP932 path. False when the text could not be
    // written (the file layer has told the user why) or put in place; no
    // temporary file is left behind then.
    [[nodiscard]] static bool replace(const FCString& path, std::string_view text);
};
