#pragma once

#include "fc/FCString.h"

class Notices;

// The output folder of the check lists as the user typed it, made ready for
// writing: the dialog "台本チェックリストの出力" takes it on OK, the batch
// tool from its options.
namespace CheckListDestination {

// False, with the reason in message, when the text is empty. A relative
// folder is taken against the current directory, since the notices name
// full paths. A folder that does not exist is created only when the user
// agrees twice (asked in notices, then by the folder creation); otherwise
// false with an empty message. True: folder holds the absolute folder,
// ending with a separator.
bool resolve(const FCString& text, Notices& notices, FCString& folder, FCString& message);

} // namespace CheckListDestination
