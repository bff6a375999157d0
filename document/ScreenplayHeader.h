#pragma once

#include "document/ScreenplayCharacter.h"
#include "fc/FCString.h"

#include <array>
#include <cstdint>
#include <string_view>

class ScreenplayScanner;

// The header of a screenplay file as the layout engine reads it: scene name,
// message range, the character table and the total. The header ends with the
// ".total" line; everything after it is the body.
class ScreenplayHeader {
public:
    static constexpr int TableSize = 256;

    ScreenplayHeader() = default;
    virtual ~ScreenplayHeader() = default;

    // Empties every character slot (the other fields are kept).
    void clearCharacters();

    // Reads header lines from the scanner until the ".total" line has been
    // read (true: the scanner stands at the body) or the text ends (false).
    bool read(ScreenplayScanner& scanner);

    // The character index of a speaker: slots are tried from 0 upwards, the
    // search stops at the first slot whose count is 0 or less, and the first
    // slot with the same bytes wins. -1 when not found.
    int find(std::string_view name) const;

    const FCString& sceneName() const { return m_sceneName; }
    int32_t start() const { return m_start; }
    int32_t end() const { return m_end; }
    int32_t characterCount() const { return m_characterCount; }
    int32_t total() const { return m_total; }
    const ScreenplayCharacter& character(int index) const { return m_characters[index]; }
    // Entries read from ".chara" lines, including those past the table that
    // were dropped.
    int32_t entriesRead() const { return m_entriesRead; }

private:
    void readEntry(std::string_view line);
    // Returns true on the ".total" line.
    bool readDirective(std::string_view line, int32_t& pending);

    FCString m_sceneName;
    int32_t m_start = 0;
    int32_t m_end = 0;
    int32_t m_characterCount = 0;
    int32_t m_total = 0;
    std::array<ScreenplayCharacter, TableSize> m_characters;
    int32_t m_entriesRead = 0;
};
