#include "batch/EstimateCommand.h"

#include "BatchTestSupport.h"
#include "batch/BatchArguments.h"
#include "batch/FolderSession.h"
#include "batch/PrintCommand.h"

#include <map>
#include <tuple>

namespace {

const std::string total(int pages)
{
    return "現在の設定で印刷すると、\n" + std::to_string(pages) + "ページの台本が出力されます。\n";
}

// A scenario whose scenes break into pages in different ways: lengths
// around the page edges of the presets, forced breaks, comments, notes,
// lines that are not printed, and a scene without a speaking character.
class EstimateAgainstPrintTest : public testing::Test {
protected:
    EstimateAgainstPrintTest()
    {
        UxProgressDialog::clearCancelRequest();
        scene("s1", {"悠人", "さくら"}, 46);
        scene("s2", {"悠人", "店主", "灯台守"}, 95);
        scene("s3", {"さくら"}, 31);
        scene("s4", {"店主", "さくら"}, 140);
        m_folder.write("s5.screenplay.txt", batchScene("s5", {}, 3));
    }

    void scene(const std::string& name, const std::vector<std::string>& characters, int lines)
    {
        std::string text =
            ".scene\t" + name + "\n.chara\t" + std::to_string(characters.size()) + "\n";
        for (const std::string& character : characters)
            text += "." + character + "\t" + std::to_string(lines) + "\n";
        text += ".total\t" + std::to_string(lines) + "\n";
        for (int i = 0; i < lines; ++i) {
            if (i % 7 == 3)
                text += " *演出メモ：ここは間を取る\n";
            if (i % 11 == 5)
                text += "            【 暗転 】\n";
            if (i % 13 == 0)
                text += "@収録しない行\n";
            const std::string& speaker = characters[size_t(i) % characters.size()];
            text += "00000" + std::to_string(i % 10) + " " + speaker +
                    (i % 5 == 0 ? "「一行目\\n二行目」\n" : "「はい」\n");
        }
        m_folder.write(name + ".screenplay.txt", text);
    }

    // Scene name -> pages, from the estimate's lines; the total under "".
    std::map<std::string, int> estimate(std::vector<std::string> words)
    {
        words.insert(words.begin(), m_folder.path());
        words.push_back("--generic");
        const CommandRun run = runCommand(EstimateCommand::run, words);
        EXPECT_EQ(run.status, 0) << run.err;
        std::map<std::string, int> pages;
        std::istringstream lines(run.out);
        std::string line;
        while (std::getline(lines, line)) {
            const size_t first = line.find('\t'), second = line.rfind('\t');
            if (first != std::string::npos && second > first) {
                // A scene without pages writes no page file either.
                if (const int scene = std::stoi(line.substr(second + 1)); scene > 0)
                    pages[line.substr(first + 1, second - first - 1)] = scene;
            } else if (line.find("ページの台本が出力されます。") != std::string::npos)
                pages[""] = std::stoi(line);
        }
        return pages;
    }

    // Scene name (its page folder) -> page files written; the total under
    // "", and the director's copies' pages under "監督用" when asked for.
    std::map<std::string, int> print(std::vector<std::string> words, bool directors = false)
    {
        ScenarioTestFolder dest;
        words.insert(words.begin(), m_folder.path());
        for (const char* word : {"--generic", "--device", "bmp", "--no-log", "--dest"})
            words.push_back(word);
        words.push_back(dest.path());
        const CommandRun run = runCommand(PrintCommand::run, words);
        EXPECT_EQ(run.status, 0) << run.err;
        std::map<std::string, int> pages;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dest.path())) {
            if (entry.is_regular_file()) {
                ++pages[entry.path().parent_path().filename().string()];
                ++pages[""];
                if (directors &&
                    entry.path().filename().string().find("監督用") != std::string::npos)
                    ++pages["監督用"];
            }
        }
        return pages;
    }

    ScenarioTestFolder m_folder;
};

} // namespace

