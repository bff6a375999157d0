#include "AudioTestFiles.h"
#include "BatchTestSupport.h"
#include "batch/EstimateCommand.h"
#include "batch/PrintCommand.h"
#include "render/PdfReading.h"

#include <map>
#include <set>

namespace {

using pdfread::withoutSpaces;

std::vector<std::string> pdfLines(const std::string& file)
{
    return pdfread::nonEmptyLines(pdfread::shell("pdftotext -raw -enc UTF-8 '" + file + "' -"));
}

std::string number(int n)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06d", n);
    return digits;
}

// The scene "m": さくら and 悠人 in turn, lines 1-8; the delivery lacks 3
// and 8 and has a file for 5 that is no audio.
const std::vector<std::string> sceneM = {
    "000001 さくら「おはよう」", "000002 悠人「やあ」",     "000003 さくら「今日は晴れ」",
    "000004 悠人「そうだね」",   "000005 さくら「行こう」", "000006 悠人「うん」",
    "000007 さくら「またね」",   "000008 悠人「さよなら」",
};

class MissingFromCommandTest : public testing::Test {
protected:
    MissingFromCommandTest() { UxProgressDialog::clearCancelRequest(); }
    ~MissingFromCommandTest() override { UxProgressDialog::clearCancelRequest(); }

    void writeScene(const std::string& file, const std::string& scene,
                    const std::vector<std::string>& lines)
    {
        std::string text =
            ".scene\t" + scene + "\n.chara\t3\n.さくら\t1\n.悠人\t1\n.店主\t1\n.total\t3\n";
        for (const std::string& line : lines)
            text += line + "\n";
        m_scenario.write(file, text);
    }
    void deliver(int from, int to, const std::set<int>& lacking)
    {
        for (int n = from; n <= to; ++n) {
            if (!lacking.contains(n))
                writeAudio(m_delivery.path() + number(n) + ".wav", 80);
        }
    }
    CommandRun print(std::vector<std::string> words)
    {
        words.insert(words.begin(), m_scenario.path());
        return runCommand(PrintCommand::run, words);
    }
    CommandRun estimate(std::vector<std::string> words)
    {
        words.insert(words.begin(), m_scenario.path());
        return runCommand(EstimateCommand::run, words);
    }
    std::string dest() const { return m_out.path() + "out/"; }

    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_delivery;
    ScenarioTestFolder m_out;
};

} // namespace

