#pragma once

#include "app/Quillon.h"
#include "batch/StreamDialogHost.h"
#include "batch/StreamPrompt.h"
#include "platform/Prompt.h"
#include "ui/UxDialogs.h"

#include <iosfwd>
#include <set>
#include <string>

class BatchArguments;
class ProgramEnvironment;

// What every folder command of the batch tool shares: the application with
// its defaults, the folder loaded into its catalogue (its
// "quillon.settings.rnf" read and written back), and the shared options:
//   --only NAME,...      only the entries of these file names are ticked
//   --suppress NAME,...  the characters suppressed for this run (not saved)
// While the session lives, notices go to the output stream and questions
// and the foundation's boxes to the error stream; progress shows in the
// environment's view.
class FolderSession {
public:
    static constexpr int Done = 0;
    static constexpr int Failed = 1;
    static constexpr int BadArguments = 2;

    // Options of a value that every folder command takes.
    static std::set<std::string> valueOptions(std::set<std::string> own = {});

    FolderSession(ProgramEnvironment& environment, std::ostream& out, std::ostream& err);
    virtual ~FolderSession();

    FolderSession(const FolderSession&) = delete;
    FolderSession& operator=(const FolderSession&) = delete;

    // Questions are answered yes (--yes) or no.
    void setAnswerYes(bool yes) { m_dialogs.setAnswerYes(yes); }

    // Loads the folder (UTF-8 as typed) and applies the shared options.
    // Done, or the exit status with the reason already told: Failed for a
    // folder without screenplay files or one that could not be read,
    // BatchInterrupt::CancelledStatus for a cancelled load.
    int open(const std::string& folder, const BatchArguments& args);

    // The exit status of a command that ended with status: a cancel asked
    // for while no progress dialog was open (so nobody took it) still makes
    // a finished command a cancelled one.
    int finish(int status) const;

    // Retry/Cancel boxes shown so far: files that could not be used.
    int fileFailures() const { return m_prompt.failures(); }

    ProgramEnvironment& environment() { return m_environment; }
    // The command's notices and questions, on its streams.
    Notices& notices() { return m_notices; }
    Quillon& app() { return m_app; }
    ScriptCatalogue& catalogue() { return m_app.catalogue(); }
    std::ostream& out() { return m_out; }
    std::ostream& err() { return m_err; }

private:
    int applyOnly(const std::string& names);
    int applySuppress(const std::string& names);

    ProgramEnvironment& m_environment;
    std::ostream& m_out;
    std::ostream& m_err;
    StreamDialogHost m_dialogs;
    UxDialogs m_notices;
    StreamPrompt m_prompt;
    Prompt::Scope m_promptScope;
    Quillon m_app;
};
