#include "render/LineBreaker.h"

#include "fc/FCString.h"
#include "platform/Cp932.h"
#include "render/LineBreakClasses.h"

#include <algorithm>
#include <cassert>

namespace {

// The notation of a reading, in CP932: "｜", "《" and "》".
constexpr int BaseMark = 0x8162;
constexpr int ReadingOpen = 0x8173;
constexpr int ReadingClose = 0x8174;

constexpr std::string_view continuation = "\n            "; // a line feed and the 12-cell lead

bool isBreakMarker(std::string_view text, std::size_t p)
{
    return p + 1 < text.size() && text[p] == '\\' && text[p + 1] == 'n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int LineBreaker::layOut(std::string_view text, int width, int indent, Target target)
{
    assert(width >= 1 && "LineBreaker: a line holds at least one character");
    m_width = width;
    m_text = text;
    m_out = &target.text;
    m_marks = &target.marks;
    m_line = target.line;
    m_lineStart = target.lineStart;
    m_lines = 1;

    int room = std::max(0, width - indent);
    std::size_t begin = 0;
    while (true) {
        // Segments end at forced breaks, found character by character so
        // that a trail byte 0x5C before an "n" is no break.
        std::size_t end = begin;
        while (end < text.size() && !isBreakMarker(text, end))
            end += static_cast<std::size_t>(
                Cp932::charLength(text.data() + end, text.data() + text.size()));
        readSegment(begin, end);
        placeSegment(room);
        if (end >= text.size())
            break;
        newLine();
        room = width;
        begin = end + 2;
    }
    m_out->append(std::string_view("\n", 1));
    return m_lines;
}

void LineBreaker::addUnit(std::size_t begin, std::size_t end, bool upright)
{
    const char* text = m_text.data();
    const char* stop = text + m_text.size();
    Unit unit;
    unit.begin = static_cast<uint32_t>(begin);
    unit.end = static_cast<uint32_t>(end);
    unit.first = Cp932::codeAt(text + begin, stop);
    unit.last = Cp932::codeAt(Cp932::prev(text + begin, text + end, stop), stop);
    unit.upright = upright;
    m_units.push_back(unit);
}

void LineBreaker::readSegment(std::size_t begin, std::size_t end)
{
    m_units.clear();
    m_groups.clear();
    const char* text = m_text.data();
    const char* stop = text + m_text.size();
    std::size_t p = begin;
    while (p < end) {
        const int length = Cp932::charLength(text + p, stop);
        if (length == 1 && Cp932::isLeadByte(static_cast<unsigned char>(text[p]))) {
            // A lead byte without its trail is no character, as on the
            // plain grid: it would pair with a line feed of the text.
            ++p;
            continue;
        }
        const int code = Cp932::codeAt(text + p, stop);
        if (m_options.ruby && code == BaseMark && readBarNotation(p, end))
            continue;
        if (m_options.ruby && code == ReadingOpen && readKanjiNotation(p, end))
            continue;
        if (m_options.uprightDigits && isDigit(text[p])) {
            std::size_t run = p;
            while (run < end && isDigit(text[run]))
                ++run;
            if (run - p <= 2) {
                addUnit(p, run, true);
            } else {
                // Longer numbers stay as they are, a cell per digit.
                for (std::size_t digit = p; digit < run; ++digit)
                    addUnit(digit, digit + 1);
            }
            p = run;
            continue;
        }
        addUnit(p, p + static_cast<std::size_t>(length));
        p += static_cast<std::size_t>(length);
    }
}

bool LineBreaker::readReading(std::size_t& p, std::size_t end, std::string_view& reading) const
{
    const char* text = m_text.data();
    const char* stop = text + m_text.size();
    const std::size_t begin = p;
    for (std::size_t q = p; q < end;) {
        const int length = Cp932::charLength(text + q, stop);
        const int code = Cp932::codeAt(text + q, stop);
        if (length == 1 && Cp932::isLeadByte(static_cast<unsigned char>(text[q])))
            return false;
        if (code == ReadingClose) {
            if (q == begin)
                return false;
            reading = m_text.substr(begin, q - begin);
            p = q + static_cast<std::size_t>(length);
            return true;
        }
        if (code == ReadingOpen || code == BaseMark)
            return false;
        q += static_cast<std::size_t>(length);
    }
    return false;
}

bool LineBreaker::readBarNotation(std::size_t& p, std::size_t end)
{
    const char* text = m_text.data();
    const char* stop = text + m_text.size();
    // "｜" base "《" reading "》": the base runs up to the "《".
    const std::size_t baseBegin = p + 2;
    std::size_t q = baseBegin;
    while (q < end) {
        const int code = Cp932::codeAt(text + q, stop);
        const int length = Cp932::charLength(text + q, stop);
        if (code == ReadingOpen)
            break;
        if (code == BaseMark || code == ReadingClose ||
            (length == 1 && Cp932::isLeadByte(static_cast<unsigned char>(text[q]))))
            return false;
        q += static_cast<std::size_t>(length);
    }
    if (q >= end || q == baseBegin)
        return false;
    std::size_t after = q + 2;
    std::string_view reading;
    if (!readReading(after, end, reading))
        return false;
    const std::size_t first = m_units.size();
    for (std::size_t c = baseBegin; c < q;) {
        const std::size_t next = c + static_cast<std::size_t>(Cp932::charLength(text + c, stop));
        addUnit(c, next);
        m_units.back().group = static_cast<int>(m_groups.size());
        c = next;
    }
    m_groups.push_back({first, m_units.size(), reading});
    p = after;
    return true;
}

bool LineBreaker::readKanjiNotation(std::size_t& p, std::size_t end)
{
    // The base is the run of kanji just before the "《", each a unit of its
    // own that belongs to no other reading.
    std::size_t first = m_units.size();
    while (first > 0) {
        const Unit& unit = m_units[first - 1];
        if (unit.upright || unit.group >= 0 || unit.first != unit.last ||
            !(LineBreakClasses::of(unit.first) & LineBreakClasses::Kanji))
            break;
        // Only characters that follow each other in the text.
        if (first < m_units.size() && m_units[first].begin != unit.end)
            break;
        --first;
    }
    if (first == m_units.size() || m_units.back().end != p)
        return false;
    std::size_t after = p + 2;
    std::string_view reading;
    if (!readReading(after, end, reading))
        return false;
    for (std::size_t unit = first; unit < m_units.size(); ++unit)
        m_units[unit].group = static_cast<int>(m_groups.size());
    m_groups.push_back({first, m_units.size(), reading});
    p = after;
    return true;
}

void LineBreaker::placeSegment(int room)
{
    const std::size_t count = m_units.size();
    std::size_t start = 0;
    while (true) {
        const std::size_t left = count - start;
        if (left <= static_cast<std::size_t>(room)) {
            emit(start, count);
            return;
        }
        std::size_t cut = start + static_cast<std::size_t>(room);
        if (room > 0 && m_options.lineBreaking != TypesettingOptions::LineBreaking::Off)
            cut = breakBefore(start, cut);
        emit(start, cut);
        if (cut >= count)
            return;
        newLine();
        start = cut;
        room = m_width;
    }
}

bool LineBreaker::mayBreakBefore(std::size_t unit) const
{
    const Unit& before = m_units[unit - 1];
    const Unit& after = m_units[unit];
    if (before.group >= 0 && before.group == after.group)
        return false;
    const uint8_t starts = after.upright ? 0 : LineBreakClasses::of(after.first);
    const uint8_t ends = before.upright ? 0 : LineBreakClasses::of(before.last);
    const bool loose = m_options.lineBreaking == TypesettingOptions::LineBreaking::Loose;
    if ((starts & LineBreakClasses::StartProhibited) &&
        !(loose && (starts & LineBreakClasses::LooseStartAllowed)))
        return false;
    if (ends & LineBreakClasses::EndProhibited)
        return false;
    return !((ends & LineBreakClasses::Inseparable) && (starts & LineBreakClasses::Inseparable));
}

std::size_t LineBreaker::breakBefore(std::size_t start, std::size_t cut) const
{
    if (mayBreakBefore(cut))
        return cut;
    // A full stop or comma hangs past the line's end, when the line after it
    // may start where it then does.
    const Unit& next = m_units[cut];
    if (!next.upright && next.group < 0 &&
        (LineBreakClasses::of(next.first) & LineBreakClasses::Hanging) &&
        (cut + 1 == m_units.size() || mayBreakBefore(cut + 1)))
        return cut + 1;
    // Otherwise the line gives its last cells to the next line.
    for (std::size_t earlier = cut - 1; earlier > start; --earlier) {
        if (mayBreakBefore(earlier))
            return earlier;
    }
    // Nothing in the line may end it: cut as the plain grid does.
    return cut;
}

void LineBreaker::emit(std::size_t first, std::size_t end)
{
    const std::size_t marksBefore = m_marks->size();
    for (std::size_t i = first; i < end; ++i) {
        const Unit& unit = m_units[i];
        const int32_t offset = m_out->length() - m_lineStart;
        const int32_t length = static_cast<int32_t>(unit.end - unit.begin);
        m_out->append(m_text.substr(unit.begin, unit.end - unit.begin));
        if (unit.upright)
            m_marks->push_back({m_line, offset, length, {}});
    }
    // The readings of the bases on the line, or of the parts of them.
    for (const Group& group : m_groups) {
        const std::size_t from = std::max(first, group.first);
        const std::size_t to = std::min(end, group.end);
        if (from >= to)
            continue;
        // Where the base part lies on the line: after the units before it.
        int32_t offset = m_out->length() - m_lineStart;
        for (std::size_t i = end; i > from; --i)
            offset -= static_cast<int32_t>(m_units[i - 1].end - m_units[i - 1].begin);
        int32_t length = 0;
        for (std::size_t i = from; i < to; ++i)
            length += static_cast<int32_t>(m_units[i].end - m_units[i].begin);
        emitReading(group, from, to, offset, length);
    }
    // Marks stay in the order of their bytes (a line is emitted at once).
    std::stable_sort(m_marks->begin() + static_cast<std::ptrdiff_t>(marksBefore), m_marks->end(),
                     [](const ScriptLayout::Mark& a, const ScriptLayout::Mark& b) {
                         return a.offset < b.offset;
                     });
}

void LineBreaker::emitReading(const Group& group, std::size_t first, std::size_t end,
                              int32_t offset, int32_t length)
{
    // A base cut over several lines shares its reading out in proportion to
    // the characters of the base on each line.
    const char* begin = group.reading.data();
    const char* stop = begin + group.reading.size();
    const std::size_t characters = Cp932::count(begin, stop);
    const std::size_t baseLength = group.end - group.first;
    const std::size_t from = characters * (first - group.first) / baseLength;
    const std::size_t to = characters * (end - group.first) / baseLength;
    if (from >= to)
        return;
    const char* p = begin;
    for (std::size_t i = 0; i < from; ++i)
        p = Cp932::next(p, stop);
    const char* q = p;
    for (std::size_t i = from; i < to; ++i)
        q = Cp932::next(q, stop);
    m_marks->push_back({m_line, offset, length, std::string(p, static_cast<std::size_t>(q - p))});
}

void LineBreaker::newLine()
{
    m_out->append(continuation);
    m_lineStart = m_out->length() - static_cast<int32_t>(continuation.size() - 1);
    ++m_line;
    ++m_lines;
}
