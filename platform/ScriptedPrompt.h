#pragma once

#include "platform/Prompt.h"

#include <deque>
#include <string>
#include <vector>

// A prompt for tests: answers from a script, records every question. When the
// script runs out it answers as the headless prompt does.
class ScriptedPrompt : public Prompt {
public:
    struct Question {
        std::string title;
        std::string text;
        Buttons buttons;
    };

    explicit ScriptedPrompt(std::initializer_list<Answer> answers = {});
    void push(Answer answer);

    Answer ask(const std::string& title, const std::string& text, Buttons buttons) override;

    const std::vector<Question>& questions() const { return m_questions; }

private:
    std::deque<Answer> m_answers;
    std::vector<Question> m_questions;
};
