#include "platform/Prompt.h"

#include "platform/HeadlessPrompt.h"

#include <atomic>

namespace {
// The prompt of the innermost open scope.
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

Prompt::Scope::Scope(Prompt& prompt) : m_previous(installed.exchange(&prompt)) {}

Prompt::Scope::~Scope()
{
    installed.store(m_previous);
}

Prompt::ThreadScope::ThreadScope(Prompt& prompt) : m_previous(threadInstalled)
{
    threadInstalled = &prompt;
}

Prompt::ThreadScope::~ThreadScope()
{
    threadInstalled = m_previous;
}
