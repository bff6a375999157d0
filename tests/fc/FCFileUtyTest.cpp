#include "fc/FCFileUty.h"

#include "platform/FileFaults.h"
#include "platform/FileSystem.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Answer = Prompt::Answer;

class FCFileUtyTest : public testing::Test {
protected:
    FCFileUtyTest()
    {
        char pattern[] = "/tmp/quillon-remove-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_folder = fs::canonical(pattern).string();
    }
    ~FCFileUtyTest() override
    {
        // Read-only entries left by a test must not keep the folder.
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_folder, ignored);
    }

    std::string at(const std::string& name) const { return m_folder + "/" + name; }
    void touch(const std::string& name) const { std::ofstream(at(name)) << name; }
    void makeReadOnly(const std::string& name) const
    {
        ASSERT_EQ(FileSystem::setAttributes(at(name), FileSystem::AttributeReadOnly), 0u);
    }

    ScriptedPrompt m_prompt;
    Prompt::Scope m_promptScope{m_prompt};
    FileFaults::Scope m_faults;
    std::string m_folder;
};

struct HandlerCall {
    FCFileUty::EntryKind kind;
    bool forced;
    uint32_t error;
    std::string path;
};

// A handler that records its calls and answers from a list (then Abort).
struct Recorder {
    std::vector<HandlerCall> calls;
    std::vector<int> answers;
    std::vector<FCFileUty::Stage> stages;

    static int handle(FCFileUty::EntryKind kind, bool forced, uint32_t error, const FCString& path,
                      void* user)
    {
        auto* self = static_cast<Recorder*>(user);
        self->calls.push_back({kind, forced, error, path.toStdString()});
        size_t index = self->calls.size() - 1;
        return index < self->answers.size() ? self->answers[index] : FCFileUty::Abort;
    }
    static void progress(FCFileUty::Stage stage, const FCString&, void* user)
    {
        static_cast<Recorder*>(user)->stages.push_back(stage);
    }
};

} // namespace

TEST_F(FCFileUtyTest, RemovesAWholeTreeAndTellsStartAndEnd)
{
    fs::create_directories(at("tree/sub/deeper"));
    touch("tree/a.txt");
    touch("tree/sub/b.txt");
    touch("tree/sub/deeper/c.txt");
    Recorder recorder;
    EXPECT_TRUE(FCFileUty::remove(at("tree/").c_str(), false, &Recorder::progress,
                                  &Recorder::handle, &recorder));
    EXPECT_FALSE(fs::exists(at("tree")));
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(recorder.stages, (std::vector<FCFileUty::Stage>{FCFileUty::Stage::Started,
                                                              FCFileUty::Stage::Finished}));
    EXPECT_TRUE(fs::exists(m_folder));
}

TEST_F(FCFileUtyTest, PathWithoutSeparatorIsAFile)
{
    touch("one.txt");
    EXPECT_TRUE(FCFileUty::remove(at("one.txt").c_str()));
    EXPECT_FALSE(fs::exists(at("one.txt")));

    // A folder named like a file is not removed as one.
    fs::create_directory(at("folder"));
    EXPECT_FALSE(FCFileUty::remove(at("folder").c_str()));
    EXPECT_TRUE(fs::exists(at("folder")));
}

TEST_F(FCFileUtyTest, ReadOnlyFileIsForcedAfterYes)
{
    touch("locked.txt");
    makeReadOnly("locked.txt");
    m_prompt.push(Answer::Yes);
    EXPECT_TRUE(FCFileUty::remove(at("locked.txt").c_str()));
    EXPECT_FALSE(fs::exists(at("locked.txt")));
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].title, "FCFileUty - remove");
    EXPECT_EQ(m_prompt.questions()[0].text,
              at("locked.txt") + Sjis::of(" は\n読み込み専用です。強制削除を試みますか？"));
    EXPECT_EQ(m_prompt.questions()[0].buttons, Prompt::Buttons::YesNo);
}

TEST_F(FCFileUtyTest, ReadOnlyFileRefusedAsksWhetherToStop)
{
    touch("locked.txt");
    makeReadOnly("locked.txt");
    for (Answer second : {Answer::Yes, Answer::No}) {
        ScriptedPrompt prompt{Answer::No, second};
        Prompt::Scope scope(prompt);
        EXPECT_FALSE(FCFileUty::remove(at("locked.txt").c_str()));
        EXPECT_TRUE(fs::exists(at("locked.txt")));
        ASSERT_EQ(prompt.questions().size(), 2u);
        EXPECT_EQ(prompt.questions()[1].text, Sjis::of("削除処理を中断しますか？"));
        EXPECT_EQ(prompt.questions()[1].buttons, Prompt::Buttons::YesNo);
    }
}

