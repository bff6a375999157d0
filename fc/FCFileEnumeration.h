#pragma once

#include "fc/FCPathName.h"
#include "fc/FCString.h"
#include "platform/DirectoryLister.h"

#include <cstddef>
#include <string>
#include <vector>

// One folder level of a wildcard search, such as a folder followed by
// "*.screenplay.txt". The folder is listed at the first next(), in the order
// the platform gives, and kept in memory, so entries may be deleted or added
// while the walk goes on without disturbing it.
//
// Names that begin with "." are never returned (this hides "." and ".." and
// every dot file); folder names come back with "/" appended.
class FCFileEnumeration {
public:
    FCFileEnumeration();
    explicit FCFileEnumeration(const char* pattern);
    virtual ~FCFileEnumeration();

    FCFileEnumeration(const FCFileEnumeration&) = delete;
    FCFileEnumeration& operator=(const FCFileEnumeration&) = delete;

    // Ends any running search and sets the pattern (relative patterns are
    // taken against the current directory).
    void start(const char* pattern);
    // The next entry; false when there are no more.
    bool next();
    // next() until a folder, or the end.
    bool nextFolder();
    // The pattern's folder with its "/" followed by the current entry's name.
    const FCString& currentPath();
    // Forgets the listing; a later next() lists the folder again.
    void finish();
    // Goes back before the first entry of the listing taken, without
    // listing the folder again.
    void rewind() { m_nextIndex = 0; }

    const FCPathName& pattern() const { return m_pattern; }
    // The current entry's name ("/" appended for a folder), attributes and
    // kind; empty and 0 before the first entry.
    const FCString& currentName() const { return m_currentName; }
    uint32_t currentAttributes() const { return m_currentAttributes; }
    bool isFolder() const;
    // What the current entry names once links are followed (a link that
    // cannot be followed counts as Special), and for such a link why not.
    FileSystem::EntryKind currentKind() const { return m_currentKind; }
    uint32_t currentLinkError() const { return m_currentLinkError; }
    // The names that matched the pattern but were left out for having no
    // Shift-JIS form (UTF-8, as on disk); known once next() has listed the
    // folder.
    const std::vector<std::string>& unnamed() const { return m_unnamed; }

private:
    FCPathName m_pattern;
    FCString m_currentPath;
    FCString m_currentName;
    uint32_t m_currentAttributes = 0;
    FileSystem::EntryKind m_currentKind = FileSystem::EntryKind::File;
    uint32_t m_currentLinkError = 0;
    bool m_searching = false;
    std::vector<std::string> m_unnamed;
    std::vector<DirectoryEntry> m_entries;
    std::size_t m_nextIndex = 0;
};
