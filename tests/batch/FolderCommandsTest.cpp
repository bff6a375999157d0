#include "BatchTestSupport.h"
#include "batch/BatchArguments.h"
#include "batch/CheckListCommand.h"
#include "batch/EstimateCommand.h"
#include "batch/FolderSession.h"
#include "batch/ListCommand.h"
#include "batch/WordsCommand.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

const std::string pages(int total)
{
    return "現在の設定で印刷すると、\n" + std::to_string(total) + "ページの台本が出力されます。\n";
}

// The total of an estimate's output, after its lines per scene.
std::string totalOf(const std::string& out)
{
    const size_t at = out.find("現在の設定で");
    return at == std::string::npos ? out : out.substr(at);
}

} // namespace

TEST_F(BatchFolderTest, ListShowsEveryRowAndTheTwoCounts)
{
    const CommandRun run = runCommand(ListCommand::run, {folder()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "x\ta.screenplay.txt\t悠人,さくら\n"
                       "x\tb.screenplay.txt\t悠人,店主\n"
                       "-\tc.screenplay.txt\t\n"
                       "総数\t3\n"
                       "発言者なし\t1\n");
}

TEST_F(BatchFolderTest, OnlyTicksTheNamedRows)
{
    const CommandRun run =
        runCommand(ListCommand::run, {folder(), "--only", "b.screenplay.txt,c.screenplay.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "-\ta.screenplay.txt\t悠人,さくら\n"
                       "x\tb.screenplay.txt\t悠人,店主\n"
                       "x\tc.screenplay.txt\t\n"
                       "総数\t3\n"
                       "発言者なし\t1\n");
}

TEST_F(BatchFolderTest, OnlyWithAnUnknownNameFails)
{
    const CommandRun run =
        runCommand(EstimateCommand::run, {folder(), "--only", "x.screenplay.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("x.screenplay.txt"), std::string::npos) << run.err;
}

TEST(BatchFolderErrorsTest, AFolderWithoutScenesPrintsNothingAndFails)
{
    ScenarioTestFolder empty;
    empty.write("notes.txt", "x");
    for (BatchCommand command :
         {ListCommand::run, EstimateCommand::run, WordsCommand::run, CheckListCommand::run}) {
        const CommandRun run = runCommand(command, {empty.path()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("no screenplay files"), std::string::npos) << run.err;
    }
    const CommandRun missing = runCommand(ListCommand::run, {empty.path() + "missing"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no such folder"), std::string::npos) << missing.err;
}

TEST(BatchFolderErrorsTest, BadArgumentsPrintTheUsage)
{
    struct Case {
        BatchCommand command;
        std::vector<std::string> words;
        const char* usage;
    };
    for (const Case& c : {
             Case{ListCommand::run, {}, "quillon-batch list FOLDER"},
             Case{ListCommand::run, {"a", "b"}, "quillon-batch list FOLDER"},
             Case{ListCommand::run, {"a", "--all"}, "quillon-batch list FOLDER"},
             Case{EstimateCommand::run, {"a", "--only"}, "quillon-batch estimate FOLDER"},
             Case{EstimateCommand::run, {"a", "--all=1"}, "quillon-batch estimate FOLDER"},
             Case{WordsCommand::run, {"--suppress", "x"}, "quillon-batch words FOLDER"},
             Case{CheckListCommand::run, {"a", "--format", "xls"}, "quillon-batch checklist"},
             Case{CheckListCommand::run, {"a", "--out"}, "quillon-batch checklist"},
             Case{CheckListCommand::run, {"a", "--colour"}, "quillon-batch checklist"},
         }) {
        const CommandRun run = runCommand(c.command, c.words);
        EXPECT_EQ(run.status, 2) << c.usage;
        EXPECT_NE(run.err.find(std::string("usage: ") + c.usage), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(BatchFolderTest, EstimatePrintsThePageCountMessage)
{
    // PRESET-14p: a is 1 page, b 2 pages; two characters each; c is cleared.
    CommandRun run = runCommand(EstimateCommand::run, {folder()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(totalOf(run.out), pages(2 * 1 + 2 * 2));
    run = runCommand(EstimateCommand::run, {folder(), "--only", "a.screenplay.txt"});
    EXPECT_EQ(totalOf(run.out), pages(2));
    run = runCommand(EstimateCommand::run, {folder(), "--only", "c.screenplay.txt", "--all"});
    EXPECT_EQ(totalOf(run.out), pages(6));
}

TEST_F(BatchFolderTest, TheFoldersSettingsFileSuppliesTheFormat)
{
    m_folder.write("quillon.settings.rnf", "NPChara0=店主\nNPNumber=1\nmode=3\n");
    // PRESET-18p: a is 2 pages, b 3 pages; 店主 is suppressed.
    CommandRun run = runCommand(EstimateCommand::run, {folder()});
    EXPECT_EQ(totalOf(run.out), pages(2 * 2 + 1 * 3)) << run.err;
    // For this run only: the file keeps its own list.
    run = runCommand(EstimateCommand::run, {folder(), "--suppress", "悠人,さくら"});
    EXPECT_EQ(totalOf(run.out), pages(0 + 1 * 3)) << run.err;
    const std::string settings = fileBytes(folder() + "quillon.settings.rnf");
    EXPECT_NE(settings.find(sj("NPChara0=店主\n")), std::string::npos) << settings;
    EXPECT_EQ(settings.find(sj("悠人")), std::string::npos) << settings;
    run = runCommand(EstimateCommand::run, {folder(), "--suppress", ""});
    EXPECT_EQ(totalOf(run.out), pages(2 * 2 + 2 * 3)) << run.err;
}

TEST_F(BatchFolderTest, LoadingLeavesAnEmptySettingsFileWhereThereWasNone)
{
    ASSERT_FALSE(m_folder.exists("quillon.settings.rnf"));
    EXPECT_EQ(runCommand(WordsCommand::run, {folder()}).status, 0);
    ASSERT_TRUE(m_folder.exists("quillon.settings.rnf"));
    EXPECT_EQ(fileBytes(folder() + "quillon.settings.rnf"), "");
}

TEST_F(BatchFolderTest, WordsPrintsTheClipboardText)
{
    const CommandRun run = runCommand(WordsCommand::run, {folder()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "悠人, 7\nさくら, 1\n店主, 3\n");
}

TEST_F(BatchFolderTest, CheckListWithTheDefaultsWritesTheSceneListCsvIntoTheFolder)
{
    const CommandRun run = runCommand(CheckListCommand::run, {folder()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, folder() + "@sceneCheckList.00000000.csv\nが出力されました。\n");
    EXPECT_EQ(lists(folder()), std::vector<std::string>{"@sceneCheckList.00000000.csv"});
    EXPECT_EQ(fileBytes(folder() + "@sceneCheckList.00000000.csv"),
              sj("mode:14p 標準指定,,\n\n,シナリオ名,キャラ名,ページ数,ワード数\n"
                 "□,a,悠人,1,2\n□,,さくら,1,1\n□,b,悠人,2,5\n□,,店主,2,3\n"));
}

TEST_F(BatchFolderTest, CheckListWritesExactlyTheListsGiven)
{
    const CommandRun run = runCommand(CheckListCommand::run,
                                      {folder(), "--characters", "--format", "txt", "--unprinted",
                                       "--only", "a.screenplay.txt", "--suppress", "さくら"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lists(folder()), (std::vector<std::string>{"@sceneCheckList.さくら.00000000.txt",
                                                         "@sceneCheckList.店主.00000000.txt",
                                                         "@sceneCheckList.悠人.00000000.txt"}));
    EXPECT_EQ(fileBytes(folder() + "@sceneCheckList.悠人.00000000.txt"),
              sj("「悠人」用台本リスト\n\tmode:14p 標準指定\n--------\n"
                 "□ a\t1 頁\t2 台詞\n■ b\t2 頁\t5 台詞\n"));
    EXPECT_EQ(fileBytes(folder() + "@sceneCheckList.さくら.00000000.txt"),
              sj("「さくら」用台本リスト\n\tmode:14p 標準指定\n--------\n■ a\t1 頁\t1 台詞\n"));
    EXPECT_NE(run.out.find("「悠人」：" + folder() + "@sceneCheckList.悠人.00000000.txt\n"),
              std::string::npos)
        << run.out;
}

TEST_F(BatchFolderTest, CheckListTakesAJobCount)
{
    const CommandRun run = runCommand(CheckListCommand::run, {folder(), "--jobs", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lists(folder()), std::vector<std::string>{"@sceneCheckList.00000000.csv"});
    for (const char* bad : {"-1", "two"})
        EXPECT_EQ(runCommand(CheckListCommand::run, {folder(), "--jobs", bad}).status, 2) << bad;
}

TEST_F(BatchFolderTest, CheckListCreatesAMissingOutputFolderOnlyWithYes)
{
    const std::string out = folder() + "lists/new";
    CommandRun run = runCommand(CheckListCommand::run, {folder(), "--out", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_NE(run.err.find("は存在しません。作成しても構いませんか？ -> いいえ"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");

    run = runCommand(CheckListCommand::run, {folder(), "--out", out, "--yes", "--scenes"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("リスト出力先フォルダの作成: " + out +
                           "/\nを新規に作成します。よろしいですか？ -> はい"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(lists(out), std::vector<std::string>{"@sceneCheckList.00000000.csv"});
    EXPECT_EQ(run.out, out + "/@sceneCheckList.00000000.csv\nが出力されました。\n");
}

TEST_F(BatchFolderTest, CheckListWithAnEmptyOutputFolderFails)
{
    const CommandRun run = runCommand(CheckListCommand::run, {folder(), "--out", ""});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("出力先フォルダを指定してください"), std::string::npos) << run.err;
    EXPECT_TRUE(lists(folder()).empty());
}

TEST_F(BatchFolderTest, AnUnreadableSceneIsReportedAfterTheMessage)
{
    std::ostringstream out, err;
    BatchTestEnvironment test;
    FolderSession session(test.environment(), out, err);
    ASSERT_EQ(session.open(folder(), BatchArguments()), 0) << err.str();
    // Loading read the header; the estimate finds the file gone.
    m_folder.remove("b.screenplay.txt");
    EXPECT_EQ(EstimateCommand::estimate(session, false), 1);
    EXPECT_EQ(out.str(), "a.screenplay.txt\ta\t2\nb.screenplay.txt\tb\t-\n" + pages(2));
    EXPECT_NE(err.str().find("b.screenplay.txt"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("1 scene(s) could not be read"), std::string::npos) << err.str();
    EXPECT_EQ(session.fileFailures(), 1);
}

TEST_F(BatchFolderTest, SkippedFilesAreToldOnTheErrorStream)
{
    ASSERT_EQ(::mkfifo((folder() + "fifo.screenplay.txt").c_str(), 0644), 0);
    std::filesystem::create_symlink("loop.screenplay.txt", folder() + "loop.screenplay.txt");
    std::ofstream(folder() + "caf\xc3\xa9.screenplay.txt") << ".B\t1\n";
    std::filesystem::create_directory(folder() + "quillon.settings.rnf");
    const CommandRun run = runCommand(ListCommand::run, {folder()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "x\ta.screenplay.txt\t悠人,さくら\n"
                       "x\tb.screenplay.txt\t悠人,店主\n"
                       "-\tc.screenplay.txt\t\n"
                       "総数\t3\n"
                       "発言者なし\t1\n");
    EXPECT_EQ(run.err,
              "quillon-batch: skipped fifo.screenplay.txt: not a regular file\n"
              "quillon-batch: skipped loop.screenplay.txt: the links lead round in a loop\n"
              "quillon-batch: skipped caf\xc3\xa9.screenplay.txt: the name cannot be "
              "written in Shift-JIS\n"
              "quillon-batch: ignored quillon.settings.rnf: not a regular file; the "
              "print settings were neither read nor saved\n");
}
