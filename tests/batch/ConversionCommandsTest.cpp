#include "BatchTestSupport.h"
#include "batch/BatchInterrupt.h"
#include "batch/ConversionSession.h"
#include "batch/ConvertCommand.h"
#include "batch/EstimateCommand.h"
#include "batch/ListCommand.h"
#include "batch/PrintCommand.h"
#include "batch/SurveyCommand.h"
#include "platform/TextCodec.h"
#include "ui/ProgressView.h"

#include <csignal>

namespace {

// Raises SIGINT once the conversion's progress bar has been stepped n times:
// a Ctrl-C typed during the next source.
class InterruptAfterSteps : public ProgressView {
public:
    explicit InterruptAfterSteps(int steps) : m_steps(steps) {}
    void opened(UxProgressDialog&) override {}
    void textChanged(UxProgressDialog&) override {}
    void positionChanged(UxProgressDialog&) override
    {
        if (++m_count == m_steps)
            std::raise(SIGINT);
    }
    void pump(UxProgressDialog&) override {}
    void closed(UxProgressDialog&) override {}

private:
    int m_steps;
    int m_count = 0;
};

// src/: a.cpp (悠人 twice, さくら once), b.cpp (悠人 and a stranger),
// c.cpp (an unassigned id only), sub/d.cpp; names.txt defines 悠人 and さくら.
class ConversionCommandsTest : public testing::Test {
protected:
    ConversionCommandsTest()
    {
        UxProgressDialog::clearCancelRequest();
        std::filesystem::create_directory(m_src.path() + "sub");
        m_src.write("a.cpp", "yuto.say(1, \"おはよう\");\nsakura.say(2, \"おはよう\");\n"
                             "yuto.fadeOut();\nyuto.say(3, \"看板\", \"いらっしゃい\");\n");
        m_src.write("b.cpp", "yuto.say(3, \"また\");\nstranger.say(5, \"誰？\");\n"
                             "yuto.say(7, \"ね\");\n");
        m_src.write("c.cpp", "yuto.say(MESSAGEID, \"未定\");\n");
        m_src.write("sub/d.cpp", "sakura.say(-1, \"システム\");\nsakura.say(9, \"下\");\n");
        m_src.write("names.txt", "yuto,0,悠人\nsakura,1,さくら\n");
    }
    ~ConversionCommandsTest() override { UxProgressDialog::clearCancelRequest(); }

    std::vector<std::string> args(std::vector<std::string> extra = {}) const
    {
        std::vector<std::string> words{m_src.path(), m_out.path(), m_src.path() + "names.txt"};
        words.insert(words.end(), extra.begin(), extra.end());
        return words;
    }
    std::string logText() const
    {
        return "○：a.screenplay.txt\n登録されていない名前があります（stranger）：" + m_src.path() +
               "b.cpp\n○：b.screenplay.txt\n未解決のメッセージIDが含まれています：" + m_src.path() +
               "c.cpp\n×：c.screenplay.txt\n";
    }

    ScenarioTestFolder m_src;
    ScenarioTestFolder m_out;
};

} // namespace

TEST_F(ConversionCommandsTest, SurveyPrintsTheReport)
{
    const CommandRun run = runCommand(SurveyCommand::run, args({"--subfolders"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "[メッセージID]\n最小値：1\n最大値：9\n未使用ID数：3\n"
                       "[重複しているID一覧]：1\n3\n[未定義のIDを含むファイル一覧]：1\nc.cpp\n"
                       "[システムID(負の数)を含むファイル一覧]：1\nd.cpp\n"
                       "[登録されていないobj名一覧]stranger\n");
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(m_out.exists("a.screenplay.txt"));
}

TEST_F(ConversionCommandsTest, MissingInputsAreRefusedOnTheErrorStream)
{
    struct {
        std::vector<std::string> words;
        const char* message;
    } cases[] = {
        {{m_src.path() + "none", m_out.path(), "x"}, "ソースフォルダが見つかりません"},
        {{m_src.path(), m_out.path() + "none", "x"}, "出力先フォルダが見つかりません"},
        {{m_src.path(), m_out.path(), m_src.path() + "none.txt"},
         "名前定義ファイルを登録できません"},
        {{"", m_out.path(), "x"}, "入力するCPPのあるフォルダを指定して下さい"},
    };
    for (const auto& c : cases) {
        for (BatchCommand command : {SurveyCommand::run, ConvertCommand::run}) {
            const CommandRun run = runCommand(command, c.words);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, std::string("quillon-batch: ") + c.message + "\n");
        }
    }
}

TEST_F(ConversionCommandsTest, BadArgumentsShowTheUsage)
{
    for (const auto& words :
         std::vector<std::vector<std::string>>{{m_src.path(), m_out.path()},
                                               {m_src.path(), m_out.path(), "n", "--log"},
                                               {m_src.path(), m_out.path(), "n", "--only", "a"}}) {
        const CommandRun run = runCommand(ConvertCommand::run, words);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(ConvertCommand::usage), std::string::npos) << run.err;
    }
    EXPECT_EQ(runCommand(SurveyCommand::run, {"a", "b", "c", "--yes"}).status, 2);
}

