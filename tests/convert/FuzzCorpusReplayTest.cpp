#include "fuzz/ConvertFuzzInput.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// The fuzz target's saved corpus, run once through the same input function
// under this build's sanitizers, so that every test run replays what the
// fuzzer once found.
TEST(FuzzCorpusReplayTest, EverySavedInputConvertsSoundly)
{
    const std::filesystem::path corpus =
        std::filesystem::path(QUILLON_SOURCE_DIR) / "tests" / "fuzz" / "corpus" / "convert";
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        EXPECT_TRUE(fuzzConvertInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
            << entry.path();
        ++replayed;
    }
    EXPECT_GE(replayed, 5);
}
