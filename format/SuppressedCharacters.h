#pragma once

#include "fc/FCString.h"

#include <string_view>
#include <vector>

// The characters whose scripts are never printed, in any scene: the names
// of the print format's suppressed-character text (one name per line),
// rebuilt after each folder load and after the print settings dialog.
class SuppressedCharacters {
public:
    SuppressedCharacters();
    virtual ~SuppressedCharacters();

    // One name per line of text; empty lines are no names.
    void rebuild(std::string_view text);
    void clear() { m_names.clear(); }

    // Byte-wise; nobody is suppressed while the list is empty.
    bool contains(std::string_view name) const;
    const std::vector<FCString>& names() const { return m_names; }
    int count() const { return static_cast<int>(m_names.size()); }

private:
    std::vector<FCString> m_names;
};
