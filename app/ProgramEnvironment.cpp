#include "app/ProgramEnvironment.h"

ProgramEnvironment::ProgramEnvironment(const Parts& parts)
    : m_notices(parts.dialogs), m_progress(parts.progress), m_prompt(parts.prompt),
      m_clock(parts.clock), m_promptScope(parts.prompt)
{
    if (!parts.programFolder.empty())
        m_placement.emplace(parts.programFolder);
}

ProgramEnvironment::~ProgramEnvironment() = default;