TEST_F(BatchFolderTest, EstimatePrintsEverySceneThenTheTotal)
{
    // PRESET-14p: a is 1 page, b 2 pages, c 1 page; c has nobody and is
    // cleared after loading.
    CommandRun run = runCommand(EstimateCommand::run, {folder()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a.screenplay.txt\ta\t2\nb.screenplay.txt\tb\t4\n" + total(6));
    run = runCommand(EstimateCommand::run, {folder(), "--all"});
    EXPECT_EQ(run.out, "a.screenplay.txt\ta\t2\nb.screenplay.txt\tb\t4\nc.screenplay.txt\tc\t0\n" +
                           total(6));
}

TEST_F(BatchFolderTest, EstimateWithGenericCountsADirectorsCopyPerScene)
{
    CommandRun run = runCommand(EstimateCommand::run, {folder(), "--generic"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a.screenplay.txt\ta\t3\nb.screenplay.txt\tb\t6\n" + total(9));
    // A scene without a speaking character still has its director's copy.
    run = runCommand(EstimateCommand::run, {folder(), "--generic", "--all", "--suppress", "悠人"});
    EXPECT_EQ(run.out, "a.screenplay.txt\ta\t2\nb.screenplay.txt\tb\t4\nc.screenplay.txt\tc\t1\n" +
                           total(7));
}

TEST_F(BatchFolderTest, AnUnreadableSceneShowsADashAndNoDirectorsCopy)
{
    std::ostringstream out, err;
    BatchTestEnvironment test;
    FolderSession session(test.environment(), out, err);
    ASSERT_EQ(session.open(folder(), BatchArguments()), 0) << err.str();
    // Loading read the header; the estimate finds the file gone.
    m_folder.remove("a.screenplay.txt");
    EXPECT_EQ(EstimateCommand::estimate(session, false, true), 1);
    EXPECT_EQ(out.str(), "a.screenplay.txt\ta\t-\nb.screenplay.txt\tb\t6\n" + total(6));
    EXPECT_NE(err.str().find("1 scene(s) could not be read"), std::string::npos) << err.str();
}

TEST_F(EstimateAgainstPrintTest, TheEstimateWithGenericMatchesThePagesPrintWrites)
{
    const struct {
        const char* settings;
        std::vector<std::string> words;
    } cases[] = {
        {"", {}},
        {"", {"--suppress", "悠人,灯台守"}},
        {"", {"--only", "s2.screenplay.txt,s5.screenplay.txt"}},
        {"mode=3\n", {}},
        {"mode=2\n", {"--suppress", "さくら"}},
        {"mode=0\ncustom.linesPerPage=20\ncustom.charsPerLine=6\n", {}},
    };
    for (const auto& c : cases) {
        m_folder.write("quillon.settings.rnf", c.settings);
        const std::map<std::string, int> estimated = estimate(c.words);
        const std::map<std::string, int> printed = print(c.words);
        ASSERT_TRUE(estimated.count("")) << c.settings;
        EXPECT_GT(estimated.at(""), 0) << c.settings;
        // Scene by scene, and in total.
        EXPECT_EQ(estimated, printed) << c.settings << (c.words.empty() ? "" : c.words[1]);
    }
}

TEST_F(EstimateAgainstPrintTest, WithoutGenericTheEstimateLeavesTheDirectorsCopiesOut)
{
    const CommandRun plain = runCommand(EstimateCommand::run, {m_folder.path()});
    const CommandRun generic = runCommand(EstimateCommand::run, {m_folder.path(), "--generic"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(generic.status, 0) << generic.err;
    // The difference is what print --generic writes as director's copies.
    const auto last = [](const std::string& out) { return out.substr(out.find("現在の設定で")); };
    const int directors = print({}, true)["監督用"];
    EXPECT_GT(directors, 4);
    const std::string plainTotal = last(plain.out);
    const int plainPages = std::stoi(plainTotal.substr(plainTotal.find('\n') + 1));
    EXPECT_EQ(last(generic.out), total(plainPages + directors));
}

TEST_F(EstimateAgainstPrintTest, EveryJobCountPrintsWhatOneJobPrints)
{
    const CommandRun serial =
        runCommand(EstimateCommand::run, {m_folder.path(), "--all", "--jobs", "1"});
    ASSERT_NE(serial.out.find("s5.screenplay.txt\ts5\t0\n"), std::string::npos) << serial.err;
    m_folder.write("quillon.settings.rnf", "print.jobs=3\n"); // taken without --jobs
    for (std::vector<std::string> jobs :
         {std::vector<std::string>{"--jobs", "2"}, {"--jobs", "0"}, {}}) {
        jobs.insert(jobs.begin(), {m_folder.path(), "--all"});
        const CommandRun run = runCommand(EstimateCommand::run, jobs);
        EXPECT_EQ(std::tie(run.status, run.out, run.err),
                  std::tie(serial.status, serial.out, serial.err));
    }
    for (const char* bad : {"-1", "two"})
        EXPECT_EQ(runCommand(EstimateCommand::run, {m_folder.path(), "--jobs", bad}).status, 2)
            << bad;
}
