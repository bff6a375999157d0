#include "document/CatalogueHeader.h"

#include "document/ScreenplaySource.h"
#include "fc/FCString.h"
#include "fc/FileHelpers.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/Cp932.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

constexpr int FullWidthSpace = 0x8140;
// A header never grows beyond what one string may hold.
constexpr size_t LargestPiece = size_t(std::numeric_limits<int32_t>::max() - 1);

// The length of the character at p (p < end), as Cp932::charLength.
inline size_t charLength(const char* p, const char* end)
{
    return Cp932::isLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end && p[1] != '\0' ? 2 : 1;
}

inline int codeAt(const char* p, const char* end)
{
    if (p >= end)
        return 0;
    const auto lead = static_cast<unsigned char>(*p);
    return charLength(p, end) == 2 ? lead * 256 + static_cast<unsigned char>(p[1]) : lead;
}

// Token scanning as FCString::nextToken does it: skip delimiters, then take
// characters up to the next delimiter. rest is left on that delimiter.
template <typename Predicate>
std::string_view nextToken(std::string_view& rest, Predicate isDelimiter)
{
    const char* p = rest.data();
    const char* end = p + rest.size();
    while (p < end && isDelimiter(codeAt(p, end)))
        p += charLength(p, end);
    const char* start = p;
    while (p < end && !isDelimiter(codeAt(p, end)))
        p += charLength(p, end);
    rest = std::string_view(p, size_t(end - p));
    return std::string_view(start, size_t(p - start));
}

} // namespace

CatalogueHeader::CatalogueHeader() = default;

CatalogueHeader::~CatalogueHeader() = default;

void CatalogueHeader::reset()
{
    m_entries.clear();
    m_scene = {};
    m_hasScene = false;
    m_hasTotal = false;
}

bool CatalogueHeader::load(const char* path)
{
    reset();
    m_buffer.clear();
    m_readAsUtf8 = false;
    m_substitutions = 0;
    uint32_t attributes = 0;
    if (!fileExists(path, &attributes) || (attributes & FileSystem::AttributeDirectory))
        return false;

    // The source hands over CP932 whatever the file was saved in.
    ScreenplaySource source;
    if (!source.open(path))
        return false;
    m_readAsUtf8 = source.readAsUtf8();
    m_substitutions = source.substitutions();

    try {
        // A small file is read in one piece of its own size (one byte more,
        // to see its end), so the buffer is never filled in vain.
        size_t wanted = FirstPiece;
        const int64_t size = source.storedSize();
        if (size >= 0 && uint64_t(size) < FirstPiece)
            wanted = size_t(size) + 1;
        bool atEnd = false;
        for (;;) {
            while (m_buffer.size() < wanted) {
                const size_t old = m_buffer.size();
                const size_t piece = wanted - old;
                m_buffer.resize(old + piece);
                const size_t got = source.read(m_buffer.data() + old, piece);
                m_buffer.resize(old + got);
                if (got == 0) {
                    atEnd = true;
                    break;
                }
            }
            if (scanText(m_buffer, atEnd))
                return true;
            if (wanted >= LargestPiece)
                throw NotEnoughMemoryException("CatalogueHeader - load");
            wanted = std::min(wanted * 2, LargestPiece);
        }
    } catch (const std::bad_alloc&) {
        reset();
        m_buffer.clear();
        m_buffer.shrink_to_fit();
        throw NotEnoughMemoryException("CatalogueHeader - load");
    }
}

void CatalogueHeader::scan(std::string_view text)
{
    scanText(text, true);
}

bool CatalogueHeader::scanText(std::string_view text, bool complete)
{
    reset();
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        // Runs of line breaks: CR and LF are never lead bytes, and p stands
        // on a character boundary here.
        while (p < end && (*p == '\r' || *p == '\n'))
            ++p;
        if (p >= end)
            return complete;
        const char* start = p;
        while (p < end && *p != '\r' && *p != '\n')
            p += charLength(p, end);
        // A line that runs into the end of a piece may go on in the file.
        if (p >= end && !complete)
            return false;

        const char* q = start;
        while (q < p) {
            const int code = codeAt(q, p);
            if (code != ' ' && code != '\t' && code != FullWidthSpace)
                break;
            q += charLength(q, p);
        }
        const std::string_view line(q, size_t(p - q));
        const int first = codeAt(q, p);
        if (first == ';')
            continue;
        if (first != '.')
            return true;
        readDirective(line);
        if (m_hasTotal)
            return true;
    }
}

void CatalogueHeader::readDirective(std::string_view line)
{
    // Every leading dot goes ("..scene" is "scene").
    std::string_view rest = line;
    while (!rest.empty() && rest.front() == '.')
        rest.remove_prefix(1);
    const std::string_view name = nextToken(rest, [](int code) { return code == '\t'; });
    const std::string_view value =
        nextToken(rest, [](int code) { return code == '\t' || code == ';' || code == '\n'; });

    if (name == "scene") {
        m_scene = value;
        m_hasScene = true;
    } else if (name == "start" || name == "end" || name == "chara") {
        // Message range and entry count: not needed by the catalogue.
    } else if (name == "total") {
        m_hasTotal = true;
    } else if (!name.empty()) {
        // A line of dots alone names no one; it would make a character
        // without a name.
        m_entries.push_back({name, toInteger(value)});
    }
}

int32_t CatalogueHeader::toInteger(std::string_view text)
{
    return FCString::parseInteger(text);
}
