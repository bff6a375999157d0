#include "platform/SilentPrompt.h"

#include "platform/HeadlessPrompt.h"

Prompt::Answer SilentPrompt::ask(const std::string&, const std::string&, Buttons buttons)
{
    m_asked = true;
    // The choice that gives up, as a prompt without a user takes it.
    return HeadlessPrompt::defaultAnswer(buttons);
}
