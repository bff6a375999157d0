#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct DirectoryEntry {
    std::string name; // CP932
    uint32_t attributes = 0;
    // What the entry names once links are followed.
    FileSystem::EntryKind kind = FileSystem::EntryKind::File;
    // For a link that cannot be followed (its target is missing, or links
    // lead round in a loop): why, as a Windows error number; 0 otherwise.
    uint32_t linkError = 0;
};

// One level of a wildcard search, in the order an NTFS volume returns names:
// sorted by their upper-cased Unicode form. "." and ".." are never listed;
// names with no CP932 form are left out, as the program could not name them
// again: those that match the pattern are given to the caller that asks, so
// that it can tell the user what it did not see.
namespace DirectoryLister {

// folder and pattern are CP932; folder may or may not end with "/".
// Returns a Windows error number: FileNotFound when nothing matches,
// PathNotFound when the folder is missing.
// unnamed, when given, receives the UTF-8 names left out for having no
// CP932 form whose nearest CP932 form matches the pattern.
uint32_t list(std::string_view folder, std::string_view pattern,
              std::vector<DirectoryEntry>& entries, std::vector<std::string>* unnamed = nullptr);

// "*" and "?" over CP932 characters, ASCII letters without regard to case;
// "*.*" matches every name.
bool matches(std::string_view pattern, std::string_view name);

// NTFS order of two CP932 names.
bool ntfsLess(std::string_view a, std::string_view b);

} // namespace DirectoryLister
