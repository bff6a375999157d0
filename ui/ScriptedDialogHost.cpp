#include "ui/ScriptedDialogHost.h"

ScriptedDialogHost::ScriptedDialogHost(std::initializer_list<bool> answers) : m_answers(answers) {}

ScriptedDialogHost::~ScriptedDialogHost() = default;

void ScriptedDialogHost::notice(const std::string& text, const std::string& title)
{
    m_notices.push_back({text, title});
}

bool ScriptedDialogHost::question(const std::string& text, const std::string& title)
{
    m_questions.push_back({text, title});
    if (m_answers.empty())
        return false;
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
