#pragma once

#include "platform/Cp932.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Reads a screenplay file's text line by line and cuts lines into tokens, the
// way the layout engine scans it: every scan steps CP932 characters, so a
// trail byte never matches a delimiter. CR and LF can never be trail bytes,
// so every one of them ends a line; a lead byte left without its trail at the
// end of a line is a stray byte and is dropped from the line (kept, it would
// pair with the line feed the layout puts after the line).
//
// The text is either given whole or read piece by piece from a source, so
// that a large scene is scanned through a small buffer instead of being held
// in memory twice (as file bytes and as laid-out text). Either way the lines
// are the same.
class ScreenplayScanner {
public:
    // Reads up to `capacity` bytes into `buffer`; 0 at the end of the text.
    using Source = std::function<std::size_t(char* buffer, std::size_t capacity)>;

    explicit ScreenplayScanner(std::string_view text);
    explicit ScreenplayScanner(Source source, std::size_t pieceSize = std::size_t(256) << 10);

    // The next line: runs of CR and LF are skipped, so empty lines never come
    // back. False when no line is left. The view is valid until the next call.
    bool nextLine(std::string_view& line);

    // Character classes the reader needs. A code is a byte for single-byte
    // characters and lead * 256 + trail for double-byte ones.
    static constexpr int OpenCornerBracket = 0x8175; // 「
    static constexpr int OpenParenthesis = 0x8169;   // （
    static constexpr int OpenSquareBracket = 0x816D; // ［

    static bool isSpeakerBracket(int code)
    {
        return code == OpenCornerBracket || code == OpenParenthesis || code == OpenSquareBracket;
    }

    // Token scanning over a view: skip the characters for which isDelimiter
    // holds, then take characters up to the next delimiter. `rest` is left on
    // that delimiter (or empty). Returns the token (empty when none).
    template <typename Predicate>
    static std::string_view nextToken(std::string_view& rest, Predicate isDelimiter);

    // Drops leading characters for which the predicate holds.
    template <typename Predicate>
    static std::string_view skipWhile(std::string_view text, Predicate predicate);

    static int codeAt(std::string_view text)
    {
        return Cp932::codeAt(text.data(), text.data() + text.size());
    }
    static std::size_t charLength(std::string_view text)
    {
        return static_cast<std::size_t>(Cp932::charLength(text.data(), text.data() + text.size()));
    }
    static std::size_t countChars(std::string_view text);

    // The integer reading of header values: decimal, 0x hexadecimal or 0b
    // binary, wrapping in 32 bits.
    static int32_t toInteger(std::string_view text);

private:
    // Keeps the bytes from `keepFrom` on, reads more behind them and moves
    // the position accordingly. False when the source has nothing more.
    bool refill(std::size_t keepFrom);

    std::string_view m_text;
    std::size_t m_position = 0;
    Source m_source;
    std::unique_ptr<char[]> m_buffer; // not zeroed: only what was read is used
    std::size_t m_bufferSize = 0;
    std::size_t m_pieceSize = 0;
    bool m_sourceEnded = true;
};

template <typename Predicate>
std::string_view ScreenplayScanner::skipWhile(std::string_view text, Predicate predicate)
{
    while (!text.empty() && predicate(codeAt(text)))
        text.remove_prefix(charLength(text));
    return text;
}

template <typename Predicate>
std::string_view ScreenplayScanner::nextToken(std::string_view& rest, Predicate isDelimiter)
{
    rest = skipWhile(rest, isDelimiter);
    std::size_t n = 0;
    while (n < rest.size()) {
        std::string_view here = rest.substr(n);
        if (isDelimiter(codeAt(here)))
            break;
        n += charLength(here);
    }
    std::string_view token = rest.substr(0, n);
    rest.remove_prefix(n);
    return token;
}
