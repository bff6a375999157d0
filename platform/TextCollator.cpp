#include "platform/TextCollator.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <memory>
#include <string>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/tblcoll.h>
#include <unicode/unistr.h>

namespace {

// Windows sorts ASCII punctuation in this order, all of it before digits and
// letters; the Japanese collator alone would interleave it differently.
// "-" and "'" are missing on purpose: they take part only as a tie-break.
constexpr const char windowsPunctuation[] = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

// The hiragana of the same sound as a half-width katakana, or its full-width
// form where it is no kana letter (the prolonged sound mark, the sound marks).
icu::UnicodeString fullWidthPartner(UChar32 halfWidth, const icu::Normalizer2& nfkc,
                                    UErrorCode& status)
{
    if (halfWidth == 0xFF9E)
        return icu::UnicodeString(static_cast<UChar32>(0x309B));
    if (halfWidth == 0xFF9F)
        return icu::UnicodeString(static_cast<UChar32>(0x309C));
    icu::UnicodeString full = nfkc.normalize(icu::UnicodeString(halfWidth), status);
    if (full.length() == 1 && full[0] >= 0x30A1 && full[0] <= 0x30F6)
        return icu::UnicodeString(static_cast<UChar32>(full[0] - 0x60));
    return full;
}

icu::UnicodeString windowsTailoring(UErrorCode& status)
{
    icu::UnicodeString rules;
    // Every punctuation character is escaped with a backslash: quoting does
    // not work for the backslash itself, and "\uXXXX" is not read as an
    // escape in a rule text.
    for (const char* p = windowsPunctuation; *p; ++p) {
        rules += icu::UnicodeString(p == windowsPunctuation ? "&\\" : "<\\");
        rules += icu::UnicodeString(static_cast<UChar32>(*p));
    }
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    if (U_FAILURE(status))
        return rules;
    // A half-width kana comes just before its hiragana, as a tertiary
    // difference.
    for (UChar32 h = 0xFF66; h <= 0xFF9F; ++h) {
        rules += icu::UnicodeString("&[before 3]");
        rules += fullWidthPartner(h, *nfkc, status);
        rules += icu::UnicodeString("<<<");
        rules += icu::UnicodeString(h);
    }
    // Texts that differ only in kana type put katakana before hiragana, as
    // Windows orders them (ICU's Japanese order has hiragana first). Each
    // katakana goes just before its hiragana, after the half-width kana
    // placed there above: ｱ < ア < あ.
    auto katakanaBeforeHiragana = [&rules](UChar32 hiragana, UChar32 katakana) {
        rules += icu::UnicodeString("&[before 3]");
        rules += icu::UnicodeString(hiragana);
        rules += icu::UnicodeString("<<<");
        rules += icu::UnicodeString(katakana);
    };
    for (UChar32 h = 0x3041; h <= 0x3096; ++h)
        katakanaBeforeHiragana(h, h + 0x60);
    katakanaBeforeHiragana(0x309D, 0x30FD); // the iteration marks
    katakanaBeforeHiragana(0x309E, 0x30FE);
    // A half-width kana with its sound mark sorts with the voiced kana it
    // stands for, just after it.
    for (UChar32 h = 0xFF66; h <= 0xFF9D; ++h) {
        for (UChar32 mark : {0xFF9E, 0xFF9F}) {
            icu::UnicodeString pair;
            pair.append(h).append(mark);
            icu::UnicodeString voiced = nfkc->normalize(pair, status);
            if (voiced.length() != 1 || voiced[0] < 0x30A1 || voiced[0] > 0x30FA)
                continue;
            rules += icu::UnicodeString("&");
            rules += voiced;
            rules += icu::UnicodeString("<<<");
            rules += pair;
        }
    }
    return rules;
}

std::unique_ptr<icu::Collator> buildCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> japanese(
        icu::Collator::createInstance(icu::Locale("ja"), status));
    auto* based = dynamic_cast<icu::RuleBasedCollator*>(japanese.get());
    if (U_FAILURE(status) || !based) {
        assert(false && "ICU has no Japanese collator");
        return nullptr;
    }
    icu::UnicodeString rules = based->getRules() + windowsTailoring(status);
    auto collator = std::make_unique<icu::RuleBasedCollator>(rules, icu::Collator::TERTIARY,
                                                             UCOL_DEFAULT, status);
    if (U_FAILURE(status)) {
        assert(false && "the Windows tailoring of the Japanese collator does not parse");
        return nullptr;
    }
    return collator;
}

