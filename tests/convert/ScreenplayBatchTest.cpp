#include "convert/ScreenplayBatch.h"

#include "ConvertTestSupport.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/WinError.h"

#include <filesystem>
#include <vector>

namespace {

std::size_t filesIn(const std::string& folder)
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(ScreenplayBatchTest, FilesTakeTheirNamesOnlyAtTheCommit)
{
    ScenarioTestFolder out;
    out.writeBytes("a.screenplay.txt", "old");
    ScreenplayBatch batch(3);
    ASSERT_TRUE(batch.add(FCString(out.path() + "a.screenplay.txt"), FCString("new a")));
    ASSERT_TRUE(batch.add(FCString(out.path() + "b.screenplay.txt"), FCString("new b")));
    EXPECT_FALSE(batch.full());
    // Until then the old file stands whole and the new texts wait beside it.
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "old");
    EXPECT_FALSE(out.exists("b.screenplay.txt"));
    EXPECT_EQ(filesIn(out.path()), 3u);

    std::vector<FCString> failed;
    batch.commit(failed);
    EXPECT_TRUE(failed.empty());
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "new a");
    EXPECT_EQ(fileText(out.path() + "b.screenplay.txt"), "new b");
    EXPECT_EQ(filesIn(out.path()), 2u);
}

TEST(ScreenplayBatchTest, TheLaterOfTwoTextsForOneNameWins)
{
    ScenarioTestFolder out;
    const FCString path(out.path() + "a.screenplay.txt");
    {
        ScreenplayBatch batch(4);
        ASSERT_TRUE(batch.add(path, FCString("first")));
        ASSERT_TRUE(batch.add(path, FCString("second")));
        ASSERT_TRUE(batch.add(FCString(out.path() + "b.screenplay.txt"), FCString("b")));
        ASSERT_TRUE(batch.add(FCString(out.path() + "c.screenplay.txt"), FCString("c")));
        EXPECT_TRUE(batch.full());
        // Leaving the scope commits what is pending.
    }
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "second");
    EXPECT_EQ(filesIn(out.path()), 3u);
}

TEST(ScreenplayBatchTest, AFileThatCannotBeWrittenLeavesNothing)
{
    ScenarioTestFolder out;
    out.writeBytes("a.screenplay.txt", "old");
    ScriptedPrompt prompt{Prompt::Answer::Cancel};
    Prompt::Scope scope(prompt);
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, 1);
    ScreenplayBatch batch(2);
    EXPECT_FALSE(batch.add(FCString(out.path() + "a.screenplay.txt"), FCString("new")));
    EXPECT_FALSE(batch.add(FCString("relative/a.screenplay.txt"), FCString("new")));
    std::vector<FCString> failed;
    batch.commit(failed);
    EXPECT_TRUE(failed.empty());
    EXPECT_EQ(fileText(out.path() + "a.screenplay.txt"), "old");
    EXPECT_EQ(filesIn(out.path()), 1u);
}

TEST(ScreenplayBatchTest, ARenameThatFailsKeepsTheOldFileAndNamesTheTarget)
{
    ScenarioTestFolder out;
    // A folder cannot be replaced by a file.
    std::filesystem::create_directory(out.path() + "a.screenplay.txt");
    ScreenplayBatch batch(2);
    ASSERT_TRUE(batch.add(FCString(out.path() + "a.screenplay.txt"), FCString("a")));
    ASSERT_TRUE(batch.add(FCString(out.path() + "b.screenplay.txt"), FCString("b")));
    std::vector<FCString> failed;
    batch.commit(failed);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].toStdString(), out.path() + "a.screenplay.txt");
    EXPECT_TRUE(std::filesystem::is_directory(out.path() + "a.screenplay.txt"));
    EXPECT_EQ(fileText(out.path() + "b.screenplay.txt"), "b");
    EXPECT_EQ(filesIn(out.path()), 2u);
}
