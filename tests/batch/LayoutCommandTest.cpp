#include "batch/LayoutCommand.h"

#include "BatchTestSupport.h"
#include "TestText.h"
#include "platform/ScriptedPrompt.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/quillon-batch-XXXXXX";
        m_path = mkdtemp(pattern);
    }
    ~TempFolder() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    std::string file(const std::string& name, const std::string& bytes) const
    {
        std::string path = m_path + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

struct LayoutRun {
    int status;
    std::string out, err;
};

LayoutRun runLayout(const std::vector<std::string>& words)
{
    std::ostringstream out, err;
    ScriptedPrompt prompt;
    HeadlessProgressView silent(stderr, false);
    BatchTestEnvironment test(silent, prompt);
    int status = LayoutCommand::run(test.environment(), words, out, err);
    std::string asked;
    for (const auto& q : prompt.questions())
        asked += utf8(q.title) + ": " + utf8(q.text) + "\n";
    return {status, out.str(), err.str() + asked};
}

const std::string scene = ".scene\ts01\n.start\t1\n.end\t2\n.chara\t1\n.悠人\t2\n.total\t2\n"
                          "000001 悠人「一\\n二」\n @メモ\n";

} // namespace

TEST(LayoutCommandTest, PrintsFlagsTextAndPageCount)
{
    TempFolder folder;
    std::string path = folder.file("s01.screenplay.txt", sj(scene));
    LayoutRun run = runLayout({path, "--lines-per-page", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "00000000\t000001 悠人「一\n"
                       "00000000\t            二」\n"
                       "000001ff\t            @メモ\n"
                       "pages\t2\n");
}

TEST(LayoutCommandTest, OptionsChangeTheLayout)
{
    TempFolder folder;
    std::string path = folder.file("s.screenplay.txt", sj(scene));
    LayoutRun run = runLayout({path, "--options", "1", "--chars-per-line", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("000000ff\t            @\n000000ff\t            メ\n"),
              std::string::npos)
        << run.out;
}

TEST(LayoutCommandTest, TypesettingOptionsChangeTheLinesForThisRun)
{
    TempFolder folder;
    const std::string path =
        folder.file("k.screenplay.txt", sj(".scene\tk\n.chara\t1\n.悠人\t1\n.total\t1\n"
                                           " あいうえお。｜漢字《かんじ》です12\n"));
    const struct {
        std::vector<std::string> options;
        std::string lines;
    } cases[] = {
        {{"--chars-per-line", "5"}, "あいうえお|。｜漢字《|かんじ》で|す12"},
        {{"--chars-per-line", "5", "--kinsoku", "off"}, "あいうえお|。｜漢字《|かんじ》で|す12"},
        {{"--chars-per-line", "5", "--kinsoku", "strict"}, "あいうえお。|｜漢字《か|んじ》です|12"},
        {{"--chars-per-line", "5", "--kinsoku", "loose", "--ruby"}, "あいうえお。|漢字です1|2"},
        // The two digits share a cell.
        {{"--chars-per-line", "17"}, "あいうえお。｜漢字《かんじ》です1|2"},
        {{"--chars-per-line", "17", "--upright-digits"}, "あいうえお。｜漢字《かんじ》です12"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{path};
        words.insert(words.end(), c.options.begin(), c.options.end());
        const LayoutRun run = runLayout(words);
        EXPECT_EQ(run.status, 0) << run.err;
        std::string lines;
        std::istringstream out(run.out);
        for (std::string line; std::getline(out, line) && line.rfind("pages", 0) != 0;)
            lines += (lines.empty() ? "" : "|") + line.substr(line.find_first_not_of(' ', 9));
        EXPECT_EQ(lines, c.lines) << words.back();
    }
    const LayoutRun refused = runLayout({path, "--kinsoku", "tight"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--kinsoku: off, strict or loose, not tight"), std::string::npos)
        << refused.err;
}

TEST(LayoutCommandTest, MissingFileReportsTheFileLayerMessage)
{
    TempFolder folder;
    std::string missing = folder.path() + "/none.screenplay.txt";
    LayoutRun run = runLayout({missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(missing + "が\n見付かりません"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("quillon-batch: cannot read " + missing + "\n"), std::string::npos)
        << run.err;
}

TEST(LayoutCommandTest, AFolderOrAFifoIsRefusedWithoutOpeningIt)
{
    TempFolder folder;
    const std::string sub = folder.path() + "/scene.screenplay.txt";
    const std::string fifo = folder.path() + "/pipe.screenplay.txt";
    ASSERT_EQ(::mkdir(sub.c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {{sub, " is a folder\n"}, {fifo, " is not a regular file\n"}};
    for (const auto& c : cases) {
        LayoutRun run = runLayout({c.path});
        EXPECT_EQ(run.status, 1) << c.path;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "quillon-batch: not a screenplay file: " + c.path + c.reason);
    }
}

TEST(LayoutCommandTest, BadArgumentsPrintUsage)
{
    for (const std::vector<std::string>& words : {std::vector<std::string>{},
                                                  {"a", "b"},
                                                  {"a", "--chars-per-line", "0"},
                                                  {"a", "--lines-per-page", "x"},
                                                  {"a", "--colour"},
                                                  {"a", "--options"}}) {
        LayoutRun run = runLayout(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage: quillon-batch layout FILE"), std::string::npos);
    }
}

TEST(LayoutCommandTest, ToolRunsAsAProcess)
{
    const char* tool = std::getenv("QUILLON_BATCH");
    ASSERT_NE(tool, nullptr) << "QUILLON_BATCH names the built tool";
    TempFolder folder;
    std::string path = folder.file("s.screenplay.txt", sj(scene));
    std::string command = std::string(tool) + " layout '" + path + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    int status = pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_NE(output.find("pages\t1\n"), std::string::npos) << output;

    command = std::string(tool) + " layout '" + folder.path() + "/missing' >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1);
    command = std::string(tool) + " frobnicate >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 2);
}
