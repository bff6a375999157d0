#pragma once

#include <string>
#include <string_view>

// Conversion between the program's CP932 text and UTF-8 (and UTF-16 for
// ICU), used only at the edges: file names, terminal, GUI, clipboard.
class TextCodec {
public:
    // Lenient conversions: they never fail. CP932 bytes that are no character
    // become U+FFFD; characters CP932 lacks become "?", as Windows writes
    // them; broken UTF-8 becomes U+FFFD.
    static std::string toUtf8(std::string_view cp932);
    static std::string fromUtf8(std::string_view utf8);
    static std::u16string toUtf16(std::string_view cp932);
    static std::string fromUtf16(std::u16string_view utf16);

    // Exact conversions for names on disk: false (out unspecified) when some
    // character has no form on the other side, so that a name never silently
    // turns into another one.
    [[nodiscard]] static bool toUtf8Exact(std::string_view cp932, std::string& out);
    [[nodiscard]] static bool fromUtf8Exact(std::string_view utf8, std::string& out);
    [[nodiscard]] static bool toUtf16Exact(std::string_view cp932, std::u16string& out);
    [[nodiscard]] static bool fromUtf16Exact(std::u16string_view utf16, std::string& out);
};