const icu::Collator* collator()
{
    // Built once; compare() is const and safe to share between threads.
    static const std::unique_ptr<icu::Collator> instance = buildCollator();
    return instance.get();
}

int sign(int value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

icu::UnicodeString withoutHyphens(std::string_view cp932)
{
    std::u16string wide = TextCodec::toUtf16(cp932);
    std::u16string kept;
    kept.reserve(wide.size());
    for (char16_t c : wide) {
        if (c != u'-' && c != u'\'')
            kept.push_back(c);
    }
    return icu::UnicodeString(reinterpret_cast<const UChar*>(kept.data()),
                              static_cast<int32_t>(kept.size()));
}

// The tie-break for texts equal but for "-" and "'": bytes compared with those
// two raised above every other byte ("'" just below "-"), so that the text
// having one where the other has its next character sorts after it.
int compareHyphenated(std::string_view a, std::string_view b)
{
    auto weight = [](char c) -> unsigned {
        if (c == '-')
            return 0x1FF;
        if (c == '\'')
            return 0x1FE;
        return static_cast<unsigned char>(c);
    };
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned x = weight(a[i]);
        unsigned y = weight(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return sign(static_cast<int>(a.size() > n) - static_cast<int>(b.size() > n));
}

bool isPrintableAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// Where a printable ASCII character other than "-" and "'" stands in the
// tailored order: the punctuation as Windows sorts it, then the digits,
// then the letters with upper and lower case together.
unsigned asciiWeight(char c)
{
    static const std::array<unsigned char, 128> weights = [] {
        std::array<unsigned char, 128> table{};
        unsigned next = 1;
        for (const char* p = windowsPunctuation; *p; ++p)
            table[std::size_t(*p)] = static_cast<unsigned char>(next++);
        for (char digit = '0'; digit <= '9'; ++digit)
            table[std::size_t(digit)] = static_cast<unsigned char>(next++);
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            table[std::size_t(letter)] = static_cast<unsigned char>(next);
            table[std::size_t(letter - 'a' + 'A')] = static_cast<unsigned char>(next++);
        }
        return table;
    }();
    return weights[static_cast<unsigned char>(c)];
}

// The collator's verdict on two texts of printable ASCII: every character
// but "-" and "'" by its place in the order, and at the first difference of
// case alone among texts equal so, lower case first.
int compareAscii(std::string_view a, std::string_view b)
{
    auto counted = [](char c) { return c != '-' && c != '\''; };
    int caseOrder = 0;
    std::size_t i = 0;
    std::size_t k = 0;
    for (;;) {
        while (i < a.size() && !counted(a[i]))
            ++i;
        while (k < b.size() && !counted(b[k]))
            ++k;
        if (i == a.size() || k == b.size())
            break;
        const unsigned x = asciiWeight(a[i]);
        const unsigned y = asciiWeight(b[k]);
        if (x != y)
            return x < y ? -1 : 1;
        if (caseOrder == 0 && a[i] != b[k])
            caseOrder = a[i] >= 'a' ? -1 : 1;
        ++i;
        ++k;
    }
    if (i != a.size() || k != b.size())
        return i == a.size() ? -1 : 1;
    return caseOrder;
}

int tieBreak(std::string_view a, std::string_view b)
{
    const int hyphenated = compareHyphenated(a, b);
    return hyphenated != 0 ? hyphenated : sign(a.compare(b));
}

} // namespace

int TextCollator::compare(std::string_view a, std::string_view b)
{
    if (isPrintableAscii(a) && isPrintableAscii(b)) {
        const int result = compareAscii(a, b);
        return result != 0 ? result : tieBreak(a, b);
    }
    return compareCollated(a, b);
}

int TextCollator::compareCollated(std::string_view a, std::string_view b)
{
    if (const icu::Collator* c = collator()) {
        UErrorCode status = U_ZERO_ERROR;
        UCollationResult result = c->compare(withoutHyphens(a), withoutHyphens(b), status);
        if (U_SUCCESS(status) && result != UCOL_EQUAL)
            return result == UCOL_LESS ? -1 : 1;
        int hyphenated = compareHyphenated(a, b);
        if (hyphenated != 0)
            return hyphenated;
    }
    return sign(a.compare(b));
}
