#include "document/ScreenplayHeader.h"

#include "document/ScreenplayScanner.h"

namespace {

bool isBlank(int c)
{
    return c == ' ' || c == '\t';
}

bool endsDirective(int c)
{
    return c == ' ' || c == '\t';
}

bool endsValue(int c)
{
    return c == '\r' || c == '\n' || c == '\t' || c == ' ';
}

} // namespace

void ScreenplayHeader::clearCharacters()
{
    // Only readEntry fills slots, in order from the first: those beyond the
    // entries read since the last clear are empty already. A scene is
    // loaded after an empty one for every estimate, so clearing all the
    // slots each time would cost more than reading a small header.
    const int filled = m_entriesRead < TableSize ? m_entriesRead : TableSize;
    for (int index = 0; index < filled; ++index) {
        m_characters[index].name.clear();
        m_characters[index].count = 0;
    }
    m_entriesRead = 0;
}

bool ScreenplayHeader::read(ScreenplayScanner& scanner)
{
    int32_t pending = 0;
    std::string_view line;
    while (scanner.nextLine(line)) {
        line = ScreenplayScanner::skipWhile(line, isBlank);
        if (pending > 0) {
            // Whatever the line holds, even ".total", it is taken as an entry
            // while entries are pending.
            readEntry(line);
            --pending;
            continue;
        }
        if (readDirective(line, pending))
            return true;
    }
    return false;
}

void ScreenplayHeader::readEntry(std::string_view line)
{
    // The line no longer begins with a blank. The name is everything up to
    // the first TAB without its leading "." and space characters; the count
    // is the first token after the TABs (none without a TAB: count 0).
    std::string_view rest = line;
    std::string_view name = ScreenplayScanner::nextToken(rest, [](int c) { return c == '\t'; });
    name = ScreenplayScanner::skipWhile(name, [](int c) { return c == '.' || c == ' '; });
    std::string_view count = ScreenplayScanner::nextToken(rest, endsValue);

    int index = m_entriesRead++;
    if (index >= TableSize)
        return; // The table has no room: the entry is read and dropped.
    m_characters[index].name.create(256, name);
    m_characters[index].count = ScreenplayScanner::toInteger(count);
}

bool ScreenplayHeader::readDirective(std::string_view line, int32_t& pending)
{
    std::string_view rest = line;
    std::string_view directive = ScreenplayScanner::nextToken(rest, endsDirective);
    std::string_view value = ScreenplayScanner::nextToken(rest, endsValue);

    if (directive == ".scene") {
        if (!value.empty())
            m_sceneName.create(256, value);
    } else if (directive == ".start") {
        m_start = ScreenplayScanner::toInteger(value);
    } else if (directive == ".end") {
        m_end = ScreenplayScanner::toInteger(value);
    } else if (directive == ".chara") {
        m_characterCount = ScreenplayScanner::toInteger(value);
        pending = m_characterCount;
    } else if (directive == ".total") {
        m_total = ScreenplayScanner::toInteger(value);
        return true;
    }
    return false;
}

int ScreenplayHeader::find(std::string_view name) const
{
    for (int i = 0; i < TableSize; ++i) {
        const ScreenplayCharacter& slot = m_characters[i];
        if (slot.count <= 0)
            return -1;
        if (slot.name.view() == name)
            return i;
    }
    return -1;
}
