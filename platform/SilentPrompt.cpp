#include "platform/SilentPrompt.h"

Prompt::Answer SilentPrompt::ask(const std::string&, const std::string&, Buttons buttons)
{
    m_asked = true;
    switch (buttons) {
    case Buttons::RetryCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::Ok:
        break;
    }
    return Answer::Ok;
}
