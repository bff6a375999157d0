#include "fc/FCFile.h"

#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string contentsOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The read box names the handle, which the test learns only when it runs.
std::string withHandle(std::string text, int handle)
{
    const size_t at = text.find("{handle}");
    if (at != std::string::npos)
        text.replace(at, 8, std::to_string(handle));
    return text;
}

class FCFileTest : public testing::Test {
protected:
    FCFileTest() : m_saved(fs::current_path())
    {
        char pattern[] = "/tmp/quillon-file-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_folder = fs::canonical(pattern).string();
        fs::current_path(m_folder);
    }
    ~FCFileTest() override
    {
        fs::current_path(m_saved);
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    std::string at(const std::string& name) const { return m_folder + "/" + name; }

    ScriptedPrompt m_prompt;
    Prompt::Scope m_promptScope{m_prompt};
    FileFaults::Scope m_faults;
    fs::path m_saved;
    std::string m_folder;
};

// Creates the missing file while the box is up, as a user would before
// pressing Retry.
class CreatingPrompt : public ScriptedPrompt {
public:
    explicit CreatingPrompt(std::string path) : ScriptedPrompt({Answer::Retry}), m_path(path) {}
    Answer ask(const std::string& title, const std::string& text, Buttons buttons) override
    {
        writeFile(m_path, "arrived");
        return ScriptedPrompt::ask(title, text, buttons);
    }

private:
    std::string m_path;
};

} // namespace

TEST_F(FCFileTest, MissingFileShowsTheFullPathAndCancelRaises)
{
    FCFile file;
    try {
        file.openForReading("missing.txt");
        FAIL() << "no exception";
    } catch (const CannotOpenException& e) {
        EXPECT_EQ(e.caption(), "cannot open");
        EXPECT_EQ(e.message(), at("missing.txt"));
    }
    EXPECT_FALSE(file.isOpen());
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].title, "FCFile - open");
    EXPECT_EQ(m_prompt.questions()[0].text, at("missing.txt") + Sjis::of("が\n見付かりません"));
    EXPECT_EQ(m_prompt.questions()[0].buttons, Prompt::Buttons::RetryCancel);
}

TEST_F(FCFileTest, RetryAfterTheFileAppearedOpensIt)
{
    CreatingPrompt prompt(at("late.txt"));
    Prompt::Scope scope(prompt);
    FCFile file;
    EXPECT_EQ(file.openForReading("late.txt"), 0u);
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.name().toStdString(), "late.txt");
    EXPECT_EQ(prompt.questions().size(), 1u);
    char buffer[16] = {};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 7u);
    EXPECT_EQ(std::string(buffer), "arrived");
}

TEST_F(FCFileTest, QuietOpenReturnsTheErrorWithoutABox)
{
    FCFile file;
    EXPECT_EQ(file.openForReading("missing.txt", true), 2u);
    EXPECT_EQ(file.openForReading("no/such/folder/file.txt", true), 3u);
    EXPECT_EQ(file.open(m_folder.c_str(), FCFile::ReadDisposition, FCFile::ReadAccess,
                        FCFile::Share, FCFile::Attributes, true),
              5u);
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(file.name().isEmpty());
    EXPECT_TRUE(m_prompt.questions().empty());
}

struct OpenErrorCase {
    uint32_t error;
    const char* appended; // UTF-8
};

class FCFileOpenErrorTest : public FCFileTest, public testing::WithParamInterface<OpenErrorCase> {};

TEST_P(FCFileOpenErrorTest, BoxNamesTheError)
{
    writeFile(at("exists.txt"), "x");
    FileFaults::fail(FileFaults::Kind::Open, GetParam().error);
    FCFile file;
    EXPECT_THROW(file.openForReading("exists.txt"), CannotOpenException);
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].text,
              at("exists.txt") + TextCodec::fromUtf8(GetParam().appended));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FCFileOpenErrorTest,
    testing::Values(OpenErrorCase{2, "が\n見付かりません"},
                    OpenErrorCase{3, "で\n指定されたパスが見付かりません"},
                    OpenErrorCase{5, "\nアクセスが拒否されました"},
                    OpenErrorCase{21, "\nドライブの準備ができていません"},
                    OpenErrorCase{31,
                                  "\nメディアはフォーマットされていないか、準備ができていません"},
                    OpenErrorCase{32, "は\n他のアプリケーションによって開かれています"},
                    OpenErrorCase{53, "ネットワークドライブにアクセスできません"},
                    OpenErrorCase{67, "ネットワークドライブにアクセスできません"},
                    OpenErrorCase{2118, "\nネットワークドライブにアクセス権がありません"},
                    OpenErrorCase{999, "\n未知のエラーです code:999"},
                    OpenErrorCase{0xE0000001u, "\n未知のエラーです code:3758096385"}));

struct ReadWriteErrorCase {
    uint32_t error;
    const char* readText;  // UTF-8; "" for the generic text
    const char* writeText; // UTF-8; "" for the generic text
};

class FCFileReadWriteErrorTest : public FCFileTest,
                                 public testing::WithParamInterface<ReadWriteErrorCase> {};