TEST_F(MissingFromCommandTest, PdfScriptsHoldExactlyTheMissingLinesAndTheirContext)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    writeScene("m.screenplay.txt", "m", sceneM);
    deliver(1, 8, {3, 5, 8});
    writeText(m_delivery.path() + "000005.wav", "not audio");
    const std::string log = m_out.path() + "print.log";
    const CommandRun run = print({"--device", "pdf", "--generic", "--dest", dest(), "--log", log,
                                  "--missing-from", m_delivery.path()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1 scene(s) printed, 3 page(s) in " + dest() + "\nlog: " + log + "\n");
    EXPECT_NE(run.err.find("2 line(s) missing and 1 with broken files only"), std::string::npos)
        << run.err;

    auto line = [](int i) { return withoutSpaces(sceneM[std::size_t(i)]); };
    // さくら: 3 and 5 with 2, 4 and 6 around them; 悠人: 8 after 7; 店主
    // has nothing to record and no script.
    EXPECT_EQ(pdfLines(dest() + "m/m.さくら（未収録）.pdf"),
              (std::vector<std::string>{"ｍさくら（未収録）Ｐ－１／１", line(1), line(2), line(3),
                                        line(4), line(5)}));
    EXPECT_EQ(pdfLines(dest() + "m/m.悠人（未収録）.pdf"),
              (std::vector<std::string>{"ｍ悠人（未収録）Ｐ－１／１", line(6), line(7)}));
    EXPECT_EQ(pdfLines(dest() + "m/m.監督用（未収録）.pdf"),
              (std::vector<std::string>{"ｍ監督用（未収録）Ｐ－１／１", line(1), line(2), line(3),
                                        line(4), line(5), line(6), line(7)}));
    EXPECT_FALSE(std::filesystem::exists(dest() + "m/m.店主（未収録）.pdf"));
    EXPECT_EQ(utf8(fileBytes(log)), "; 印刷を開始します\n"
                                    "; 未収録の台詞のみを印刷します\n"
                                    "m.screenplay.txt; 印刷されました\n"
                                    "; 印刷されたファイル数：1 ファイル\n"
                                    "; 印刷処理は正常に終了しました。\n");
}

TEST_F(MissingFromCommandTest, TheEstimateAgreesWithThePrintRunPageForPage)
{
    // Three scenes of 150 lines spoken in turn by three characters, with
    // every seventh and every eleventh line missing; the third scene lacks
    // nothing and prints nothing.
    std::set<int> lacking;
    for (int scene = 0; scene < 3; ++scene) {
        std::vector<std::string> lines;
        const char* names[] = {"さくら", "悠人", "店主"};
        for (int i = 0; i < 150; ++i) {
            const int n = scene * 1000 + i + 1;
            lines.push_back(number(n) + " " + names[i % 3] + "「台詞" + std::to_string(n) + "」");
            if (scene < 2 && (n % 7 == 0 || n % 11 == 0))
                lacking.insert(n);
        }
        writeScene("g" + std::to_string(scene) + ".screenplay.txt", "g" + std::to_string(scene),
                   lines);
        deliver(scene * 1000 + 1, scene * 1000 + 150, lacking);
    }
    const CommandRun estimated = estimate({"--generic", "--missing-from", m_delivery.path()});
    ASSERT_EQ(estimated.status, 0) << estimated.err;
    std::map<std::string, int> expected;
    std::istringstream rows(estimated.out);
    std::string row;
    while (std::getline(rows, row)) {
        const std::size_t tab = row.rfind('\t');
        if (tab != std::string::npos)
            expected[row.substr(row.find('\t') + 1, tab - row.find('\t') - 1)] =
                std::stoi(row.substr(tab + 1));
    }
    EXPECT_EQ(expected.size(), 2u) << estimated.out;

    const CommandRun printed =
        print({"--generic", "--dest", dest(), "--no-log", "--missing-from", m_delivery.path()});
    ASSERT_EQ(printed.status, 0) << printed.err;
    std::map<std::string, int> pages;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dest())) {
        if (entry.is_regular_file())
            ++pages[entry.path().parent_path().filename().string()];
    }
    EXPECT_EQ(pages, expected);
    EXPECT_GT(pages["g0"], 3);
}

TEST_F(MissingFromCommandTest, ADeliveryWithEverythingPrintsNothing)
{
    writeScene("m.screenplay.txt", "m", sceneM);
    deliver(1, 8, {});
    const CommandRun run =
        print({"--dest", dest(), "--no-log", "--missing-from", m_delivery.path()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0 scene(s) printed, 0 page(s) in " + dest() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dest() + "m"));
}

TEST_F(MissingFromCommandTest, BadDeliveriesAndPatternsAreRefused)
{
    writeScene("m.screenplay.txt", "m", sceneM);
    struct Case {
        std::vector<std::string> words;
        int status;
        std::string message;
    };
    const std::string none = m_delivery.path() + "none";
    const Case cases[] = {
        {{"--pattern", "(\\d+)"}, 2, "quillon-batch: --pattern: goes with --missing-from only"},
        {{"--missing-from", none}, 1, "quillon-batch: --missing-from: no such folder: " + none},
        {{"--missing-from", m_delivery.path(), "--pattern", "("}, 2, "quillon-batch: --pattern: "},
        {{"--missing-from", m_delivery.path(), "--pattern", "\\d+"},
         2,
         "quillon-batch: --pattern: "},
    };
    for (const Case& c : cases) {
        for (BatchCommand command : {PrintCommand::run, EstimateCommand::run}) {
            std::vector<std::string> words = c.words;
            words.insert(words.begin(), m_scenario.path());
            const CommandRun run = runCommand(command, words);
            EXPECT_EQ(run.status, c.status) << c.words.back() << "\n" << run.err;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        }
    }
}
