#pragma once

#include "batch/StreamDialogHost.h"
#include "batch/StreamPrompt.h"
#include "convert/ConversionService.h"
#include "convert/ConversionState.h"
#include "fc/Notices.h"
#include "platform/Prompt.h"
#include "ui/UxDialogs.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class BatchArguments;
class ProgramEnvironment;
struct CommandHelp;

// What the survey and convert commands share: the conversion's inputs taken
// from the command line (SRC OUT NAMES [--subfolders]), the service that
// runs it, the foundation's boxes on the error stream and the questions
// answered by --yes. The commands print the report or the log themselves,
// and a refusal on the error stream.
class ConversionSession {
public:
    static constexpr int Done = 0;
    static constexpr int Failed = 1;

    ConversionSession(ProgramEnvironment& environment, std::ostream& out, std::ostream& err);
    virtual ~ConversionSession();

    ConversionSession(const ConversionSession&) = delete;
    ConversionSession& operator=(const ConversionSession&) = delete;

    // Parses the command's words against its help into args and takes the
    // three positional words (UTF-8) into the inputs. The exit status when
    // the command ends here: the help asked for or bad arguments (as
    // BatchArguments::answer gives them), or Failed, with the reason told,
    // for a name Shift-JIS cannot write; nothing when it goes on.
    [[nodiscard]] std::optional<int> begin(const std::vector<std::string>& words,
                                           const CommandHelp& help, BatchArguments& args);
    void setAnswerYes(bool yes) { m_dialogs.setAnswerYes(yes); }
    void setJobs(int jobs) { m_inputs.jobs = jobs; }

    // The exit status of a run that ended with result: the input prompt or
    // the refusal on the error stream for the runs that did nothing.
    int status(const ConversionService::Result& result);

    // A CP932 text as the notice dialog would show it: UTF-8, ending with a
    // line break.
    static std::string shown(const FCString& text);

    const ConversionService::Inputs& inputs() const { return m_inputs; }
    ConversionService& service() { return m_service; }
    // Where the work asks its questions: the error stream, answered as
    // --yes chose.
    Notices& notices() { return m_notices; }
    ProgramEnvironment& environment() { return m_environment; }
    std::ostream& out() { return m_out; }
    std::ostream& err() { return m_err; }

private:
    ProgramEnvironment& m_environment;
    std::ostream& m_out;
    std::ostream& m_err;
    StreamDialogHost m_dialogs;
    UxDialogs m_notices;
    StreamPrompt m_prompt;
    Prompt::Scope m_promptScope;
    ConversionState m_state;
    ConversionService m_service;
    ConversionService::Inputs m_inputs;
};