TEST_P(FCFileReadWriteErrorTest, ReadBoxNamesTheErrorAndCancelRaises)
{
    writeFile(at("data.txt"), "data");
    FCFile file;
    ASSERT_EQ(file.openForReading("data.txt"), 0u);
    FileFaults::fail(FileFaults::Kind::Read, GetParam().error);
    char buffer[8];
    try {
        file.read(buffer, sizeof buffer);
        FAIL() << "no exception";
    } catch (const CannotReadException& e) {
        EXPECT_EQ(e.caption(), "cannot read");
        EXPECT_EQ(e.message(), "data.txt");
    }
    std::string expected = *GetParam().readText
                               ? withHandle(TextCodec::fromUtf8(GetParam().readText), file.handle())
                               : TextCodec::fromUtf8("読み込みできません\nError code : ") +
                                     std::to_string(GetParam().error) +
                                     "\nFile handle : " + std::to_string(file.handle());
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].title, "FCFile - read");
    EXPECT_EQ(m_prompt.questions()[0].text, "data.txt" + expected);
}

TEST_P(FCFileReadWriteErrorTest, WriteBoxNamesTheErrorAndCancelRaises)
{
    FCFile file;
    ASSERT_EQ(file.openForWriting("out.txt"), 0u);
    FileFaults::fail(FileFaults::Kind::Write, GetParam().error);
    try {
        file.write("abc", 3);
        FAIL() << "no exception";
    } catch (const CannotWriteException& e) {
        EXPECT_EQ(e.caption(), "cannot write");
        EXPECT_EQ(e.message(), "out.txt");
    }
    std::string expected = *GetParam().writeText
                               ? TextCodec::fromUtf8(GetParam().writeText)
                               : TextCodec::fromUtf8("書き込みできません\nError code : ") +
                                     std::to_string(GetParam().error);
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].title, "FCFile - write");
    EXPECT_EQ(m_prompt.questions()[0].text, "out.txt" + expected);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FCFileReadWriteErrorTest,
    testing::Values(ReadWriteErrorCase{5, "への\nアクセスは拒否されました。",
                                       "は\n読み込み専用で開かれています"},
                    ReadWriteErrorCase{21, "\nドライブの準備ができていません",
                                       "\nドライブの準備ができていません"},
                    ReadWriteErrorCase{
                        31, "\nメディアはフォーマットされていないか、準備ができていません",
                        "\nメディアはフォーマットされていないか、準備ができていません"},
                    ReadWriteErrorCase{32, "は\n他のアプリケーションから利用されています",
                                       "は\n他のアプリケーションから利用されています"},
                    ReadWriteErrorCase{33, "は\n他のプロセスがファイルをロックしています",
                                       "は\n他のプロセスがファイルをロックしています"},
                    ReadWriteErrorCase{112,
                                       "読み込みできません\nError code : 112\nFile handle : "
                                       "{handle}\nディスクの空き容量が足りません",
                                       "書き込みできません\nError code : 112"
                                       "\nディスクの空き容量が足りません"},
                    ReadWriteErrorCase{999, "", ""}));

TEST_F(FCFileTest, ALinkLoopIsNamedInTheOpenBox)
{
    fs::create_symlink("loop.txt", at("loop.txt"));
    FCFile file;
    EXPECT_THROW(file.openForReading("loop.txt"), CannotOpenException);
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].text,
              at("loop.txt") + TextCodec::fromUtf8("\nシンボリックリンクが循環しているか、"
                                                   "多重に連なりすぎています"));
}

TEST_F(FCFileTest, RetriedWriteWritesTheDataOnce)
{
    m_prompt.push(Prompt::Answer::Retry);
    FCFile file;
    ASSERT_EQ(file.openForWriting("out.txt"), 0u);
    FileFaults::fail(FileFaults::Kind::Write, 5);
    EXPECT_EQ(file.write("data", 4), 4u);
    file.close();
    EXPECT_EQ(contentsOf(at("out.txt")), "data");
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].text,
              "out.txt" + std::string(Sjis::of("は\n読み込み専用で開かれています")));
}

TEST_F(FCFileTest, RetriedReadReadsFromWhereItWas)
{
    writeFile(at("data.txt"), "abcdef");
    m_prompt.push(Prompt::Answer::Retry);
    FCFile file;
    ASSERT_EQ(file.openForReading("data.txt"), 0u);
    char buffer[4] = {};
    ASSERT_EQ(file.read(buffer, 3), 3u);
    FileFaults::fail(FileFaults::Kind::Read, 21);
    EXPECT_EQ(file.read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "def");
    EXPECT_EQ(m_prompt.questions().size(), 1u);
}

TEST_F(FCFileTest, ReadingPastTheEndIsAShortCount)
{
    writeFile(at("data.txt"), "abc");
    FCFile file;
    ASSERT_EQ(file.openForReading("data.txt"), 0u);
    char buffer[10];
    EXPECT_EQ(file.read(buffer, sizeof buffer), 3u);
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);
    EXPECT_TRUE(m_prompt.questions().empty());
}

TEST_F(FCFileTest, CloseAndReopenForgetTheOldFile)
{
    writeFile(at("a.txt"), "a");
    writeFile(at("b.txt"), "b");
    FCFile file;
    ASSERT_EQ(file.openForReading("a.txt"), 0u);
    ASSERT_EQ(file.openForReading("b.txt"), 0u);
    EXPECT_EQ(file.name().toStdString(), "b.txt");
    char c = 0;
    ASSERT_EQ(file.read(&c, 1), 1u);
    EXPECT_EQ(c, 'b');
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.handle(), FileSystem::InvalidHandle);
    EXPECT_TRUE(file.name().isEmpty());
    file.close();
}
