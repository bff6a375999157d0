#pragma once

#include "fc/FCString.h"

#include <functional>
#include <set>
#include <string>

// The sources a conversion walks: full paths, each once, in the program's
// locale order of the whole path (not the order a folder lists them in).
namespace SourceCollection {

struct LocaleOrder {
    bool operator()(const FCString& a, const FCString& b) const { return a.compare(b) < 0; }
};
using Sources = std::set<FCString, LocaleOrder>;

// Adds every file matching pattern ("*.cpp") in folder and, when asked,
// in its sub-folders at any depth. False when the folder does not exist.
// A folder reached twice (through a link to one of its parents) is
// walked once, so a link loop cannot make the walk endless.
[[nodiscard]] bool collectSources(Sources& sources, const FCString& folder, const char* pattern,
                                  bool includeSubfolders);

// The folder as an absolute path ending with a separator ("" when it
// cannot be resolved): typed folders often lack the separator.
FCString folderPath(const FCString& folder);
// Whether the text names an existing folder.
bool folderExists(const FCString& folder);
// The folder's identity on disk for loop detection; false when it has
// been seen already.
bool firstVisit(std::set<std::string>& visited, const FCString& folder);

// Calls file with the full path and the name of every file matching
// pattern in folder (ending with a separator), in the order the folder
// lists them; with includeSubfolders its sub-folders come first, depth
// first. Folders named like a match are no files; a folder reached twice
// is walked once.
using FileVisit = std::function<void(const FCString& path, const FCString& name)>;
void walk(const FCString& folder, const char* pattern, bool includeSubfolders,
          std::set<std::string>& visited, const FileVisit& file);

} // namespace SourceCollection
