#pragma once

#include "batch/StreamDialogHost.h"
#include "batch/StreamPrompt.h"
#include "convert/ConversionDialogModel.h"
#include "convert/ConversionState.h"
#include "platform/Prompt.h"
#include "ui/UxDialogs.h"

#include <iosfwd>
#include <sstream>
#include <string>

class BatchArguments;

// What the survey and convert commands share: the conversion dialog's model
// filled from the command line (SRC OUT NAMES [--subfolders]), the
// foundation's boxes on the error stream and the question dialog answered
// by --yes. The notices the model shows are not printed as they come: the
// command prints the report or the log itself, and a refusal on the error
// stream.
class ConversionSession {
public:
    static constexpr int Done = 0;
    static constexpr int Failed = 1;

    ConversionSession(std::ostream& out, std::ostream& err);
    virtual ~ConversionSession();

    ConversionSession(const ConversionSession&) = delete;
    ConversionSession& operator=(const ConversionSession&) = delete;

    // Takes the three positional words (UTF-8) into the model; Failed, with
    // the reason told, for a name Shift-JIS cannot write.
    int fill(const BatchArguments& args);
    void setAnswerYes(bool yes) { m_dialogs.setAnswerYes(yes); }

    // The exit status of a run that ended with outcome: the input prompt or
    // the refusal on the error stream for the runs that did nothing.
    int status(ConversionDialogModel::Outcome outcome);

    // A CP932 text as the notice dialog would show it: UTF-8, ending with a
    // line break.
    static std::string shown(const FCString& text);

    ConversionDialogModel& model() { return m_model; }
    std::ostream& out() { return m_out; }
    std::ostream& err() { return m_err; }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    std::ostringstream m_notices;
    StreamDialogHost m_dialogs;
    UxDialogs::Scope m_dialogScope;
    StreamPrompt m_prompt;
    Prompt::Scope m_promptScope;
    ConversionState m_state;
    ConversionDialogModel m_model;
};
