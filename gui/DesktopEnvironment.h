#pragma once

#include "app/ProgramEnvironment.h"
#include "gui/FileChoosers.h"

// The desktop program's environment: the program's, and the folder and file
// choosers of its windows.
class DesktopEnvironment : public ProgramEnvironment {
public:
    explicit DesktopEnvironment(const Parts& parts, FileChoosers choosers = {});
    ~DesktopEnvironment();

    FileChoosers& choosers() { return m_choosers; }
    const FileChoosers& choosers() const { return m_choosers; }

private:
    FileChoosers m_choosers;
};
