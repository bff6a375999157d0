#include "voices/VoiceNumberPattern.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

struct NameCase {
    const char* pattern; // "" for the default rule
    const char* name;
    std::optional<uint64_t> number;
};

const NameCase nameCases[] = {
    {"", "000123.wav", 123},
    {"", "sakura_000123_t2.flac", 123},
    {"", "t2_000123.wav", 123},
    // Longer or shorter runs are other numbers, passed over whole.
    {"", "20261208_000123.wav", 123},
    {"", "1234567.wav", std::nullopt},
    {"", "12345.wav", std::nullopt},
    {"", "voice.wav", std::nullopt},
    // The extension is not part of the name searched.
    {"", "take.000123", std::nullopt},
    {"", "000001.000123.wav", 1},
    {"", ".000123", 123},
    {"", "", std::nullopt},
    {"v(\\d+)_", "v42_sakura.wav", 42},
    {"^(\\d{4})", "0042abc.ogg", 42},
    {"^(\\d{4})", "x0042.ogg", std::nullopt},
    // The group must hold digits only, and not too many.
    {"v(.+)", "vabc.wav", std::nullopt},
    {"v(\\d*)", "v.wav", std::nullopt},
    {"(\\d+)", "1234567890123456789.wav", std::nullopt},
    {"(\\d+)", "123456789012345678.wav", 123456789012345678u},
    {"(a|b)?(\\d+)", "123.wav", std::nullopt},
};

class VoiceNumberPatternNameTest : public testing::TestWithParam<NameCase> {};

} // namespace

TEST_P(VoiceNumberPatternNameTest, GivesTheNumberOfAName)
{
    const NameCase& c = GetParam();
    std::string error;
    const auto pattern = VoiceNumberPattern::compile(c.pattern, error);
    ASSERT_TRUE(pattern) << error;
    EXPECT_EQ(pattern->numberOf(c.name), c.number) << c.pattern << " on " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Names, VoiceNumberPatternNameTest, testing::ValuesIn(nameCases));

TEST(VoiceNumberPatternTest, RefusesPatternsThatCannotGiveANumber)
{
    const struct {
        std::string pattern;
        const char* error;
    } cases[] = {
        {"\\d{6}", "the pattern has no group ( ) to hold the number"},
        {"(\\d+)\\1", "back-references are not supported"},
        {"(\\d+)\\55555555555555555555", "back-references are not supported"},
        {"(\\d{1,12345678901})", "a repetition count is too large"},
        {"(\\d+", "not a valid pattern: "},
        {"(" + std::string(VoiceNumberPattern::MaximumLength, 'a') + ")",
         "the pattern is longer than 200 characters"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(VoiceNumberPattern::compile(c.pattern, error)) << c.pattern;
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << c.pattern;
    }
}

TEST(VoiceNumberPatternTest, AHostilePatternStillEndsQuickly)
{
    // Exponential for a backtracking matcher over a name this long.
    std::string error;
    const auto pattern = VoiceNumberPattern::compile("^(a+)+(\\d)$", error);
    ASSERT_TRUE(pattern) << error;
    EXPECT_EQ(pattern->numberOf(std::string(200, 'a') + "b.wav"), std::nullopt);
}