struct HandlerCase {
    uint32_t error;
    const char* text; // UTF-8, behind the path
    Prompt::Buttons buttons;
    Answer pressed;
    int answer;
};

class DefaultHandlerTest : public testing::TestWithParam<HandlerCase> {};

TEST_P(DefaultHandlerTest, TextNamesThePathAndTheErrorAndTheButtonDecides)
{
    ScriptedPrompt prompt{GetParam().pressed};
    Prompt::Scope scope(prompt);
    EXPECT_EQ(FCFileUty::defaultErrorHandler(FCFileUty::EntryKind::File, false, GetParam().error,
                                             FCString("/x/entry"), nullptr),
              GetParam().answer);
    ASSERT_EQ(prompt.questions().size(), 1u);
    EXPECT_EQ(prompt.questions()[0].title, "FCFileUty - remove");
    EXPECT_EQ(prompt.questions()[0].text, "/x/entry" + TextCodec::fromUtf8(GetParam().text));
    EXPECT_EQ(prompt.questions()[0].buttons, GetParam().buttons);
}

using Buttons = Prompt::Buttons;

INSTANTIATE_TEST_SUITE_P(
    FCFileUtyTest, DefaultHandlerTest,
    testing::Values(HandlerCase{2, " が\n見つかりません。削除を中断します。error code: 2",
                                Buttons::Ok, Answer::Ok, 3},
                    HandlerCase{3, " が\n見つかりません。削除を中断します。error code: 3",
                                Buttons::Ok, Answer::Ok, 3},
                    HandlerCase{53, " が\n見つかりません。削除を中断します。error code: 53",
                                Buttons::Ok, Answer::Ok, 3},
                    HandlerCase{67, " が\n見つかりません。削除を中断します。error code: 67",
                                Buttons::Ok, Answer::Ok, 3},
                    // The entry does not exist, so it is not read-only: plain refusal.
                    HandlerCase{5, " への\nアクセスが拒否されました。削除を中止します。",
                                Buttons::Ok, Answer::Ok, 3},
                    HandlerCase{32, " は\n他のアプリケーションで利用されているため削除できません。",
                                Buttons::RetryCancel, Answer::Retry, 4},
                    HandlerCase{32, " は\n他のアプリケーションで利用されているため削除できません。",
                                Buttons::RetryCancel, Answer::Cancel, 2},
                    HandlerCase{145, " は\n空ではありません。処理を中断しますか？", Buttons::YesNo,
                                Answer::Yes, 3},
                    HandlerCase{145, " は\n空ではありません。処理を中断しますか？", Buttons::YesNo,
                                Answer::No, 2},
                    HandlerCase{
                        4000000000u,
                        " の\n削除に失敗しました。削除を中断します。\nerror code: 4000000000",
                        Buttons::Ok, Answer::Ok, 3}));

TEST_F(FCFileUtyTest, MissingEntryIsToldAndAborts)
{
    EXPECT_FALSE(FCFileUty::remove(at("missing.txt").c_str()));
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].text,
              at("missing.txt") + Sjis::of(" が\n見つかりません。削除を中断します。error code: 2"));
}

TEST_F(FCFileUtyTest, ForceFromTheStartNeedsNoQuestion)
{
    fs::create_directory(at("tree"));
    touch("tree/locked.txt");
    makeReadOnly("tree/locked.txt");
    makeReadOnly("tree");
    Recorder recorder;
    EXPECT_TRUE(
        FCFileUty::remove(at("tree/").c_str(), true, nullptr, &Recorder::handle, &recorder));
    EXPECT_FALSE(fs::exists(at("tree")));
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(FCFileUtyTest, ReadOnlyFolderIsAskedAboutBeforeItsEntries)
{
    fs::create_directory(at("tree"));
    touch("tree/a.txt");
    makeReadOnly("tree");
    Recorder recorder;
    recorder.answers = {FCFileUty::ForceAndRetry};
    EXPECT_TRUE(
        FCFileUty::remove(at("tree/").c_str(), false, nullptr, &Recorder::handle, &recorder));
    EXPECT_FALSE(fs::exists(at("tree")));
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].kind, FCFileUty::EntryKind::Folder);
    EXPECT_FALSE(recorder.calls[0].forced);
    EXPECT_EQ(recorder.calls[0].error, 5u);
    EXPECT_EQ(recorder.calls[0].path, at("tree/"));
}

