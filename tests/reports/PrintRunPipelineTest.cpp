#include "ReportsTestFixture.h"
#include "platform/PngWriter.h"
#include "platform/TextCodec.h"
#include "render/PageObserver.h"
#include "reports/PrintRun.h"

#include <filesystem>
#include <set>

namespace {

// Notes, for every page, the pipeline its PNG file was queued into and its
// file name (UTF-8).
class PipelineWatch : public PageObserver {
public:
    DeviceContext* pageOpened(const Page& page, DeviceContext* dc) override
    {
        m_pipelines.insert(PngWriter::Pipeline::current());
        m_paths.push_back(TextCodec::toUtf8(page.path));
        return previous() ? previous()->pageOpened(page, dc) : dc;
    }
    const std::set<PngWriter::Pipeline*>& pipelines() const { return m_pipelines; }
    const std::vector<std::string>& paths() const { return m_paths; }

private:
    std::set<PngWriter::Pipeline*> m_pipelines;
    std::vector<std::string> m_paths;
};

// Counts, at every step of the run's progress (a scene has been logged),
// the pages emitted so far whose files are not yet on disk.
class StepCheck : public ScriptedProgressView {
public:
    explicit StepCheck(const PipelineWatch& watch) : m_watch(watch) {}
    void positionChanged(UxProgressDialog& dialog) override
    {
        ScriptedProgressView::positionChanged(dialog);
        for (const std::string& path : m_watch.paths())
            m_missing += !std::filesystem::is_regular_file(path);
        // Between scenes the run's pipeline stays open.
        m_between.insert(PngWriter::Pipeline::current());
        ++m_steps;
    }
    int missing() const { return m_missing; }
    int steps() const { return m_steps; }
    const std::set<PngWriter::Pipeline*>& between() const { return m_between; }

private:
    std::set<PngWriter::Pipeline*> m_between;
    const PipelineWatch& m_watch;
    int m_missing = 0;
    int m_steps = 0;
};

class PrintRunPipelineTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("a.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
        scene("b.screenplay.txt", "b", {{"悠人", 30}, {"店主", 31}}, 61);
        scene("c.screenplay.txt", "c", {{"店主", 20}}, 20);
        load();
        m_app.setDestinationFolder(m_folder.path() + "pages/");
        m_app.setPrintLog(false);
        m_app.setOutputDevice(OutputDevice::Png);
    }
};

} // namespace

TEST_F(PrintRunPipelineTest, OnePipelineServesTheRunAndEachSceneIsOnDiskWhenLogged)
{
    PipelineWatch watch;
    StepCheck view(watch);
    UxProgressDialog::Scope scope(view);
    PrintRun run(m_app);
    UxProgressDialog progress;
    const PrintRun::Outcome outcome = run.printAll(catalogue(), progress);
    EXPECT_EQ(outcome.printed, 3);
    EXPECT_EQ(outcome.pagesLost, 0);
    ASSERT_FALSE(watch.paths().empty());
    ASSERT_EQ(watch.pipelines().size(), 1u);
    EXPECT_NE(*watch.pipelines().begin(), nullptr);
    EXPECT_EQ(view.between(), watch.pipelines());
    // The run's pipeline is gone with the run.
    EXPECT_EQ(PngWriter::Pipeline::current(), nullptr);
    EXPECT_GE(view.steps(), 3);
    EXPECT_EQ(view.missing(), 0);
    for (const std::string& path : watch.paths())
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

TEST_F(PrintRunPipelineTest, ASceneAloneGetsAPipelineOfItsOwn)
{
    PipelineWatch watch;
    PrintRun run(m_app);
    ASSERT_TRUE(catalogue().contains(0));
    const ScriptInfo* record = &catalogue().record(0);
    const PrintRun::SceneResult scene = run.printScene(FCString("a.screenplay.txt"), *record);
    EXPECT_TRUE(scene.completed);
    EXPECT_EQ(scene.lost, 0);
    ASSERT_EQ(watch.pipelines().size(), 1u);
    EXPECT_NE(*watch.pipelines().begin(), nullptr);
    EXPECT_EQ(PngWriter::Pipeline::current(), nullptr);
    for (const std::string& path : watch.paths())
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}
