#pragma once

#include "ui/UxDialogHost.h"

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

// A dialog host for tests: records every notice and question (CP932) and
// answers questions from a queue; an empty queue answers no.
class ScriptedDialogHost : public UxDialogHost {
public:
    struct Shown {
        std::string text;
        std::string title;
    };

    explicit ScriptedDialogHost(std::initializer_list<bool> answers = {});
    ~ScriptedDialogHost() override;

    void push(bool answer) { m_answers.push_back(answer); }

    void notice(const std::string& text, const std::string& title) override;
    bool question(const std::string& text, const std::string& title) override;

    const std::vector<Shown>& notices() const { return m_notices; }
    const std::vector<Shown>& questions() const { return m_questions; }

private:
    std::deque<bool> m_answers;
    std::vector<Shown> m_notices;
    std::vector<Shown> m_questions;
};
