#include "fc/FileReplacement.h"

#include "AppTestFolder.h"
#include "platform/FileFaults.h"
#include "platform/ProgramFolders.h"
#include "platform/TextCodec.h"
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

TEST_F(FileReplacementTest, BoxesNameTheDestinationAndWhyNeverTheTemporaryFile)
{
    const std::string refused =
        TextCodec::fromUtf8("\nを書き込めませんでした\nアクセスが拒否されました");
    const std::string full =
        TextCodec::fromUtf8("\nを書き込めませんでした\nディスクの空き容量が足りません");
    // The program's own files say where the program keeps them; files in
    // its sub-folders are the user's.
    const std::string note =
        TextCodec::fromUtf8("\nプログラムのフォルダ /opt/q/ には書き込めません");
    ProgramFolders::Scope placement(m_folder, note);
    std::filesystem::create_directory(at("sub"));

    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied);
    m_prompt.push(Prompt::Answer::Cancel);
    EXPECT_FALSE(FileReplacement::replace(FCString(at("quillon.log.txt")), "x"));
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
    m_prompt.push(Prompt::Answer::Cancel);
    EXPECT_FALSE(FileReplacement::replace(FCString(at("sub/report.txt")), "x"));
    FileFaults::reset();
    // A folder in the way of the finished file.
    std::filesystem::create_directory(at("taken"));
    std::filesystem::create_directory(at("taken/inside"));
    m_prompt.push(Prompt::Answer::Cancel);
    EXPECT_FALSE(FileReplacement::replace(FCString(at("taken")), "x"));

    ASSERT_EQ(m_prompt.questions().size(), 3u);
    EXPECT_EQ(m_prompt.questions()[0].title, "FCFile - open");
    EXPECT_EQ(m_prompt.questions()[0].text, at("quillon.log.txt") + refused + note);
    EXPECT_EQ(m_prompt.questions()[1].title, "FCFile - write");
    EXPECT_EQ(m_prompt.questions()[1].text, at("sub/report.txt") + full);
    EXPECT_EQ(m_prompt.questions()[2].title, "FCFile - write");
    EXPECT_EQ(m_prompt.questions()[2].text.rfind(
                  at("taken") + TextCodec::fromUtf8("\nを書き込めませんでした\n"), 0),
              0u)
        << m_prompt.questions()[2].text;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_folder))
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
}

TEST_F(FileReplacementTest, RetryAfterAFailedOpenWritesTheFile)
{
    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied);
    m_prompt.push(Prompt::Answer::Retry);
    EXPECT_TRUE(FileReplacement::replace(FCString(at("log.txt")), "text\n"));
    EXPECT_EQ(contentsOf("log.txt"), "text\n");
    EXPECT_EQ(othersThan("log.txt"), 0);
}
