#pragma once

#include "reports/CheckListFile.h"

#include <functional>

class CheckListDialogModel;
struct ScenarioContext;
class UxListViewControl;

// The check-list command: the dialog, then a page estimate over all rows so
// that every scene's page count of the current mode is known, then the
// chosen lists. The dialog itself is the caller's: a function that shows
// the model and answers true when it closed with OK.
class CheckListReport {
public:
    using Dialog = std::function<bool(CheckListDialogModel&)>;

    struct Outcome {
        // False when the dialog was cancelled: nothing else happened.
        bool confirmed = false;
        // A cancelled estimate does not stop the lists; the scenes it did
        // not reach show the page count -1.
        bool estimateCancelled = false;
        // Scenes the estimate could not read (their page count stays -1).
        int unreadable = 0;
        CheckListResult sceneList = CheckListResult::NotRun;
        CheckListResult characterList = CheckListResult::NotRun;
    };

    // Starts the dialog with the scenario folder and the default options.
    static Outcome run(const ScenarioContext& context, const UxListViewControl& list,
                       const Dialog& dialog);
};
