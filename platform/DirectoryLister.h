#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct DirectoryEntry {
    std::string name; // CP932
    uint32_t attributes = 0;
};

// One level of a wildcard search, in the order an NTFS volume returns names:
// sorted by their upper-cased Unicode form. "." and ".." are never listed;
// names with no CP932 form are left out (traced), as the program could not
// name them again.
class DirectoryLister {
public:
    // folder and pattern are CP932; folder may or may not end with "/".
    // Returns a Windows error number: FileNotFound when nothing matches,
    // PathNotFound when the folder is missing.
    static uint32_t list(std::string_view folder, std::string_view pattern,
                         std::vector<DirectoryEntry>& entries);

    // "*" and "?" over CP932 characters, ASCII letters without regard to case;
    // "*.*" matches every name.
    static bool matches(std::string_view pattern, std::string_view name);

    // NTFS order of two CP932 names.
    static bool ntfsLess(std::string_view a, std::string_view b);
};
