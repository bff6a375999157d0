#pragma once

#include "ui/UxDialogHost.h"

#include <iosfwd>
#include <string>

// The notice and question dialogs of a batch command: a notice is its text
// in UTF-8 on the output stream, ended by one line break; a question goes to
// the error stream, after the tool's name like every message there, with
// the answer the command line chose (yes to every question with --yes,
// otherwise no).
class StreamDialogHost : public UxDialogHost {
public:
    StreamDialogHost(std::ostream& out, std::ostream& err, bool answerYes = false);
    ~StreamDialogHost() override;

    void setAnswerYes(bool yes) { m_answerYes = yes; }

    void notice(const std::string& text, const std::string& title) override;
    bool question(const std::string& text, const std::string& title) override;

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_answerYes;
};
