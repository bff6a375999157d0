#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Decides how a screenplay file is read, from its bytes fed in order, piece
// by piece. Screenplays are Shift-JIS, but editors elsewhere save UTF-8; a
// file is read as UTF-8 when
//
//   - it starts with the UTF-8 byte-order mark, or
//   - it is UTF-8 throughout, holds at least one multi-byte sequence, and
//     is not Shift-JIS throughout (windows-31j, every byte a character).
//
// Anything else is read as Shift-JIS, which leaves plain ASCII (the same
// either way) and a text valid in both encodings as they always were read.
// A UTF-8 sequence cut short by the end of the file is forgiven: a file
// copied in part is still a UTF-8 file, and reading it as Shift-JIS would
// garble every line before the cut.
class ScreenplayEncoding {
public:
    enum class Kind { ShiftJis, Utf8 };

    static constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

    // The next bytes of the file.
    void feed(std::string_view bytes);
    // True when later bytes can no longer change the answer: the file is
    // broken UTF-8 without a byte-order mark, so it is read as Shift-JIS.
    bool settled() const;
    // The answer once every byte has been fed.
    Kind finish();

    bool hasByteOrderMark() const { return m_byteOrderMark == Mark::Present; }

    // The answer for a whole text.
    static Kind of(std::string_view text);

private:
    enum class Mark { Unknown, Present, Absent };

    void checkUtf8(std::string_view bytes);
    void checkCp932(std::string_view bytes);

    Mark m_byteOrderMark = Mark::Unknown;
    std::string m_head; // the first bytes while fewer than a mark's are known

    bool m_utf8 = true;
    bool m_multiByte = false;
    // The continuation bytes still wanted by the sequence in progress, and
    // the range the next one must fall in (narrower after some leads: no
    // overlong forms, no surrogates, nothing past U+10FFFF).
    int m_wanted = 0;
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;

    bool m_cp932 = true;
    std::string m_cp932Lead; // a lead byte that ended the last piece
};
