#pragma once

#include "ui/UxDialogHost.h"

#include <cstdio>

// Dialogs without a window: a notice is written to stdout in UTF-8 (its
// text, one line break at the end); a question is written to stderr with the
// answer, which is the caller's policy: yes to every question, or no.
class HeadlessDialogHost : public UxDialogHost {
public:
    explicit HeadlessDialogHost(bool answerYes = false, std::FILE* out = stdout,
                                std::FILE* err = stderr);
    ~HeadlessDialogHost() override;

    void setAnswerYes(bool yes) { m_answerYes = yes; }
    bool answersYes() const { return m_answerYes; }

    void notice(const std::string& text, const std::string& title) override;
    bool question(const std::string& text, const std::string& title) override;

private:
    bool m_answerYes;
    std::FILE* m_out;
    std::FILE* m_err;
};
