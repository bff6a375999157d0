#pragma once

#include "fc/FCString.h"
#include "reports/CheckListFile.h"

#include <string>
#include <string_view>

class Notices;
class Progress;
struct ScenarioContext;
class ScriptCatalogue;

// The character lists: for every character of the scenario totals, in their
// order, one file "@sceneCheckList." name "." nnnnnnnn ".csv" or ".txt" with
// every scene in which the character speaks (in display order), marked
// □ when the script would be printed; ■ lines only with listUnprinted. A
// character without any line to list gets no file. At the end the notice
// "出力されたファイル一覧" tells what was written.
namespace CharacterCheckList {

CheckListResult write(const ScenarioContext& context, const ScriptCatalogue& catalogue,
                      const FCString& folder, bool csv, bool listUnprinted, Progress& progress,
                      Notices& notices);

// The text of one character's list; lines counts the scene lines in it.
std::string text(const ScenarioContext& context, const ScriptCatalogue& catalogue,
                 std::string_view name, bool csv, bool listUnprinted, int& lines);

} // namespace CharacterCheckList
