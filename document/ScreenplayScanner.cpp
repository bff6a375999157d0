#include "document/ScreenplayScanner.h"

#include "fc/FCString.h"
#include "platform/Cp932.h"

#include <cstring>

ScreenplayScanner::ScreenplayScanner(std::string_view text) : m_text(text) {}

namespace {

// True when the line ends with a lead byte that has no trail byte: the run
// of lead-capable bytes at its end has odd length. Any other byte before the
// run (a single-byte character or a trail byte) is followed by a character
// boundary, so the run's parity decides which of its bytes are leads.
bool endsWithLoneLead(const char* lineStart, const char* stop)
{
    std::size_t run = 0;
    while (stop > lineStart && Cp932::isLeadByte(static_cast<unsigned char>(stop[-1]))) {
        --stop;
        ++run;
    }
    return run % 2 == 1;
}

const char* findLineBreak(const char* p, const char* end)
{
    const char* lf =
        static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* limit = lf ? lf : end;
    const char* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(limit - p)));
    return cr ? cr : limit;
}

} // namespace

ScreenplayScanner::ScreenplayScanner(Source source, std::size_t pieceSize)
    : m_source(std::move(source)), m_pieceSize(pieceSize < 16 ? 16 : pieceSize),
      m_sourceEnded(false)
{
}

bool ScreenplayScanner::refill(std::size_t keepFrom)
{
    if (m_sourceEnded)
        return false;
    // The bytes before keepFrom are done with; what is kept is the start of a
    // line (or nothing), which moves to the front.
    std::size_t kept = m_text.size() - keepFrom;
    std::size_t capacity = m_pieceSize;
    while (capacity < kept + m_pieceSize / 2)
        capacity *= 2; // A line longer than the buffer: room for more of it.
    if (m_bufferSize < capacity) {
        std::unique_ptr<char[]> larger(new char[capacity]);
        if (kept > 0)
            std::memcpy(larger.get(), m_text.data() + keepFrom, kept);
        m_buffer = std::move(larger);
        m_bufferSize = capacity;
    } else if (keepFrom > 0 && kept > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + keepFrom, kept);
    }
    std::size_t got = m_source(m_buffer.get() + kept, m_bufferSize - kept);
    if (got == 0)
        m_sourceEnded = true;
    m_text = std::string_view(m_buffer.get(), kept + got);
    m_position -= keepFrom;
    return got > 0;
}

bool ScreenplayScanner::nextLine(std::string_view& line)
{
    for (;;) {
        const char* begin = m_text.data();
        const char* end = begin + m_text.size();
        const char* p = begin + m_position;
        while (p < end && (*p == '\r' || *p == '\n'))
            ++p;
        m_position = static_cast<std::size_t>(p - begin);
        if (p >= end) {
            if (refill(m_position))
                continue;
            return false;
        }
        const char* start = p;
        const char* stop = findLineBreak(p, end);
        if (stop >= end && !m_sourceEnded) {
            // The line may go on in the next piece: keep it and read more.
            refill(m_position);
            continue;
        }
        m_position = static_cast<std::size_t>(stop - begin);
        if (endsWithLoneLead(start, stop))
            --stop;
        if (stop == start)
            continue; // Nothing but the stray byte: an empty line.
        line = std::string_view(start, static_cast<std::size_t>(stop - start));
        return true;
    }
}

std::size_t ScreenplayScanner::countChars(std::string_view text)
{
    return Cp932::count(text.data(), text.data() + text.size());
}

int32_t ScreenplayScanner::toInteger(std::string_view text)
{
    return FCString::parseInteger(text);
}
