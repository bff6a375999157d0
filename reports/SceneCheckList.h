#pragma once

#include "fc/FCString.h"
#include "reports/CheckListFile.h"

#include <string>

class Notices;
class Progress;
struct ScenarioContext;
class ScriptCatalogue;

// The scene list: every scene of the catalogue, in display order, with its
// characters, the page count of one script and the character's word count,
// marked □ when the script would be printed. Scripts that would not be
// printed (■) and scenes without a speaking character (※) are listed only
// with listUnprinted. One file "@sceneCheckList." nnnnnnnn ".csv" or ".txt".
namespace SceneCheckList {

// Builds the text in memory, entry by entry under progress, and writes
// it whole; then a notice names the file. A cancel drops the whole list
// without a message.
CheckListResult write(const ScenarioContext& context, const ScriptCatalogue& catalogue,
                      const FCString& folder, bool csv, bool listUnprinted, Progress& progress,
                      Notices& notices);

// The header lines of a format.
std::string header(const ScenarioContext& context, bool csv);
// The lines of one entry.
void appendEntry(std::string& text, const ScenarioContext& context,
                 const ScriptCatalogue& catalogue, int index, bool csv, bool listUnprinted);

} // namespace SceneCheckList
