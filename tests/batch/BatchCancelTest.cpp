#include "BatchTestSupport.h"
#include "batch/BatchInterrupt.h"
#include "batch/CheckListCommand.h"
#include "batch/EstimateCommand.h"
#include "batch/ListCommand.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"
#include "ui/ProgressView.h"

#include <csignal>

namespace {

// Sends this process SIGINT when the dialog of a title has been stepped n
// times, or when it closes: a Ctrl-C typed at that moment.
class InterruptingView : public ProgressView {
public:
    InterruptingView(std::string title, int steps) : m_title(std::move(title)), m_steps(steps) {}
    void opened(UxProgressDialog&) override { m_count = 0; }
    void textChanged(UxProgressDialog&) override {}
    void positionChanged(UxProgressDialog& dialog) override
    {
        if (dialog.title() == m_title && ++m_count == m_steps)
            std::raise(SIGINT);
    }
    void pump(UxProgressDialog&) override {}
    void closed(UxProgressDialog& dialog) override
    {
        if (dialog.title() == m_title && m_steps == 0)
            std::raise(SIGINT);
    }

private:
    std::string m_title;
    int m_steps;
    int m_count = 0;
};

class BatchCancelTest : public BatchFolderTest {
protected:
    BatchCancelTest() { BatchInterrupt::install(); }
    ~BatchCancelTest() override { BatchInterrupt::uninstall(); }

    CommandRun runWith(ProgressView& view, BatchCommand command,
                       const std::vector<std::string>& words)
    {
        BatchTestEnvironment test(view);
        std::ostringstream out, err;
        const int status = command(test.environment(), words, out, err);
        return {status, out.str(), err.str()};
    }
};

} // namespace

TEST_F(BatchCancelTest, TheHandlerOnlyLeavesACancelRequest)
{
    std::raise(SIGINT);
    EXPECT_TRUE(UxProgressDialog::cancelRequested());
}

TEST_F(BatchCancelTest, CtrlCDuringTheEstimateShowsNoMessage)
{
    InterruptingView view(sj("印刷に必要なページ数の確認"), 1);
    const CommandRun run = runWith(view, EstimateCommand::run, {folder()});
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(UxProgressDialog::cancelRequested());
}

TEST_F(BatchCancelTest, AnInterruptedEstimateSaysHowFarItGot)
{
    const struct {
        std::vector<std::string> words;
        int steps;
        const char* told;
    } cases[] = {
        // a and b are ticked, c (nobody speaks) is cleared.
        {{folder()}, 1, "quillon-batch: interrupted after 1 of 2 scenes\n"},
        {{folder(), "--all"}, 2, "quillon-batch: interrupted after 2 of 3 scenes\n"},
        // The Ctrl-C comes while c is looked at, a row not counted.
        {{folder(), "--generic"}, 3, "quillon-batch: interrupted after 2 of 2 scenes\n"},
    };
    for (const auto& c : cases) {
        InterruptingView view(sj("印刷に必要なページ数の確認"), c.steps);
        const CommandRun run = runWith(view, EstimateCommand::run, c.words);
        EXPECT_EQ(run.status, 130) << c.told;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.told);
        // Each case is a first Ctrl-C of its own.
        UxProgressDialog::clearCancelRequest();
        BatchInterrupt::uninstall();
        BatchInterrupt::install();
    }
}

TEST_F(BatchCancelTest, CtrlCDuringTheLoadEndsWithTheLoadsNotice)
{
    InterruptingView view(sj("台本の取得"), 1);
    const CommandRun run = runWith(view, ListCommand::run, {folder()});
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.out, "シナリオの読み込みがキャンセルされました。\n"
                       "このまま処理を継続することはできません。"
                       "必ず正常に読み込ませてから実行してください。\n");
}

TEST_F(BatchCancelTest, CtrlCDuringTheSceneListWritesNoFile)
{
    InterruptingView view(sj("シーン別台本チェックリスト(CSV)の作成"), 2);
    const CommandRun run = runWith(view, CheckListCommand::run, {folder()});
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(lists(folder()).empty());
}

TEST_F(BatchCancelTest, CtrlCDuringTheCheckListsEstimateStillWritesTheList)
{
    InterruptingView view(sj("印刷に必要なページ数の確認"), 1);
    const CommandRun run = runWith(view, CheckListCommand::run, {folder(), "--unprinted"});
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(lists(folder()), std::vector<std::string>{"@sceneCheckList.00000000.csv"});
    EXPECT_NE(fileBytes(folder() + "@sceneCheckList.00000000.csv").find(sj("□,b,悠人,-1,5\n")),
              std::string::npos);
}

TEST_F(BatchCancelTest, ACtrlCNobodyTookStillEndsAsCancelled)
{
    // Typed just as the estimate's dialog closed: the message was shown.
    InterruptingView view(sj("印刷に必要なページ数の確認"), 0);
    const CommandRun run = runWith(view, EstimateCommand::run, {folder()});
    EXPECT_EQ(run.status, 130);
    EXPECT_NE(run.out.find("ページの台本が出力されます。"), std::string::npos);
}

TEST_F(BatchCancelTest, AFileErrorDuringTheLoadIsAFailureNotACancel)
{
    FileFaults::Scope faults;
    // Every open fails: a file that fails only once is read again, without
    // a word, when a worker thread met the failure.
    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied, 0, -1);
    const CommandRun run = runCommand(ListCommand::run, {folder()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("アクセスが拒否されました"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("could not be read"), std::string::npos) << run.err;
}
