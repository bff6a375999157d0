#include "document/ScreenplayEncoding.h"

#include "platform/Cp932.h"
#include "platform/TextCodec.h"

void ScreenplayEncoding::feed(std::string_view bytes)
{
    if (m_byteOrderMark == Mark::Unknown) {
        // The mark is three bytes; a first piece may be shorter.
        m_head.append(bytes);
        const std::string_view head(m_head);
        if (head.size() < ByteOrderMark.size() && ByteOrderMark.starts_with(head))
            return;
        m_byteOrderMark = head.starts_with(ByteOrderMark) ? Mark::Present : Mark::Absent;
        std::string seen;
        seen.swap(m_head);
        if (m_byteOrderMark == Mark::Absent) {
            checkUtf8(seen);
            checkCp932(seen);
        }
        return;
    }
    if (m_byteOrderMark == Mark::Present)
        return; // Read as UTF-8 whatever follows.
    checkUtf8(bytes);
    checkCp932(bytes);
}

bool ScreenplayEncoding::settled() const
{
    return m_byteOrderMark == Mark::Absent && !m_utf8;
}

ScreenplayEncoding::Kind ScreenplayEncoding::finish()
{
    if (m_byteOrderMark == Mark::Unknown) {
        // A file shorter than the mark that begins like it.
        m_byteOrderMark = Mark::Absent;
        std::string seen;
        seen.swap(m_head);
        checkUtf8(seen);
        checkCp932(seen);
    }
    if (m_byteOrderMark == Mark::Present)
        return Kind::Utf8;
    // A lead byte standing last is no Shift-JIS character. A UTF-8 sequence
    // still wanting bytes (m_wanted) is the forgiven cut at the end.
    if (!m_cp932Lead.empty())
        m_cp932 = false;
    return m_utf8 && m_multiByte && !m_cp932 ? Kind::Utf8 : Kind::ShiftJis;
}

ScreenplayEncoding::Kind ScreenplayEncoding::of(std::string_view text)
{
    ScreenplayEncoding encoding;
    encoding.feed(text);
    return encoding.finish();
}

void ScreenplayEncoding::checkUtf8(std::string_view bytes)
{
    if (!m_utf8)
        return;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (m_wanted > 0) {
            if (b < m_low || b > m_high) {
                m_utf8 = false;
                return;
            }
            m_low = 0x80;
            m_high = 0xBF;
            if (--m_wanted == 0)
                m_multiByte = true;
            continue;
        }
        if (b < 0x80)
            continue;
        if (b >= 0xC2 && b <= 0xDF) {
            m_wanted = 1;
        } else if (b == 0xE0) {
            m_wanted = 2;
            m_low = 0xA0; // below: an overlong form
        } else if (b == 0xED) {
            m_wanted = 2;
            m_high = 0x9F; // above: a surrogate
        } else if (b >= 0xE1 && b <= 0xEF) {
            m_wanted = 2;
        } else if (b == 0xF0) {
            m_wanted = 3;
            m_low = 0x90; // below: an overlong form
        } else if (b >= 0xF1 && b <= 0xF3) {
            m_wanted = 3;
        } else if (b == 0xF4) {
            m_wanted = 3;
            m_high = 0x8F; // above: past U+10FFFF
        } else {
            // A continuation byte without a lead, C0, C1 or F5 to FF.
            m_utf8 = false;
            return;
        }
    }
}

void ScreenplayEncoding::checkCp932(std::string_view bytes)
{
    // Once the answer cannot be UTF-8, Shift-JIS validity no longer matters.
    if (!m_cp932 || !m_utf8)
        return;
    if (!m_cp932Lead.empty()) {
        if (bytes.empty())
            return;
        const std::string pair = m_cp932Lead + bytes.front();
        m_cp932Lead.clear();
        bytes.remove_prefix(1);
        if (!TextCodec::isCp932(pair)) {
            m_cp932 = false;
            return;
        }
    }
    // A lead byte that ends the piece waits for its trail in the next one.
    // Every lead byte can also be a trail byte, and the byte before a run of
    // them ends a character, so an odd run ends with a lead.
    std::size_t run = 0;
    while (run < bytes.size() &&
           Cp932::isLeadByte(static_cast<unsigned char>(bytes[bytes.size() - 1 - run])))
        ++run;
    if (run % 2 == 1) {
        m_cp932Lead.assign(1, bytes.back());
        bytes.remove_suffix(1);
    }
    if (!TextCodec::isCp932(bytes))
        m_cp932 = false;
}
