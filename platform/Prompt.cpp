#include "platform/Prompt.h"

#include "platform/HeadlessPrompt.h"

#include <atomic>

namespace {
std::atomic<Prompt*> installed{nullptr};
}

Prompt& Prompt::current()
{
    static HeadlessPrompt headless;
    Prompt* p = installed.load();
    return p ? *p : headless;
}

void Prompt::install(Prompt* prompt)
{
    installed.store(prompt);
}

Prompt::Scope::Scope(Prompt& prompt) : m_previous(installed.load())
{
    install(&prompt);
}

Prompt::Scope::~Scope()
{
    install(m_previous);
}
