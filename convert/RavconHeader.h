#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <map>

// The header block of a converted screenplay: the scene name, the range of
// message ids written and, per character number, how many speech lines the
// character has. Character numbers come from the name-definition file,
// whose second field is any 32-bit number, so the counts are kept per
// number that actually speaks rather than in an array as long as the
// largest number (a definition numbered 2000000000 must not cost 8 GB).
class RavconHeader {
public:
    RavconHeader();
    virtual ~RavconHeader();

    // A count of 0 or less drops the counts: the header then writes nothing.
    // Otherwise character numbers 0 ... count - 1 can be counted. Every count
    // becomes 0 and the id range is empty again.
    void reset(const FCString& sceneName, int32_t characterCount);
    // Numbers outside 0 ... count - 1 are ignored.
    void countLine(int32_t character, int32_t messageId);
    // Appends the header block (nothing when the counts were dropped). A
    // number that speaks but has no name is left out and said on the trace,
    // or appended to trace when one is given (work on another thread keeps
    // its trace lines for the thread that commits it).
    void write(FCString& text, FCString* trace = nullptr) const;
    // Fills the character names from the text of a name-definition file: per
    // line the second field is the number and everything after the commas
    // that follow it is the name; the first line of a number wins.
    void loadNames(const FCString& definitions);

    const FCString& sceneName() const { return m_sceneName; }
    int32_t characterCount() const { return m_characterCount; }
    int32_t lineCount(int32_t character) const;
    int32_t startId() const { return m_startId; }
    int32_t endId() const { return m_endId; }
    const std::map<int32_t, FCString>& characterNames() const { return m_names; }

private:
    FCString m_sceneName;
    int32_t m_characterCount = 0;
    std::map<int32_t, int32_t> m_counts;
    int32_t m_startId = -1;
    int32_t m_endId = -1;
    bool m_counted = false;
    std::map<int32_t, FCString> m_names;
};
