#include "platform/TextCodec.h"

#include <cassert>
#include <iterator>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

namespace {

// ICU converters are not thread-safe; each thread keeps its own pair, one
// lenient (substituting) and one strict (stopping on the first bad byte).
struct ConverterDeleter {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterDeleter>;

// ICU's own substitute for a byte that is no character is U+001A, a control
// character that terminals and widgets do not show; U+FFFD is seen.
void substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* error)
{
    if (reason > UCNV_IRREGULAR)
        return;
    static const UChar replacement = 0xFFFD;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
}

UConverter* openConverter(bool strict)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-31j", &status);
    assert(U_SUCCESS(status) && "ICU has no windows-31j converter");
    if (strict) {
        ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    } else {
        ucnv_setToUCallBack(c, substituteReplacementCharacter, nullptr, nullptr, nullptr, &status);
        // ICU would write the undefined pair FC FC; a "?" reads back as what
        // it is.
        ucnv_setSubstChars(c, "?", 1, &status);
    }
    assert(U_SUCCESS(status) && "cannot set up the windows-31j converter");
    return c;
}

UConverter* converter(bool strict)
{
    thread_local ConverterPtr lenient(openConverter(false));
    thread_local ConverterPtr exact(openConverter(true));
    UConverter* c = strict ? exact.get() : lenient.get();
    ucnv_reset(c);
    return c;
}

