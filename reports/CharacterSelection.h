#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <span>
#include <string_view>

struct ScenarioContext;
class ScriptCatalogue;
class ScriptInfo;

// Whose scripts are printed. Per scene, the print targets of its record,
// narrowed with the dialog "印刷するキャラの選択" for one entry or for all
// selected entries at once; over the whole scenario, the suppressed
// characters of the application. A script is printed when its scene's entry
// is ticked, the character is a print target of the scene and is not
// suppressed.
namespace CharacterSelection {

// The notice the main window shows when no row is selected.
const char* noSelectionMessage();

// The selection record of several entries: a copy of the first, with
// every further one merged in the order given. False when none is
// given.
bool buildSelection(const ScriptCatalogue& catalogue, std::span<const int> entries,
                    ScriptInfo& selection);
// A multiple selection confirmed with OK: each entry keeps as targets
// those of its characters that are targets of the selection record.
void applyToEntries(ScriptCatalogue& catalogue, std::span<const int> entries,
                    const ScriptInfo& selection);

// Whether the character's script of the entry's scene is printed.
bool isPrinted(const ScenarioContext& context, const ScriptCatalogue& catalogue, int index,
               std::string_view name);
// The number of print targets of a scene that are not suppressed.
int32_t printedCharacterCount(const ScenarioContext& context, const ScriptInfo& record);

} // namespace CharacterSelection
