#include "gui/DesktopEnvironment.h"

#include <utility>

DesktopEnvironment::DesktopEnvironment(const Parts& parts, FileChoosers choosers)
    : ProgramEnvironment(parts), m_choosers(std::move(choosers))
{
}

DesktopEnvironment::~DesktopEnvironment() = default;
