#include "document/ScreenplayUtf8Decoder.h"

#include "document/ScreenplayEncoding.h"
#include "platform/TextCodec.h"

namespace {

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The bytes a sequence starting with b takes, or 0 for a byte that starts
// none.
std::size_t sequenceLength(unsigned char b)
{
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 0;
}

// Where the sequence that the text's end cuts short begins (text.size()
// when none is): a lead among the last three bytes, followed only by
// continuation bytes, fewer than it takes.
std::size_t incompleteTail(std::string_view text)
{
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto b = static_cast<unsigned char>(text[size - back]);
        if (isContinuation(b))
            continue;
        const std::size_t length = sequenceLength(b);
        return length > back ? size - back : size;
    }
    return size;
}

} // namespace

void ScreenplayUtf8Decoder::convert(std::string_view bytes, std::string& out)
{
    std::string joined;
    std::string_view text = bytes;
    if (!m_carry.empty()) {
        joined = m_carry;
        joined.append(bytes);
        m_carry.clear();
        text = joined;
    }
    if (m_atStart) {
        const std::string_view mark = ScreenplayEncoding::ByteOrderMark;
        if (text.size() < mark.size() && mark.starts_with(text)) {
            m_carry.assign(text); // Too short to tell yet.
            return;
        }
        m_atStart = false;
        if (text.starts_with(mark))
            text.remove_prefix(mark.size());
    }
    const std::size_t cut = incompleteTail(text);
    m_carry.assign(text.substr(cut));
    m_substitutions += TextCodec::appendFromUtf8(text.substr(0, cut), Substitute, out);
}

void ScreenplayUtf8Decoder::finish(std::string& out)
{
    if (m_carry.empty())
        return;
    out.append(Substitute);
    ++m_substitutions;
    m_carry.clear();
}
