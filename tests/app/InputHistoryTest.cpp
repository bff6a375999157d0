#include "app/InputHistory.h"

#include "AppTestFolder.h"
#include "TestText.h"
#include "fc/CannotOpenException.h"
#include "platform/WinError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string count(int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char((v >> 24) & 0xFF)};
}

std::string record(const std::string& text)
{
    return count(static_cast<int32_t>(text.size() + 1)) + text + std::string(1, '\0');
}

class InputHistoryTest : public AppTestFolder {
protected:
    std::vector<std::string> entries(int slot) const
    {
        std::vector<std::string> out;
        for (const FCString& text : m_history.entries(slot))
            out.push_back(text.toStdString());
        return out;
    }
    std::string slotFile(int slot) const
    {
        return "quillon.history." + std::to_string(slot) + ".txt";
    }

    InputHistory m_history;
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(InputHistoryTest, FileNamesAreInTheProgramFolder)
{
    EXPECT_EQ(InputHistory::fileName(2), at("quillon.history.2.txt"));
}

TEST_F(InputHistoryTest, TheTwentyFirstEntryDropsTheOldest)
{
    for (int i = 0; i < 21; ++i)
        m_history.add(0, FCString(std::string_view("t" + std::to_string(i))));
    Texts texts = entries(0);
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_EQ(texts.front(), "t1");
    EXPECT_EQ(texts.back(), "t20");
}

TEST_F(InputHistoryTest, ReAddingMovesAnEntryToTheNewestPlace)
{
    for (const char* text : {"a", "b", "c"})
        m_history.add(1, FCString(text));
    m_history.add(1, FCString("a"));
    EXPECT_EQ(entries(1), (Texts{"b", "c", "a"}));
    // Equal means identical: case and width count.
    m_history.add(1, FCString("A"));
    EXPECT_EQ(entries(1), (Texts{"b", "c", "a", "A"}));
}

TEST_F(InputHistoryTest, SlotsOutsideTheFourAreIgnored)
{
    m_history.add(4, FCString("x"), true);
    m_history.add(-1, FCString("x"), true);
    EXPECT_TRUE(m_history.entries(4).empty());
    EXPECT_TRUE(m_history.entries(-1).empty());
    EXPECT_TRUE(std::filesystem::is_empty(m_folder));
}

TEST_F(InputHistoryTest, RecordsAreCountThenTextAndNul)
{
    m_history.add(0, FCString(""));
    m_history.add(2, FCString(std::string_view(sj("検索"))));
    m_history.add(2, FCString("ab"));
    m_history.saveAll();
    EXPECT_EQ(contentsOf(slotFile(0)), count(1) + std::string("\x01\x00\x00\x00\x00", 5));
    EXPECT_EQ(contentsOf(slotFile(1)), count(0));
    EXPECT_EQ(contentsOf(slotFile(2)), count(2) + record(sj("検索")) + record("ab"));
}

TEST_F(InputHistoryTest, SaveAndLoadGiveTheSameEntries)
{
    m_history.add(0, FCString("one"));
    m_history.add(0, FCString(std::string_view(sj("二つ目"))));
    m_history.add(1, FCString("/folder/"));
    m_history.saveAll();

    InputHistory loaded;
    loaded.add(1, FCString("replaced"));
    loaded.add(2, FCString("kept"));
    std::filesystem::remove(at(slotFile(2)));
    loaded.loadAll();
    ASSERT_EQ(loaded.entries(0).size(), 2u);
    EXPECT_EQ(loaded.entries(0)[1].toStdString(), sj("二つ目"));
    ASSERT_EQ(loaded.entries(1).size(), 1u);
    EXPECT_EQ(loaded.entries(1)[0].toStdString(), "/folder/");
    // A missing file leaves its slot alone.
    ASSERT_EQ(loaded.entries(2).size(), 1u);
    EXPECT_EQ(loaded.entries(2)[0].toStdString(), "kept");
}

TEST_F(InputHistoryTest, SavingCutsTheOldFile)
{
    writeFile(slotFile(0), count(2) + record("long old entry") + record("another"));
    m_history.add(0, FCString("n"));
    m_history.save(0);
    EXPECT_EQ(contentsOf(slotFile(0)), count(1) + record("n"));
}

TEST_F(InputHistoryTest, LoadingGoesThroughAdd)
{
    std::string file = count(25);
    for (int i = 0; i < 24; ++i)
        file += record("e" + std::to_string(i));
    file += record("e3");
    writeFile(slotFile(0), file);
    m_history.load(0);
    Texts texts = entries(0);
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_EQ(texts.front(), "e5");
    EXPECT_EQ(texts.back(), "e3");
}

TEST_F(InputHistoryTest, BrokenFilesKeepTheWholeRecordsBeforeTheBreak)
{
    struct Case {
        const char* what;
        std::string file;
        Texts expected;
    } cases[] = {
        {"count beyond the records", count(3) + record("a") + record("b"), {"a", "b"}},
        {"huge count", count(0x7FFFFFFF) + record("a"), {"a"}},
        {"negative count", count(-2) + record("a"), {}},
        {"record past the end", count(2) + record("a") + count(100) + "xy", {"a"}},
        {"negative record length", count(2) + record("a") + count(-1) + "xyz", {"a"}},
        {"header cut short", count(2) + record("a") + "\x05", {"a"}},
        {"count cut short", std::string("\x02\x00", 2), {}},
        {"empty file", "", {}},
        {"record without its nul", count(1) + count(3) + "ab", {}},
    };
    for (const Case& c : cases) {
        writeFile(slotFile(1), c.file);
        InputHistory history;
        history.add(1, FCString("before"));
        history.load(1);
        Texts texts;
        for (const FCString& text : history.entries(1))
            texts.push_back(text.toStdString());
        EXPECT_EQ(texts, c.expected) << c.what;

        // Written back whole: the records that were read, and a count that
        // matches them.
        history.save(1);
        std::string written = count(static_cast<int32_t>(c.expected.size()));
        for (const std::string& text : c.expected)
            written += record(text);
        EXPECT_EQ(contentsOf(slotFile(1)), written) << c.what;
    }
    EXPECT_TRUE(m_prompt.questions().empty());
}

TEST_F(InputHistoryTest, AnUnreadableFileIsKept)
{
    writeFile(slotFile(0), count(1) + record("precious"));
    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied);
    m_prompt.push(Prompt::Answer::Cancel);
    m_history.add(0, FCString("current"));
    EXPECT_THROW(m_history.load(0), CannotOpenException);
    EXPECT_EQ(entries(0), (Texts{"current"}));
    m_history.saveAll();
    EXPECT_EQ(contentsOf(slotFile(0)), count(1) + record("precious"));
    EXPECT_TRUE(exists(slotFile(1)));
}
