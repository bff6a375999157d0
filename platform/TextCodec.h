#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversion between the program's CP932 text and UTF-8 (and UTF-16 for
// ICU), used only at the edges: file names, terminal, GUI, clipboard.
namespace TextCodec {

// Lenient conversions: they never fail. CP932 bytes that are no character
// become U+FFFD; characters CP932 lacks become "?", as Windows writes
// them; broken UTF-8 becomes U+FFFD.
std::string toUtf8(std::string_view cp932);
std::string fromUtf8(std::string_view utf8);
std::u16string toUtf16(std::string_view cp932);
std::string fromUtf16(std::u16string_view utf16);

// Exact conversions for names on disk: false (out unspecified) when some
// character has no form on the other side, so that a name never silently
// turns into another one.
[[nodiscard]] bool toUtf8Exact(std::string_view cp932, std::string& out);
[[nodiscard]] bool fromUtf8Exact(std::string_view utf8, std::string& out);
[[nodiscard]] bool toUtf16Exact(std::string_view cp932, std::u16string& out);
[[nodiscard]] bool fromUtf16Exact(std::u16string_view utf16, std::string& out);

// True when the whole text decodes as CP932 without a byte that is no
// character (an unassigned code, a lead byte without its trail, one
// standing last included).
[[nodiscard]] bool isCp932(std::string_view cp932);

// UTF-8 text read from a file, appended to out as CP932. Every character
// CP932 cannot hold, and every byte of broken UTF-8, becomes the CP932
// text substitute; the result is how many did. Characters that Shift-JIS
// holds but that Windows' code page names by other code points (the wave
// dash U+301C, the double vertical line U+2016, the minus sign U+2212,
// the em dash U+2014, and the cent, pound and not signs) take the code
// page's form, as a text typed on another system expects.
std::size_t appendFromUtf8(std::string_view utf8, std::string_view substitute, std::string& out);

} // namespace TextCodec
