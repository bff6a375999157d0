#include "document/ScreenplayHeader.h"

#include "document/ScreenplayScanner.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A header of count characters prefix0, prefix1, ... with counts 1, 2, ...
std::string header(int count, const std::string& prefix)
{
    std::string text = ".chara\t" + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i)
        text += "." + prefix + std::to_string(i) + "\t" + std::to_string(i + 1) + "\n";
    return text + ".total\t0\n";
}

} // namespace

TEST(ScreenplayHeaderTest, ARereadKeepsNothingOfTheHeaderReadBefore)
{
    // Before, after, and how many slots the second header fills.
    const struct {
        std::string before, after;
        int filled;
    } cases[] = {{header(6, "old"), header(2, "new"), 2},
                 {header(5, "old"), ".total\t0\n", 0},
                 {header(ScreenplayHeader::TableSize + 3, "old"), header(1, "new"), 1},
                 {".chara\t9\n.old0\t1\n.old1\t2\n", header(1, "new"), 1}};
    for (const auto& c : cases) {
        ScreenplayHeader read;
        for (const std::string* text : {&c.before, &c.after}) {
            read.clearCharacters();
            ScreenplayScanner scanner(*text);
            read.read(scanner);
        }
        for (int slot = 0; slot < ScreenplayHeader::TableSize; ++slot) {
            const ScreenplayCharacter& character = read.character(slot);
            const std::string name = slot < c.filled ? "new" + std::to_string(slot) : "";
            EXPECT_EQ(character.name.view(), name) << c.after << " slot " << slot;
            EXPECT_EQ(character.count, slot < c.filled ? slot + 1 : 0) << c.after << slot;
        }
        EXPECT_EQ(read.find("old1"), -1) << c.after;
    }
}
