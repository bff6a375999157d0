#include "platform/TextMapper.h"

#include "platform/Cp932.h"
#include "platform/TextCodec.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace {

constexpr unsigned char voicedMark = 0xDE;     // half-width dakuten
constexpr unsigned char semiVoicedMark = 0xDF; // half-width handakuten

bool isHalfWidthKana(unsigned char byte)
{
    return byte >= 0xA1 && byte <= 0xDF;
}

// The full-width form of a half-width kana byte. The sound marks standing
// alone become the spacing full-width marks rather than the combining ones
// compatibility decomposition would give, since only those exist in CP932.
char16_t fullWidthKana(unsigned char byte)
{
    if (byte == voicedMark)
        return u'\u309B';
    if (byte == semiVoicedMark)
        return u'\u309C';
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    char16_t half = static_cast<char16_t>(0xFF61 + (byte - 0xA1));
    if (U_FAILURE(status))
        return half;
    icu::UnicodeString full = nfkc->normalize(icu::UnicodeString(half), status);
    if (U_FAILURE(status) || full.length() != 1)
        return half;
    return full[0];
}

// The kana with its sound mark folded in (カ + ゛ = ガ), or 0 where Unicode
// has no such character.
char16_t voicedKana(char16_t kana, unsigned char mark)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return 0;
    UChar32 combining = mark == voicedMark ? 0x3099 : 0x309A;
    UChar32 composed = nfc->composePair(kana, combining);
    return composed > 0 && composed <= 0xFFFF ? static_cast<char16_t>(composed) : 0;
}

// The CP932 bytes of one UTF-16 character, or false where CP932 lacks it.
bool encodeOne(char16_t c, std::string& out)
{
    return TextCodec::fromUtf16Exact(std::u16string_view(&c, 1), out);
}

void mapAscii(char* begin, char* end, bool upper)
{
    for (char* p = begin; p < end;) {
        int n = Cp932::charLength(p, end);
        if (n == 1) {
            char c = *p;
            if (upper && c >= 'a' && c <= 'z')
                *p = static_cast<char>(c - 'a' + 'A');
            else if (!upper && c >= 'A' && c <= 'Z')
                *p = static_cast<char>(c - 'A' + 'a');
        }
        p += n;
    }
}

} // namespace

std::string TextMapper::toFullWidth(std::string_view cp932)
{
    std::string out;
    out.reserve(cp932.size() * 2);
    const char* p = cp932.data();
    const char* end = p + cp932.size();
    while (p < end) {
        int n = Cp932::charLength(p, end);
        auto byte = static_cast<unsigned char>(*p);
        std::string mapped;
        if (n == 1 && byte >= 0x20 && byte <= 0x7E) {
            char16_t full = byte == 0x20 ? u'\u3000' : static_cast<char16_t>(0xFF00 + byte - 0x20);
            if (encodeOne(full, mapped)) {
                out += mapped;
                ++p;
                continue;
            }
        } else if (n == 1 && isHalfWidthKana(byte)) {
            char16_t kana = fullWidthKana(byte);
            if (byte != voicedMark && byte != semiVoicedMark && p + 1 < end) {
                auto mark = static_cast<unsigned char>(p[1]);
                if (mark == voicedMark || mark == semiVoicedMark) {
                    // Where CP932 has no combined character (ワ with its mark),
                    // the mark follows as a character of its own.
                    char16_t voiced = voicedKana(kana, mark);
                    if (voiced != 0 && encodeOne(voiced, mapped)) {
                        out += mapped;
                        p += 2;
                        continue;
                    }
                }
            }
            if (encodeOne(kana, mapped)) {
                out += mapped;
                ++p;
                continue;
            }
        }
        out.append(p, static_cast<std::size_t>(n));
        p += n;
    }
    return out;
}

void TextMapper::toUpperAscii(std::string& cp932)
{
    toUpperAscii(cp932.data(), cp932.data() + cp932.size());
}

void TextMapper::toLowerAscii(std::string& cp932)
{
    toLowerAscii(cp932.data(), cp932.data() + cp932.size());
}

void TextMapper::toUpperAscii(char* begin, char* end)
{
    mapAscii(begin, end, true);
}

void TextMapper::toLowerAscii(char* begin, char* end)
{
    mapAscii(begin, end, false);
}
