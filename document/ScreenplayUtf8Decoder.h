#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Turns a UTF-8 screenplay into the program's CP932 as it is read, piece by
// piece: the byte-order mark at the start is dropped, a sequence split by a
// piece's end waits for the rest, and every character Shift-JIS cannot hold
// becomes "〓" (as does a byte of broken UTF-8, and a sequence cut short by
// the end of the file). Cutting the text into other pieces gives the same
// bytes.
class ScreenplayUtf8Decoder {
public:
    // 〓 (U+3013) in CP932.
    static constexpr std::string_view Substitute = "\x81\xAC";

    // Appends the CP932 form of the next bytes to out.
    void convert(std::string_view bytes, std::string& out);
    // The end of the text: a sequence left incomplete becomes one "〓".
    void finish(std::string& out);

    // The characters replaced so far.
    std::size_t substitutions() const { return m_substitutions; }

private:
    std::string m_carry;
    bool m_atStart = true;
    std::size_t m_substitutions = 0;
};
