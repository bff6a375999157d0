#include "render/LineBreakClasses.h"

#include "platform/Cp932.h"
#include "platform/TextCodec.h"

#include <array>
#include <cassert>
#include <string>
#include <string_view>

namespace {

using Table = std::array<uint8_t, 0x10000>;

// Every character of a list (UTF-8, characters CP932 holds) gets the bits.
void mark(Table& table, std::string_view utf8, uint8_t bits)
{
    std::string cp932;
    const bool exact = TextCodec::fromUtf8Exact(utf8, cp932);
    assert(exact && "LineBreakClasses: a listed character CP932 cannot hold");
    (void)exact;
    const char* p = cp932.data();
    const char* end = p + cp932.size();
    for (; p < end; p = Cp932::next(p, end))
        table[static_cast<std::size_t>(Cp932::codeAt(p, end))] |= bits;
}

void markRange(Table& table, int first, int last, uint8_t bits)
{
    for (int code = first; code <= last; ++code) {
        // Trail bytes run from 0x40 to 0xFC, without 0x7F.
        const int trail = code & 0xFF;
        if (trail >= 0x40 && trail <= 0xFC && trail != 0x7F)
            table[static_cast<std::size_t>(code)] |= bits;
    }
}

Table build()
{
    using namespace LineBreakClasses;
    Table table{};
    // Closing brackets and quotes, with the half-width forms.
    mark(table, "」』）〕］｝〉》】’”)]}｣", StartProhibited);
    // Hyphens: the code page's wave dash is the full-width tilde.
    mark(table, "‐～", StartProhibited);
    // Dividing punctuation.
    mark(table, "！？!?", StartProhibited);
    // Middle dots; only ・ (and its half-width form) may start a loose line.
    mark(table, "：；", StartProhibited);
    mark(table, "・･", StartProhibited | LooseStartAllowed);
    // Full stops and commas hang.
    mark(table, "。．｡、，､", StartProhibited | Hanging);
    // Iteration marks; 々 may start a loose line.
    mark(table, "ヽヾゝゞ", StartProhibited);
    mark(table, "々", StartProhibited | LooseStartAllowed);
    // The prolonged sound mark and small kana, full and half width.
    mark(table, "ーｰ", StartProhibited | LooseStartAllowed);
    mark(table, "ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶｧｨｩｪｫｯｬｭｮ",
         StartProhibited | LooseStartAllowed);
    // Opening brackets and quotes, with the half-width forms.
    mark(table, "「『（〔［｛〈《【‘“([{｢", EndProhibited);
    // Dashes and leaders.
    mark(table, "―…‥", Inseparable);
    // Kanji: both JIS levels, the NEC and IBM extensions, and the marks
    // that stand in a name like a kanji.
    markRange(table, 0x889F, 0x9FFC, Kanji);
    markRange(table, 0xE040, 0xEAA4, Kanji);
    markRange(table, 0xED40, 0xEEEC, Kanji);
    markRange(table, 0xFA5C, 0xFC4B, Kanji);
    mark(table, "々〆〇ヶ仝", Kanji);
    return table;
}

} // namespace

uint8_t LineBreakClasses::of(int code)
{
    static const Table table = build();
    if (code < 0 || code > 0xFFFF)
        return 0;
    return table[static_cast<std::size_t>(code)];
}
