#include "BatchTestSupport.h"

#include <array>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ProcessRun {
    int status; // exit status, or -1 when the process did not exit normally
    std::string out, err;
};

const char* tool()
{
    return std::getenv("QUILLON_BATCH");
}

// Runs the built tool with stdout and stderr into files of the folder; when
// `interruptOnceExists` is given, sends SIGINT as soon as that file appears.
ProcessRun runTool(const std::vector<std::string>& words, const std::string& scratch,
                   const std::string& interruptOnceExists = {})
{
    const std::string outPath = scratch + "stdout", errPath = scratch + "stderr";
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(tool())};
        for (const std::string& word : words)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        execv(tool(), argv.data());
        _exit(127);
    }
    if (!interruptOnceExists.empty()) {
        // Bounded, so that a tool that never gets there fails the test
        // instead of hanging it.
        for (int i = 0; i < 60000 && !std::filesystem::exists(interruptOnceExists); ++i)
            usleep(1000);
        kill(child, SIGINT);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileBytes(outPath), fileBytes(errPath)};
}

class BatchProcessTest : public BatchFolderTest {
protected:
    void SetUp() override { ASSERT_NE(tool(), nullptr) << "QUILLON_BATCH names the built tool"; }
    ScenarioTestFolder m_scratch;
};

} // namespace

TEST_F(BatchProcessTest, FolderCommandsRunAsAProcess)
{
    ProcessRun run = runTool({"list", folder()}, m_scratch.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "x\ta.screenplay.txt\t悠人,さくら\n"
                       "x\tb.screenplay.txt\t悠人,店主\n"
                       "-\tc.screenplay.txt\t\n"
                       "総数\t3\n"
                       "発言者なし\t1\n");

    run = runTool({"estimate", folder(), "--all"}, m_scratch.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a.screenplay.txt\ta\t2\nb.screenplay.txt\tb\t4\nc.screenplay.txt\tc\t0\n"
                       "現在の設定で印刷すると、\n6ページの台本が出力されます。\n");

    run = runTool({"words", folder(), "--only", "a.screenplay.txt"}, m_scratch.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "悠人, 7\nさくら, 1\n店主, 3\n");

    run = runTool({"checklist", folder(), "--format", "txt"}, m_scratch.path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lists(folder()), std::vector<std::string>{"@sceneCheckList.00000000.txt"});
    const std::string list = fileBytes(folder() + "@sceneCheckList.00000000.txt");
    EXPECT_EQ(list.find('\r'), std::string::npos);
    EXPECT_NE(list.find(sj("□ a\t悠人\t1\t2\n□  \tさくら\t1\t1\n")), std::string::npos) << list;
}

TEST_F(BatchProcessTest, ExitStatusesOfFailuresAndBadArguments)
{
    EXPECT_EQ(runTool({"list", m_scratch.path()}, m_scratch.path()).status, 1);
    EXPECT_EQ(runTool({"estimate", folder() + "missing"}, m_scratch.path()).status, 1);
    EXPECT_EQ(runTool({"checklist", folder(), "--out", folder() + "new"}, m_scratch.path()).status,
              1);
    const ProcessRun bad = runTool({"words"}, m_scratch.path());
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("usage: quillon-batch words FOLDER"), std::string::npos) << bad.err;
    EXPECT_EQ(runTool({"estimate", folder(), "--pages"}, m_scratch.path()).status, 2);
    const ProcessRun none = runTool({}, m_scratch.path());
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("checklist FOLDER"), std::string::npos) << none.err;
}

TEST_F(BatchProcessTest, CtrlCDuringAnEstimateEndsWith130AndNoMessage)
{
    // Big enough that the estimate is still running when the signal comes:
    // it is sent as soon as the load has written the settings file back.
    ScenarioTestFolder big;
    std::string body;
    for (int i = 0; i < 60; ++i)
        body += "00000" + std::to_string(i % 10) +
                " 悠人「潮風が吹く港で、二人はずっと灯台を見上げていた。」\n";
    const std::string text = sj(".scene\tbig\n.chara\t2\n.悠人\t60\n.店主\t0\n.total\t60\n" + body);
    for (int i = 0; i < 3000; ++i)
        big.writeBytes("s" + std::to_string(10000 + i) + ".screenplay.txt", text);
    const ProcessRun run =
        runTool({"estimate", big.path()}, m_scratch.path(), big.path() + "quillon.settings.rnf");
    EXPECT_EQ(run.status, 130) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(BatchProcessTest, HelpGoesToStdoutAndEveryMessageToStderrNamesTheTool)
{
    ProcessRun run = runTool({"--help"}, m_scratch.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("exit status:"), std::string::npos) << run.out;
    run = runTool({"print", "-h"}, m_scratch.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("--device png|bmp|pdf|printer"), std::string::npos) << run.out;

    // The file layer's box and the command's own line both.
    run = runTool({"layout", folder() + "missing.screenplay.txt"}, m_scratch.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("quillon-batch: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("\nquillon-batch: cannot read " + folder() + "missing.screenplay.txt\n"),
              std::string::npos)
        << run.err;

    // A question answered on the user's behalf.
    run = runTool({"checklist", folder(), "--out", folder() + "new"}, m_scratch.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("quillon-batch: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(" -> いいえ"), std::string::npos) << run.err;

    run = runTool({"layout", "x", "--chars-per-line", "0"}, m_scratch.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(
        run.err.rfind("quillon-batch: --chars-per-line: a whole number from 1 up, not 0\n", 0), 0u)
        << run.err;
}
