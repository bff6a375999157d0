#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// How a delivered file's name gives its message number. By default the
// number is the first run of exactly six digits in the name without its
// extension ("000123.wav", "sakura_000123_t2.flac"); a studio with another
// convention gives a pattern instead: ECMAScript syntax, searched in the
// name without its extension, its first capture group holding the digits.
//
// Patterns are matched in time that grows with the name and the pattern,
// never exponentially, so a pattern cannot hang a walk over a big
// delivery; that rules out back-references, which are refused.
class VoiceNumberPattern {
public:
    // Longer patterns are refused: no naming convention needs one, and the
    // pattern compiler's depth follows the pattern's length.
    static constexpr std::size_t MaximumLength = 200;
    // A number of more digits cannot be a message number (it would not fit
    // the range numbers are compared in).
    static constexpr std::size_t MaximumDigits = 18;

    // The default rule.
    VoiceNumberPattern();
    ~VoiceNumberPattern();
    VoiceNumberPattern(VoiceNumberPattern&&) noexcept;
    VoiceNumberPattern& operator=(VoiceNumberPattern&&) noexcept;

    // A user pattern (UTF-8); nullopt with the reason in error (English, for
    // the terminal) when it is too long, does not compile, has no capture
    // group or uses a back-reference. An empty pattern is the default rule.
    static std::optional<VoiceNumberPattern> compile(std::string_view pattern, std::string& error);

    bool isDefault() const { return m_regex == nullptr; }
    const std::string& text() const { return m_text; }

    // The number of a file name (UTF-8, without folders); nullopt when the
    // name has none.
    std::optional<uint64_t> numberOf(std::string_view fileName) const;

    // The name without its extension: up to the last ".", unless that is
    // the first character.
    static std::string_view stemOf(std::string_view fileName);
    // Digits read as a decimal number; nullopt for an empty text, any other
    // character, or more than MaximumDigits digits.
    static std::optional<uint64_t> decimal(std::string_view digits);

private:
    struct Compiled;
    std::unique_ptr<Compiled> m_regex;
    std::string m_text;
};