TEST_F(FCFileUtyTest, ForceOnceHoldsForTheRestOfTheRemoval)
{
    fs::create_directory(at("tree"));
    touch("tree/a.txt");
    touch("tree/b.txt");
    makeReadOnly("tree/a.txt");
    makeReadOnly("tree/b.txt");
    Recorder recorder;
    recorder.answers = {FCFileUty::ForceAndRetry};
    EXPECT_TRUE(
        FCFileUty::remove(at("tree/").c_str(), false, nullptr, &Recorder::handle, &recorder));
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].path, at("tree/a.txt"));
}

TEST_F(FCFileUtyTest, AbortStopsTheWholeRemoval)
{
    fs::create_directory(at("tree"));
    touch("tree/a.txt");
    touch("tree/b.txt");
    FileFaults::fail(FileFaults::Kind::Delete, 1234);
    EXPECT_FALSE(FCFileUty::remove(at("tree/").c_str()));
    EXPECT_TRUE(fs::exists(at("tree/a.txt")));
    EXPECT_TRUE(fs::exists(at("tree/b.txt")));
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].text,
              at("tree/a.txt") +
                  Sjis::of(" の\n削除に失敗しました。削除を中断します。\nerror code: 1234"));
}

TEST_F(FCFileUtyTest, SkippedEntryLeavesItsFolderBehind)
{
    fs::create_directory(at("tree"));
    touch("tree/a.txt");
    touch("tree/b.txt");
    FileFaults::fail(FileFaults::Kind::Delete, 32);
    Recorder recorder;
    recorder.answers = {FCFileUty::Skipped, FCFileUty::Skipped};
    EXPECT_FALSE(
        FCFileUty::remove(at("tree/").c_str(), false, nullptr, &Recorder::handle, &recorder));
    EXPECT_TRUE(fs::exists(at("tree/a.txt")));
    EXPECT_FALSE(fs::exists(at("tree/b.txt")));
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].error, 32u);
    EXPECT_EQ(recorder.calls[1].kind, FCFileUty::EntryKind::Folder);
    EXPECT_EQ(recorder.calls[1].error, 145u);
}

TEST_F(FCFileUtyTest, RetryAfterSharingViolationDeletes)
{
    touch("busy.txt");
    FileFaults::fail(FileFaults::Kind::Delete, 32);
    m_prompt.push(Answer::Retry);
    EXPECT_TRUE(FCFileUty::remove(at("busy.txt").c_str()));
    EXPECT_FALSE(fs::exists(at("busy.txt")));
    EXPECT_EQ(m_prompt.questions().size(), 1u);
}

TEST_F(FCFileUtyTest, DotEntriesAreNotVisitedSoTheirFolderStays)
{
    fs::create_directory(at("tree"));
    touch("tree/.keep");
    touch("tree/a.txt");
    m_prompt.push(Answer::Yes);
    EXPECT_FALSE(FCFileUty::remove(at("tree/").c_str()));
    EXPECT_TRUE(fs::exists(at("tree/.keep")));
    EXPECT_FALSE(fs::exists(at("tree/a.txt")));
    ASSERT_EQ(m_prompt.questions().size(), 1u);
    EXPECT_EQ(m_prompt.questions()[0].text,
              at("tree/") + Sjis::of(" は\n空ではありません。処理を中断しますか？"));
}

TEST_F(FCFileUtyTest, SymbolicLinkIsRemovedWithoutItsTarget)
{
    fs::create_directory(at("outside"));
    touch("outside/precious.txt");
    fs::create_directory(at("tree"));
    fs::create_directory_symlink(at("outside"), at("tree/link"));
    EXPECT_TRUE(FCFileUty::remove(at("tree/").c_str()));
    EXPECT_FALSE(fs::exists(at("tree")));
    EXPECT_TRUE(fs::exists(at("outside/precious.txt")));
}

TEST_F(FCFileUtyTest, EmptyPathRemovesNothing)
{
    fs::path saved = fs::current_path();
    fs::current_path(m_folder);
    touch("a.txt");
    bool removedEmpty = FCFileUty::remove("");
    bool removedNull = FCFileUty::remove(nullptr);
    fs::current_path(saved);
    EXPECT_FALSE(removedEmpty);
    EXPECT_FALSE(removedNull);
    EXPECT_TRUE(fs::exists(at("a.txt")));
}
