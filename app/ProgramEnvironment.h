#pragma once

#include "platform/ProgramFolders.h"
#include "platform/Prompt.h"
#include "ui/UxDialogs.h"

#include <optional>
#include <string>

class Clock;
class ProgressView;
class UxDialogHost;

// What the program talks to the user and the system through, made once in
// each main() (and in each test fixture that needs one) and handed down to
// the window models, the commands and the services that need a part of it:
//   notices()      the notice and question dialogs, over the dialog host
//                  (windows, the terminal, a test's recorder);
//   progressView() the view the progress dialogs it opens show themselves in;
//   prompt()       the foundation's message boxes;
//   clock()        the time of day its logs are stamped with;
//   and the folder the program keeps its own files in.
// The foundation asks its Retry/Cancel questions and reads the program
// folder deep inside its file and path code, where nothing is handed down:
// for those two the environment puts its own in force while it lives and
// the previous ones back after it, so that a test's cannot outlive the test.
class ProgramEnvironment {
public:
    struct Parts {
        UxDialogHost& dialogs;
        ProgressView& progress;
        Prompt& prompt;
        const Clock& clock;
        // Empty: the program's own folder (or the one already in force).
        std::string programFolder = {};
    };

    explicit ProgramEnvironment(const Parts& parts);
    ~ProgramEnvironment();

    ProgramEnvironment(const ProgramEnvironment&) = delete;
    ProgramEnvironment& operator=(const ProgramEnvironment&) = delete;

    Notices& notices() { return m_notices; }
    ProgressView& progressView() const { return m_progress; }
    Prompt& prompt() const { return m_prompt; }
    const Clock& clock() const { return m_clock; }

private:
    UxDialogs m_notices;
    ProgressView& m_progress;
    Prompt& m_prompt;
    const Clock& m_clock;
    Prompt::Scope m_promptScope;
    std::optional<ProgramFolders::Scope> m_placement;
};
