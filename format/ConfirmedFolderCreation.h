#pragma once

#include "fc/FCString.h"

#include <string_view>

class Notices;

// Creating an output folder only after the user agreed: an existing folder
// is fine as it is; otherwise the question, under the caller's caption, asks
// whether to create it, and the folder is made with every missing parent. A
// failure is told in the notice "フォルダが作成できません".
namespace ConfirmedFolderCreation {

// path is CP932; it counts with a separator appended when it has none.
// The question and the notice go to notices. True when the folder exists
// afterwards.
bool run(std::string_view path, std::string_view caption, Notices& notices);

// Whether path names an existing folder (a file of that name is none).
bool folderExists(std::string_view path);

} // namespace ConfirmedFolderCreation
