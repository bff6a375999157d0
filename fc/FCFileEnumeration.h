#pragma once

#include "fc/FCPathName.h"
#include "fc/FCString.h"
#include "platform/DirectoryLister.h"

#include <cstddef>
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

    const FCPathName& pattern() const { return m_pattern; }
    // The current entry's name ("/" appended for a folder), attributes and
    // kind; empty and 0 before the first entry.
    const FCString& currentName() const { return m_currentName; }
    uint32_t currentAttributes() const { return m_currentAttributes; }
    bool isFolder() const;

private:
    FCPathName m_pattern;
    FCString m_currentPath;
    FCString m_currentName;
    uint32_t m_currentAttributes = 0;
    bool m_searching = false;
    std::vector<DirectoryEntry> m_entries;
    std::size_t m_nextIndex = 0;
};
