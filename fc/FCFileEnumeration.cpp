#include "fc/FCFileEnumeration.h"

#include "platform/FileSystem.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <string>

namespace {

// No special folder has this code, so the pattern starts out empty instead of
// naming the current directory before anything was asked for.
constexpr int NoFolder = -1;

} // namespace

FCFileEnumeration::FCFileEnumeration() : m_pattern(NoFolder) {}

FCFileEnumeration::FCFileEnumeration(const char* pattern) : m_pattern(NoFolder)
{
    start(pattern);
}

FCFileEnumeration::~FCFileEnumeration()
{
    finish();
}

void FCFileEnumeration::start(const char* pattern)
{
    finish();
    m_pattern.set(pattern);
}

bool FCFileEnumeration::next()
{
    if (!m_searching) {
        m_searching = true;
        m_entries.clear();
        m_unnamed.clear();
        m_nextIndex = 0;
        FCString folder;
        m_pattern.directoryPart(folder, true);
        FCString wildcard = m_pattern.fileNamePart();
        if (!folder.isEmpty() && !wildcard.isEmpty()) {
            uint32_t error =
                DirectoryLister::list(folder.view(), wildcard.view(), m_entries, &m_unnamed);
            if (error != WinError::Success) {
                // Nothing matching and a missing folder are ordinary ends of a
                // walk; anything else is worth a trace, as the walk would
                // otherwise look like an empty folder.
                if (error != WinError::FileNotFound && error != WinError::PathNotFound) {
                    Trace::write("FCFileEnumeration: cannot list ");
                    Trace::write(m_pattern.string().view());
                    Trace::write(", error " + std::to_string(error) + "\n");
                }
                m_entries.clear();
            }
        }
    }

    while (m_nextIndex < m_entries.size()) {
        const DirectoryEntry& entry = m_entries[m_nextIndex++];
        if (entry.name.empty() || entry.name.front() == '.')
            continue;
        m_currentAttributes = entry.attributes;
        m_currentKind = entry.kind;
        m_currentLinkError = entry.linkError;
        m_currentName.create(256, entry.name);
        if (isFolder())
            m_currentName.append("/");
        return true;
    }
    return false;
}

bool FCFileEnumeration::nextFolder()
{
    while (next()) {
        if (isFolder())
            return true;
    }
    return false;
}

bool FCFileEnumeration::isFolder() const
{
    return (m_currentAttributes & FileSystem::AttributeDirectory) != 0;
}

const FCString& FCFileEnumeration::currentPath()
{
    m_currentPath.create(512, "");
    m_pattern.directoryPart(m_currentPath, true);
    m_currentPath << m_currentName;
    return m_currentPath;
}

void FCFileEnumeration::finish()
{
    m_searching = false;
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_nextIndex = 0;
    m_currentName.clear();
    m_currentAttributes = 0;
    m_currentKind = FileSystem::EntryKind::File;
    m_currentLinkError = 0;
    m_unnamed.clear();
}
