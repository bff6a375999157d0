#include "voices/VoiceNumberPattern.h"

#include <regex>

struct VoiceNumberPattern::Compiled {
    std::regex regex;
};

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The first run of exactly six digits: a longer run is some other number
// (a date, a take id) and is passed over whole.
std::optional<uint64_t> firstSixDigits(std::string_view stem)
{
    std::size_t i = 0;
    while (i < stem.size()) {
        if (!isDigit(stem[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < stem.size() && isDigit(stem[end]))
            ++end;
        if (end - i == 6)
            return VoiceNumberPattern::decimal(stem.substr(i, 6));
        i = end;
    }
    return std::nullopt;
}

// FIXME: libstdc++ 12 reads the number of a back-reference (\12) or of a
// repetition ("{3,12}") into a long without a bound, overflowing on a long
// run of digits. Patterns with either that could overflow are refused before
// they reach it: a back-reference is refused anyway, and no file name needs
// a count of ten digits. Empty when the pattern may be compiled.
std::string refusal(std::string_view pattern)
{
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\') {
            if (i + 1 < pattern.size() && isDigit(pattern[i + 1]))
                return "back-references are not supported";
            ++i; // The escaped character is no operator.
            continue;
        }
        if (pattern[i] != '{')
            continue;
        std::size_t run = 0;
        for (std::size_t k = i + 1; k < pattern.size(); ++k) {
            if (isDigit(pattern[k]))
                ++run;
            else if (pattern[k] == ',')
                run = 0;
            else
                break;
            if (run > 9)
                return "a repetition count is too large";
        }
    }
    return {};
}

} // namespace

VoiceNumberPattern::VoiceNumberPattern() = default;
VoiceNumberPattern::~VoiceNumberPattern() = default;
VoiceNumberPattern::VoiceNumberPattern(VoiceNumberPattern&&) noexcept = default;
VoiceNumberPattern& VoiceNumberPattern::operator=(VoiceNumberPattern&&) noexcept = default;

std::optional<VoiceNumberPattern> VoiceNumberPattern::compile(std::string_view pattern,
                                                              std::string& error)
{
    VoiceNumberPattern result;
    if (pattern.empty())
        return result;
    if (pattern.size() > MaximumLength) {
        error = "the pattern is longer than " + std::to_string(MaximumLength) + " characters";
        return std::nullopt;
    }
    if (std::string refused = refusal(pattern); !refused.empty()) {
        error = std::move(refused);
        return std::nullopt;
    }
    auto compiled = std::make_unique<Compiled>();
    // FIXME: libstdc++ 12's pattern scanner looks one character past a "("
    // that ends the pattern (for a "?" behind it) without checking for the
    // end; the pattern is compiled from a string of its own, so that this
    // character is the string's terminating NUL and never memory beyond.
    const std::string text(pattern);
    try {
        // __polynomial: libstdc++'s matcher without backtracking, whose time
        // cannot explode on a hostile pattern; it refuses back-references.
        compiled->regex =
            std::regex(text, std::regex::ECMAScript | std::regex_constants::__polynomial);
    } catch (const std::regex_error& failure) {
        error = failure.code() == std::regex_constants::error_complexity
                    ? std::string("back-references are not supported")
                    : std::string("not a valid pattern: ") + failure.what();
        return std::nullopt;
    }
    if (compiled->regex.mark_count() < 1) {
        error = "the pattern has no group ( ) to hold the number";
        return std::nullopt;
    }
    result.m_regex = std::move(compiled);
    result.m_text = text;
    return result;
}

std::string_view VoiceNumberPattern::stemOf(std::string_view fileName)
{
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        return fileName;
    return fileName.substr(0, dot);
}

std::optional<uint64_t> VoiceNumberPattern::decimal(std::string_view digits)
{
    if (digits.empty() || digits.size() > MaximumDigits)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
    }
    return value;
}

std::optional<uint64_t> VoiceNumberPattern::numberOf(std::string_view fileName) const
{
    const std::string_view stem = stemOf(fileName);
    if (!m_regex)
        return firstSixDigits(stem);
    std::match_results<std::string_view::const_iterator> match;
    try {
        if (!std::regex_search(stem.begin(), stem.end(), match, m_regex->regex))
            return std::nullopt;
    } catch (const std::regex_error&) {
        // The matcher gave up on this name (its own limits): no number.
        return std::nullopt;
    }
    if (!match[1].matched)
        return std::nullopt;
    const auto start = std::size_t(match[1].first - stem.begin());
    return decimal(stem.substr(start, std::size_t(match[1].length())));
}
