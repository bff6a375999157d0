#include "batch/ChangesCommand.h"

#include "BatchTestSupport.h"
#include "reports/PrintRecord.h"

namespace {

std::string scene(const std::vector<std::string>& body)
{
    std::string text = ".scene\ts01\n.chara\t2\n.さくら\t2\n.悠人\t2\n.total\t4\n";
    for (const std::string& line : body)
        text += line + "\n";
    return text;
}

const std::vector<std::string> before = {"000101 さくら「a」", "000102 悠人「b」",
                                         "000103 さくら「c」", "000104 悠人「d」"};

// Two versions of a one-scene scenario.
class ChangesCommandTest : public testing::Test {
protected:
    ChangesCommandTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_old.write("s01.screenplay.txt", scene(before));
    }

    void writeNew(const std::vector<std::string>& body)
    {
        m_new.write("s01.screenplay.txt", scene(body));
    }

    CommandRun changes(std::vector<std::string> options)
    {
        std::vector<std::string> words{m_old.path(), m_new.path()};
        words.insert(words.end(), options.begin(), options.end());
        return runCommand(ChangesCommand::run, words);
    }

    ScenarioTestFolder m_old;
    ScenarioTestFolder m_new;
    ScenarioTestFolder m_work;
};

} // namespace

TEST_F(ChangesCommandTest, TheSameScenarioGivesStatusZeroAndNoOutput)
{
    m_new.writeBytes("s01.screenplay.txt", sj(scene(before)) + "\r\n");
    const CommandRun run = changes({});
    EXPECT_EQ(run.status, ChangesCommand::Unchanged) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(ChangesCommandTest, ChangesGiveStatusThreeTheListingAndTheCsv)
{
    writeNew(
        {"000101 さくら「a!」", "000102 さくら「b」", "000105 さくら「c」", "000106 悠人「e」"});
    const CommandRun run = changes({"--csv", m_work.path() + "changes.csv"});
    EXPECT_EQ(run.status, ChangesCommand::Changed) << run.err;
    EXPECT_EQ(run.out, "変更\t000101\ts01\tさくら\t「a」\t「a!」\n"
                       "話者変更\t000102\ts01\tさくら\t「b」\t「b」\n"
                       "番号変更\t000103→000105\ts01\tさくら\t「c」\t「c」\n"
                       "削除\t000104\ts01\t悠人\t「d」\t\n"
                       "追加\t000106\ts01\t悠人\t\t「e」\n"
                       "変更数\tさくら\t3\n"
                       "変更数\t悠人\t2\n");
    EXPECT_EQ(fileBytes(m_work.path() + "changes.csv"),
              sj("種類,番号,シーン,キャラ名,旧テキスト,新テキスト\r\n"
                 "変更,000101,s01,さくら,「a」,「a!」\r\n"
                 "話者変更,000102,s01,さくら,「b」,「b」\r\n"
                 "番号変更,000103→000105,s01,さくら,「c」,「c」\r\n"
                 "削除,000104,s01,悠人,「d」,\r\n"
                 "追加,000106,s01,悠人,,「e」\r\n"));
}

TEST_F(ChangesCommandTest, SuppressedCharactersAreLeftOut)
{
    writeNew(
        {"000101 さくら「a!」", "000102 悠人「b!」", "000103 さくら「c」", "000104 悠人「d」"});
    const CommandRun run = changes({"--suppress", "悠人"});
    EXPECT_EQ(run.status, ChangesCommand::Changed) << run.err;
    EXPECT_EQ(run.out, "変更\t000101\ts01\tさくら\t「a」\t「a!」\n変更数\tさくら\t1\n");
    EXPECT_EQ(changes({"--suppress", "悠人,さくら"}).status, ChangesCommand::Unchanged);
}

TEST_F(ChangesCommandTest, NotesAreListedOnlyWhenAskedFor)
{
    std::vector<std::string> body = before;
    body.insert(body.begin(), "            【 暗転 】");
    writeNew(body);
    EXPECT_EQ(changes({}).status, ChangesCommand::Unchanged);
    const CommandRun run = changes({"--notes"});
    EXPECT_EQ(run.status, ChangesCommand::Changed);
    EXPECT_EQ(run.out, "注記変更\t\ts01\t\t\t【 暗転 】\n");
}

TEST_F(ChangesCommandTest, SinceThePrintComparesWithTheRecordAndANeverPrintedSceneIsAllNew)
{
    writeNew(before);
    const CommandRun never = runCommand(ChangesCommand::run, {m_new.path(), "--since-print"});
    EXPECT_EQ(never.status, ChangesCommand::Changed) << never.err;
    EXPECT_EQ(std::count(never.out.begin(), never.out.end(), '\n'), 4 + 2);
    EXPECT_EQ(never.out.rfind("追加\t000101\ts01\tさくら\t\t「a」\n", 0), 0u);

    std::filesystem::create_directories(PrintRecord::folderOf(m_new.path()));
    m_new.write(".quillon/printed/s01.screenplay.txt", scene(before));
    const CommandRun printed = runCommand(ChangesCommand::run, {m_new.path(), "--since-print"});
    EXPECT_EQ(printed.status, ChangesCommand::Unchanged) << printed.err;
    EXPECT_EQ(printed.out, "");
}

struct RefusalCase {
    std::vector<std::string> words;
    int status;
    const char* told;
};

class ChangesRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(ChangesRefusalTest, TellsWhyAndGivesItsStatus)
{
    ScenarioTestFolder folder;
    folder.write("s01.screenplay.txt", scene(before));
    std::vector<std::string> words;
    for (const std::string& word : GetParam().words)
        words.push_back(word == "DIR" ? folder.path() : word);
    const CommandRun run = runCommand(ChangesCommand::run, words);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().told), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Words, ChangesRefusalTest,
    testing::Values(RefusalCase{{"DIR"}, 2, "changes: NEW missing"},
                    RefusalCase{{"DIR", "DIR", "--since-print"}, 2, "one word too many"},
                    RefusalCase{{"DIR", "DIR", "--csv"}, 2, "--csv: needs a value"},
                    RefusalCase{{"/nonexistent/old", "DIR"}, 1, "no such folder: /nonexistent/old"},
                    RefusalCase{{"DIR", "/nonexistent/new"}, 1, "no such folder"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });
