#include "platform/Prompt.h"

#include "platform/HeadlessPrompt.h"

#include <atomic>

namespace {
std::atomic<Prompt*> installed{nullptr};
thread_local Prompt* threadInstalled = nullptr;
} // namespace

Prompt& Prompt::current()
{
    static HeadlessPrompt headless;
    if (threadInstalled)
        return *threadInstalled;
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

Prompt::ThreadScope::ThreadScope(Prompt& prompt) : m_previous(threadInstalled)
{
    threadInstalled = &prompt;
}

Prompt::ThreadScope::~ThreadScope()
{
    threadInstalled = m_previous;
}
