#include "platform/ScriptedPrompt.h"

#include "platform/HeadlessPrompt.h"

ScriptedPrompt::ScriptedPrompt(std::initializer_list<Answer> answers) : m_answers(answers) {}

void ScriptedPrompt::push(Answer answer)
{
    m_answers.push_back(answer);
}

Prompt::Answer ScriptedPrompt::ask(const std::string& title, const std::string& text,
                                   Buttons buttons)
{
    m_questions.push_back({title, text, buttons});
    if (m_answers.empty())
        return HeadlessPrompt::defaultAnswer(buttons);
    Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
