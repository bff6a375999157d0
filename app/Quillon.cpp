#include "app/Quillon.h"

#include "app/MainWindowModel.h"
#include "fc/FCPathName.h"
#include "fc/FCXListIterator.h"

Quillon::Quillon()
{
    m_printFormat.setDefaultLogName();
    m_logPath = m_printFormat.logName();
}

Quillon::~Quillon()
{
    // The rows of an open main window refer to the catalogue's records.
    m_catalogue.clear();
}

void Quillon::setScenarioFolder(std::string_view folder)
{
    if (folder.empty()) {
        m_scenarioFolder.clear();
        return;
    }
    FCPathName path{FCString(folder)};
    path.addSeparator();
    m_scenarioFolder = path.string();
}

bool Quillon::loadScenarioFolder(MainWindowModel& window)
{
    return m_catalogue.loadFolder(*this, window, window.list());
}

void Quillon::setFlag(uint32_t flag, bool on)
{
    if (on)
        m_flags |= flag;
    else
        m_flags &= ~flag;
}

const FCString& Quillon::destinationOrScenarioFolder() const
{
    return m_destinationFolder.isEmpty() ? m_scenarioFolder : m_destinationFolder;
}

void Quillon::rebuildSuppressedCharacters()
{
    m_suppressed.removeAll();
    const std::string_view text = m_printFormat.suppressedText().view();
    size_t start = 0;
    while (start < text.size()) {
        // Each name was stored followed by "\n" and never holds a line
        // break itself, so the bytes mark the ends even after a broken name.
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            m_suppressed.append(new FCString(text.substr(start, end - start)), true);
        start = end + 1;
    }
}

bool Quillon::isSuppressed(std::string_view name) const
{
    FCXListIterator<FCString> walk(m_suppressed);
    while (const FCString* suppressed = walk.next()) {
        if (suppressed->view() == name)
            return true;
    }
    return false;
}