// The streaming calls take pointer ranges, so that texts beyond the 2 GiB an
// int32_t length could express convert too. Every CP932 byte gives at most
// one UTF-16 unit, and every UTF-16 unit at most two CP932 bytes.
bool decode(std::string_view cp932, std::u16string& out, bool strict)
{
    out.assign(cp932.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    auto* begin = reinterpret_cast<UChar*>(out.data());
    UChar* target = begin;
    const char* source = cp932.data();
    ucnv_toUnicode(converter(strict), &target, begin + out.size(), &source, source + cp932.size(),
                   nullptr, true, &status);
    if (U_FAILURE(status)) {
        out.clear();
        return false;
    }
    out.resize(static_cast<std::size_t>(target - begin));
    return true;
}

bool encode(std::u16string_view utf16, std::string& out, bool strict)
{
    out.assign(utf16.size() * 2 + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    char* begin = out.data();
    char* target = begin;
    const auto* source = reinterpret_cast<const UChar*>(utf16.data());
    ucnv_fromUnicode(converter(strict), &target, begin + out.size(), &source, source + utf16.size(),
                     nullptr, true, &status);
    if (U_FAILURE(status)) {
        out.clear();
        return false;
    }
    out.resize(static_cast<std::size_t>(target - begin));
    return true;
}

bool utf8ToUtf16(std::string_view utf8, std::u16string& out, bool strict)
{
    out.clear();
    out.reserve(utf8.size());
    std::size_t i = 0;
    auto bad = [&]() {
        if (strict)
            return false;
        out.push_back(u'\uFFFD');
        ++i;
        return true;
    };
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        std::size_t n;
        if (b < 0x80) {
            cp = b;
            n = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            n = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            n = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            n = 4;
        } else {
            if (!bad())
                return false;
            continue;
        }
        if (i + n > utf8.size()) {
            if (!bad())
                return false;
            continue;
        }
        bool ok = true;
        for (std::size_t k = 1; k < n; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!ok || cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            if (!bad())
                return false;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return true;
}

bool utf16ToUtf8(std::u16string_view utf16, std::string& out, bool strict)
{
    out.clear();
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (strict)
                return false;
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return true;
}

} // namespace

std::u16string TextCodec::toUtf16(std::string_view cp932)
{
    std::u16string out;
    decode(cp932, out, false);
    return out;
}

std::string TextCodec::fromUtf16(std::u16string_view utf16)
{
    std::string out;
    encode(utf16, out, false);
    return out;
}

std::string TextCodec::toUtf8(std::string_view cp932)
{
    std::string out;
    utf16ToUtf8(toUtf16(cp932), out, false);
    return out;
}

std::string TextCodec::fromUtf8(std::string_view utf8)
{
    std::u16string wide;
    utf8ToUtf16(utf8, wide, false);
    return fromUtf16(wide);
}

bool TextCodec::toUtf8Exact(std::string_view cp932, std::string& out)
{
    std::u16string wide;
    return decode(cp932, wide, true) && utf16ToUtf8(wide, out, true);
}

bool TextCodec::fromUtf8Exact(std::string_view utf8, std::string& out)
{
    std::u16string wide;
    return utf8ToUtf16(utf8, wide, true) && encode(wide, out, true);
}

bool TextCodec::toUtf16Exact(std::string_view cp932, std::u16string& out)
{
    return decode(cp932, out, true);
}

bool TextCodec::fromUtf16Exact(std::u16string_view utf16, std::string& out)
{
    return encode(utf16, out, true);
}

namespace {

// What the substituting converter's callback writes and counts.
struct Substitution {
    std::string_view bytes;
    std::size_t count = 0;
};

void writeSubstitute(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                     UChar32, UConverterCallbackReason reason, UErrorCode* error)
{
    if (reason > UCNV_IRREGULAR)
        return; // Reset, close and clone calls: nothing to write.
    auto* substitution = static_cast<Substitution*>(const_cast<void*>(context));
    *error = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, substitution->bytes.data(),
                           static_cast<int32_t>(substitution->bytes.size()), 0, error);
    ++substitution->count;
}

// The JIS mapping of Shift-JIS and Windows' code page 932 give seven
// characters different code points. Text from other systems carries the JIS
// ones; the code page holds the same characters under its own.
char16_t windowsForm(char16_t unit)
{
    switch (unit) {
    case u'\u301C': // WAVE DASH
        return u'\uFF5E';
    case u'\u2016': // DOUBLE VERTICAL LINE
        return u'\u2225';
    case u'\u2212': // MINUS SIGN
        return u'\uFF0D';
    case u'\u2014': // EM DASH
        return u'\u2015';
    case u'\u00A2': // CENT SIGN
        return u'\uFFE0';
    case u'\u00A3': // POUND SIGN
        return u'\uFFE1';
    case u'\u00AC': // NOT SIGN
        return u'\uFFE2';
    default:
        return unit;
    }
}

} // namespace

bool TextCodec::isCp932(std::string_view cp932)
{
    UConverter* c = converter(true);
    // Decoded through a small buffer: only the verdict is wanted.
    UChar buffer[1024];
    const char* source = cp932.data();
    const char* const end = source + cp932.size();
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        UChar* target = buffer;
        ucnv_toUnicode(c, &target, buffer + std::size(buffer), &source, end, nullptr, true,
                       &status);
        if (status != U_BUFFER_OVERFLOW_ERROR)
            return U_SUCCESS(status);
    }
}

std::size_t TextCodec::appendFromUtf8(std::string_view utf8, std::string_view substitute,
                                      std::string& out)
{
    std::u16string wide;
    utf8ToUtf16(utf8, wide, false);
    for (char16_t& unit : wide)
        unit = windowsForm(unit);

    thread_local ConverterPtr substituting(openConverter(true));
    UConverter* c = substituting.get();
    ucnv_reset(c);
    Substitution substitution{substitute};
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(c, writeSubstitute, &substitution, nullptr, nullptr, &status);
    assert(U_SUCCESS(status) && "cannot set the substituting callback");

    const auto* source = reinterpret_cast<const UChar*>(wide.data());
    const UChar* const end = source + wide.size();
    char buffer[4096];
    for (;;) {
        status = U_ZERO_ERROR;
        char* target = buffer;
        ucnv_fromUnicode(c, &target, buffer + sizeof buffer, &source, end, nullptr, true, &status);
        out.append(buffer, static_cast<std::size_t>(target - buffer));
        if (status != U_BUFFER_OVERFLOW_ERROR)
            break;
    }
    // The callback is bound to this call's counter: it must not outlive it.
    status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return substitution.count;
}
