#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <functional>
#include <string_view>

class CharacterSelectionModel;
struct ScenarioContext;
class ScriptCatalogue;
class ScriptInfo;
class UxListViewControl;

// Whose scripts are printed. Per scene, the print targets of its record,
// narrowed with the dialog "印刷するキャラの選択" for one row or for all
// selected rows at once; over the whole scenario, the suppressed characters
// of the application. A script is printed when its scene's row is not
// cleared, the character is a print target of the scene and is not
// suppressed.
//
// The dialog itself is the caller's: a function that shows the model and
// answers true for OK (the model then holds the ticks) or false for "中止".
class CharacterSelection {
public:
    using Dialog = std::function<bool(CharacterSelectionModel&)>;

    // The notice the main window shows when no row is selected.
    static const char* noSelectionMessage();

    // Double click: the dialog on the row's own record; on OK its targets
    // become the ticked names and the row's columns 1 and 4 are updated.
    // False when the row has no record or the dialog was cancelled.
    static bool selectForRow(const ScriptCatalogue& catalogue, UxListViewControl& list, int row,
                             const Dialog& dialog);
    // The dialog on the merged record of the selected rows; on OK each
    // selected scene keeps as targets those of its characters that are
    // targets of the merged record. False, without opening anything, when
    // no row is selected.
    static bool selectForSelectedRows(const ScriptCatalogue& catalogue, UxListViewControl& list,
                                      const Dialog& dialog);

    // The selection record of the selected rows: a copy of the first, with
    // every further one merged in list order. False when none is selected.
    static bool buildSelection(const ScriptCatalogue& catalogue, const UxListViewControl& list,
                               ScriptInfo& selection);
    // Step 3 and 4 of a multiple selection confirmed with OK.
    static void applyToSelectedRows(const ScriptCatalogue& catalogue, UxListViewControl& list,
                                    const ScriptInfo& selection);

    // Columns 1 and 4 of a row from its record's summary: "T / A" and the
    // names that are no targets, or both empty when every character is one.
    static void updateRow(UxListViewControl& list, int row, const ScriptInfo& record);

    // Whether the character's script of the row's scene is printed.
    static bool isPrinted(const ScenarioContext& context, const UxListViewControl& list, int row,
                          const ScriptInfo& record, std::string_view name);
    // The number of print targets of a scene that are not suppressed.
    static int32_t printedCharacterCount(const ScenarioContext& context, const ScriptInfo& record);
};