TEST_F(ConversionCommandsTest, ConvertPrintsTheLogAndWritesShiftJisFiles)
{
    const CommandRun run = runCommand(ConvertCommand::run, args());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, logText());
    EXPECT_EQ(fileBytes(m_out.path() + "a.screenplay.txt"),
              sj(".scene\ta\n.start\t1\n.end\t3\n.chara\t2\n.悠人\t2\n.さくら\t1\n.total\t3\n"
                 "000001 悠人「おはよう」\n000002 さくら「おはよう」\n"
                 "            【 暗／明転 】\n000003 悠人（看板）「いらっしゃい」\n"));
    EXPECT_FALSE(m_out.exists("c.screenplay.txt"));
    EXPECT_FALSE(m_out.exists("d.screenplay.txt"));
}

TEST_F(ConversionCommandsTest, TheLogFileIsOverwrittenOnlyWithYes)
{
    const std::string log = m_out.path() + "convert.log";
    ASSERT_EQ(runCommand(ConvertCommand::run, args({"--log", log})).status, 0);
    EXPECT_EQ(fileBytes(log), sj(logText()));

    m_out.writeBytes("convert.log", "kept");
    CommandRun run = runCommand(ConvertCommand::run, args({"--log", log}));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(fileBytes(log), "kept");
    EXPECT_NE(run.err.find("ログファイル上書きの確認: " + log +
                           "\nが存在しています。上書きしても構いませんか？ -> いいえ"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("left unchanged"), std::string::npos) << run.err;

    run = runCommand(ConvertCommand::run, args({"--log", log, "--yes", "--subfolders"}));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(utf8(fileBytes(log)), logText() + "○：d.screenplay.txt\n");
}

TEST_F(ConversionCommandsTest, CtrlCStopsBetweenSources)
{
    BatchInterrupt::install();
    InterruptAfterSteps view(1);
    BatchTestEnvironment test(view);
    std::ostringstream out, err;
    const int status = ConvertCommand::run(test.environment(),
                                           args({"--log", m_out.path() + "convert.log"}), out, err);
    BatchInterrupt::uninstall();
    EXPECT_EQ(status, 130);
    EXPECT_EQ(out.str(), "○：a.screenplay.txt\n\n処理はキャンセルされました\n");
    EXPECT_TRUE(m_out.exists("a.screenplay.txt"));
    EXPECT_FALSE(m_out.exists("b.screenplay.txt"));
    EXPECT_EQ(utf8(fileBytes(m_out.path() + "convert.log")), out.str());
}

TEST_F(ConversionCommandsTest, AConvertedFolderListsEstimatesAndPrints)
{
    ASSERT_EQ(runCommand(ConvertCommand::run, args({"--subfolders"})).status, 0);

    const CommandRun list = runCommand(ListCommand::run, {m_out.path()});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "x\ta.screenplay.txt\t悠人,さくら\nx\tb.screenplay.txt\t悠人\n"
                        "x\td.screenplay.txt\tさくら\n総数\t3\n発言者なし\t0\n");

    const CommandRun estimate = runCommand(EstimateCommand::run, {m_out.path()});
    ASSERT_EQ(estimate.status, 0) << estimate.err;
    EXPECT_NE(estimate.out.find("ページの台本が出力されます。"), std::string::npos) << estimate.out;

    ScenarioTestFolder pages;
    const CommandRun print =
        runCommand(PrintCommand::run, {m_out.path(), "--dest", pages.path(), "--no-log"});
    ASSERT_EQ(print.status, 0) << print.err;
    // One script per speaking character of every scene.
    int images = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(pages.path()))
        images += entry.path().extension() == ".png";
    EXPECT_EQ(images, 4);
    EXPECT_TRUE(std::filesystem::exists(pages.path() + "a/a.悠人.1@1.png"));
}

TEST_F(ConversionCommandsTest, EveryJobCountPrintsTheSameLogAndWritesTheSameFiles)
{
    const CommandRun serial =
        runCommand(ConvertCommand::run, args({"--jobs", "1", "--subfolders"}));
    ASSERT_EQ(serial.status, 0) << serial.err;
    EXPECT_EQ(serial.out, logText() + "○：d.screenplay.txt\n");
    const std::string a = fileBytes(m_out.path() + "a.screenplay.txt");
    for (const char* jobs : {"0", "2", "7"}) {
        m_out.remove("a.screenplay.txt");
        const CommandRun run =
            runCommand(ConvertCommand::run, args({"--subfolders", "--jobs", jobs}));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, serial.out) << jobs;
        EXPECT_EQ(fileBytes(m_out.path() + "a.screenplay.txt"), a) << jobs;
    }
    for (const char* bad : {"-1", "two", ""}) {
        const CommandRun run = runCommand(ConvertCommand::run, args({"--jobs", bad}));
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.err.find("--jobs"), std::string::npos) << run.err;
    }
}

TEST(ConversionSessionTest, TheLogIsShownAsTheWholeTextConverts)
{
    // Repeated lines, a lead byte before a line break (which the converter
    // pairs as it alone knows), a double-byte character ending a line, bytes
    // that are no character, and no final line break.
    const std::string texts[] = {
        "",
        "a\na\na\n",
        sj("名前（mob）：/src/s.cpp\n名前（mob）：/src/s.cpp\n○：s.screenplay.txt\n"),
        "x\x82\na\x82\n",
        sj("キャンセル\nキャンセル\n"),
        "\xFF\xFD\n\x81\x20\n\x81",
        "a\nb",
    };
    for (const std::string& text : texts) {
        std::string expected = TextCodec::toUtf8(text);
        if (expected.empty() || expected.back() != '\n')
            expected += '\n';
        EXPECT_EQ(ConversionSession::shown(FCString(text)), expected) << text;
    }
}
