#include "fc/FileReplacement.h"

#include "AppTestFolder.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

class FileReplacementTest : public AppTestFolder {
protected:
    // Names in the folder other than the given one: temporary files left
    // behind would show here.
    int othersThan(const std::string& name) const
    {
        int others = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
            others += entry.path().filename() != name;
        return others;
    }
};

} // namespace

TEST_F(FileReplacementTest, ReplacesTheWholeFileAndLeavesNothingBeside)
{
    writeFile("log.txt", "an older and much longer text\n");
    ASSERT_TRUE(FileReplacement::replace(FCString(at("log.txt")), "new\n"));
    EXPECT_EQ(contentsOf("log.txt"), "new\n");
    EXPECT_EQ(othersThan("log.txt"), 0);

    ASSERT_TRUE(FileReplacement::replace(FCString(at("fresh.txt")), ""));
    EXPECT_TRUE(exists("fresh.txt"));
    EXPECT_EQ(contentsOf("fresh.txt"), "");
}

TEST_F(FileReplacementTest, AFailedWriteKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    writeFile("log.txt", "old\n");
    m_prompt.push(Prompt::Answer::Cancel);
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
    EXPECT_FALSE(FileReplacement::replace(FCString(at("log.txt")), "new text\n"));
    EXPECT_EQ(contentsOf("log.txt"), "old\n");
    EXPECT_EQ(othersThan("log.txt"), 0);
}

TEST_F(FileReplacementTest, AMissingFolderIsRefused)
{
    m_prompt.push(Prompt::Answer::Cancel);
    EXPECT_FALSE(FileReplacement::replace(FCString(at("no/such/folder/log.txt")), "x"));
    EXPECT_FALSE(exists("no"));
}
