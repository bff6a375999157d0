#include "platform/Prompt.h"

#include "platform/HeadlessPrompt.h"

#include <atomic>

namespace {
// The prompt of the innermost open scope.
std::atomic<Prompt*> installed{nullptr};
}

Prompt& Prompt::current()
{
    static HeadlessPrompt headless;
    Prompt* p = installed.load();
    return p ? *p : headless;
}

Prompt::Scope::Scope(Prompt& prompt) : m_previous(installed.exchange(&prompt)) {}

Prompt::Scope::~Scope()
{
    installed.store(m_previous);
}
