#include "BatchTestSupport.h"
#include "batch/ChangesCommand.h"
#include "batch/EstimateCommand.h"
#include "batch/PrintCommand.h"
#include "render/PdfReading.h"

#include <map>

namespace {

std::string scene(const std::vector<std::string>& body)
{
    std::string text = ".scene\ts01\n.chara\t3\n.さくら\t3\n.悠人\t3\n.店主\t3\n.total\t9\n";
    for (const std::string& line : body)
        text += line + "\n";
    return text;
}

// Before: a note and eight lines; after, 000102's text changed, 000104 given
// to さくら, 000108 removed and 000109 added after 000106. 店主 has nothing
// to record again.
const std::vector<std::string> before = {
    "            【 暗転 】", "000101 さくら「一」", "000102 悠人「二」",
    "000103 店主「三」",      "000104 悠人「四」",   "000105 店主「五」",
    "000106 さくら「六」",    "000107 店主「七」",   "000108 店主「八」"};
const std::vector<std::string> after = {
    "            【 暗転 】", "000101 さくら「一」", "000102 悠人「ふたつ」",
    "000103 店主「三」",      "000104 さくら「四」", "000105 店主「五」",
    "000106 さくら「六」",    "000109 悠人「九」",   "000107 店主「七」"};

class PickupScriptsTest : public testing::Test {
protected:
    PickupScriptsTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_old.write("s01.screenplay.txt", scene(before));
        m_new.write("s01.screenplay.txt", scene(after));
    }

    std::string dest() const { return m_out.path() + "pdf/"; }
    CommandRun print(std::vector<std::string> words)
    {
        words.insert(words.begin(), m_new.path());
        for (const char* word : {"--device", "pdf", "--no-log"})
            words.push_back(word);
        return runCommand(PrintCommand::run, words);
    }
    // The text of every PDF script below the destination, by file, its
    // header line left out.
    std::map<std::string, std::string> scripts() const
    {
        std::map<std::string, std::string> texts;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dest())) {
            if (!entry.is_regular_file())
                continue;
            const std::string text =
                pdfread::shell("pdftotext -raw '" + entry.path().string() + "' -");
            const std::size_t header = text.find('\n');
            texts[std::filesystem::relative(entry.path(), dest()).string()] =
                header == std::string::npos ? text : text.substr(header + 1);
        }
        return texts;
    }

    ScenarioTestFolder m_old;
    ScenarioTestFolder m_new;
    ScenarioTestFolder m_out;
};

} // namespace

TEST_F(PickupScriptsTest, EachCharacterGetsExactlyItsChangedLinesWithTheirContext)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    const CommandRun run = print({"--changes-from", m_old.path(), "--generic", "--dest", dest()});
    ASSERT_EQ(run.status, 0) << run.err;
    // Scripts of part of a scene leave the print record alone.
    EXPECT_FALSE(std::filesystem::exists(m_new.path() + ".quillon/printed/s01.screenplay.txt"));
    const std::string page = "\f";
    EXPECT_EQ(scripts(),
              (std::map<std::string, std::string>{
                  {"s01/s01.悠人（リテイク）.pdf",
                   "000101 さくら「一」\n＊000102 悠人「ふたつ」\n000103 店主「三」\n"
                   "000106 さくら「六」\n＊000109 悠人「九」\n000107 店主「七」\n" +
                       page},
                  {"s01/s01.さくら（リテイク）.pdf",
                   "000103 店主「三」\n＊000104 さくら「四」\n000105 店主「五」\n" + page},
                  {"s01/s01.監督用（リテイク）.pdf",
                   "000101 さくら「一」\n＊000102 悠人「ふたつ」\n000103 店主「三」\n"
                   "＊000104 さくら「四」\n000105 店主「五」\n000106 さくら「六」\n"
                   "＊000109 悠人「九」\n000107 店主「七」\n" +
                       page}}));
}

TEST_F(PickupScriptsTest, TheEstimateCountsThePagesThePrintPrints)
{
    for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
             {"--changes-from", m_old.path()}, {"--changes-from", m_old.path(), "--generic"}}) {
        std::vector<std::string> words = options;
        words.insert(words.begin(), m_new.path());
        const CommandRun estimate = runCommand(EstimateCommand::run, words);
        ASSERT_EQ(estimate.status, 0) << estimate.err;
        std::vector<std::string> printWords = options;
        printWords.insert(printWords.end(), {"--dest", dest()});
        const CommandRun printed = print(printWords);
        ASSERT_EQ(printed.status, 0) << printed.err;
        const std::string pages = options.size() == 3 ? "3" : "2";
        EXPECT_EQ(estimate.out.rfind("s01.screenplay.txt\ts01\t" + pages + "\n", 0), 0u)
            << estimate.out;
        EXPECT_EQ(printed.out.rfind("1 scene(s) printed, " + pages + " page(s)", 0), 0u)
            << printed.out;
    }
}

TEST_F(PickupScriptsTest, BothWaysOfChoosingTheBaseAreRefused)
{
    const CommandRun run = print({"--changes-from", m_old.path(), "--since-print"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("give one of them"), std::string::npos) << run.err;
    EXPECT_EQ(print({"--changes-from", m_out.path() + "missing"}).status, 1);
}

TEST_F(PickupScriptsTest, APickupSincePrintMovesTheRecordOnOnlyWhenEveryChangeWasPrinted)
{
    auto sincePrint = [this] {
        return runCommand(ChangesCommand::run, {m_new.path(), "--since-print"});
    };
    m_new.write("s01.screenplay.txt", scene(before));
    ASSERT_EQ(print({"--dest", dest()}).status, 0);
    EXPECT_EQ(sincePrint().status, ChangesCommand::Unchanged);

    m_new.write("s01.screenplay.txt", scene(after));
    EXPECT_EQ(sincePrint().status, ChangesCommand::Changed);
    // 悠人's lines were not printed: the record keeps the old scene.
    ASSERT_EQ(print({"--since-print", "--suppress", "悠人", "--dest", dest()}).status, 0);
    EXPECT_EQ(sincePrint().status, ChangesCommand::Changed);
    // Every line printed: the pickup is the new start.
    ASSERT_EQ(print({"--since-print", "--dest", dest()}).status, 0);
    const CommandRun done = sincePrint();
    EXPECT_EQ(done.status, ChangesCommand::Unchanged) << done.out;
}

TEST_F(PickupScriptsTest, NoChangeGivesNoScript)
{
    m_new.write("s01.screenplay.txt", scene(before));
    const CommandRun run = print({"--changes-from", m_old.path(), "--generic", "--dest", dest()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("0 scene(s) printed, 0 page(s)", 0), 0u) << run.out;
    EXPECT_FALSE(std::filesystem::exists(dest() + "s01"));
}
