// A file-name pattern (the first line) tried on file names (the other
// lines), and the default rule on the same names: a pattern is refused or
// compiled, never crashes; a number found is one the name spells, and the
// same name always gives the same number.

#include "FuzzScratchFolder.h"
#include "voices/DeliveryScan.h"
#include "voices/VoiceNumberPattern.h"

#include <string>
#include <vector>

namespace {

// Whether the digits of number, padded with zeros to at least `width`,
// stand in text.
bool spells(std::string_view text, uint64_t number, std::size_t width)
{
    std::string digits = std::to_string(number);
    for (std::size_t at = 0; at + digits.size() <= text.size(); ++at) {
        if (text.substr(at).substr(0, digits.size()) != digits)
            continue;
        // Leading zeros before the digits count as part of the number.
        std::size_t start = at;
        while (start > 0 && text[start - 1] == '0')
            --start;
        if (at + digits.size() - start >= width)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzzBytes(data, size);
    const std::size_t newline = bytes.find('\n');
    const std::string_view patternText = bytes.substr(0, newline);
    std::vector<std::string_view> names;
    for (std::size_t at = newline; at != std::string_view::npos && at < bytes.size();) {
        const std::size_t next = bytes.find('\n', at + 1);
        names.push_back(
            bytes.substr(at + 1, next == std::string_view::npos ? next : next - at - 1));
        at = next;
    }

    std::string error;
    const auto pattern = VoiceNumberPattern::compile(patternText, error);
    FUZZ_REQUIRE(pattern.has_value() == error.empty());
    const VoiceNumberPattern sixDigits;
    for (std::string_view name : names) {
        // Names on disk are at most 255 bytes.
        name = name.substr(0, 255);
        DeliveryScan::isAudioName(name);
        const std::string_view stem = VoiceNumberPattern::stemOf(name);
        FUZZ_REQUIRE(stem.size() <= name.size());
        if (auto number = sixDigits.numberOf(name)) {
            FUZZ_REQUIRE(*number <= 999999);
            FUZZ_REQUIRE(spells(stem, *number, 6));
        }
        if (!pattern)
            continue;
        const auto number = pattern->numberOf(name);
        FUZZ_REQUIRE(number == pattern->numberOf(name));
        if (number) {
            FUZZ_REQUIRE(std::to_string(*number).size() <= VoiceNumberPattern::MaximumDigits);
            FUZZ_REQUIRE(spells(stem, *number, 1));
        }
    }
    return 0;
}
