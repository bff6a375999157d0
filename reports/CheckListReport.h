#pragma once

#include "fc/FCString.h"
#include "reports/CheckListFile.h"
#include "reports/CheckListOptions.h"

class Notices;
class Progress;
struct ScenarioContext;
class ScriptCatalogue;

// The check lists of a scenario: a page estimate over all entries first, so
// that every scene's page count of the current mode is known, then the
// lists the options choose. Where they go and what they hold is the
// caller's choice (the dialog "台本チェックリストの出力", the batch tool's
// options).
namespace CheckListReport {

struct Outcome {
    // A cancelled estimate does not stop the lists; the scenes it did
    // not reach show the page count -1.
    bool estimateCancelled = false;
    // Scenes the estimate could not read (their page count stays -1).
    int unreadable = 0;
    CheckListResult sceneList = CheckListResult::NotRun;
    CheckListResult characterList = CheckListResult::NotRun;
};

// The lists go into folder (absolute, ending with a separator); each
// step shows its progress in progress and tells what it wrote in
// notices.
Outcome run(const ScenarioContext& context, ScriptCatalogue& catalogue, const FCString& folder,
            CheckListOptions options, Progress& progress, Notices& notices);

} // namespace CheckListReport
