#include "ReportsTestFixture.h"
#include "platform/TextCodec.h"
#include "render/PageImageSink.h"
#include "reports/PrintRun.h"

#include <filesystem>
#include <set>

namespace {

// Notes, for every page a run prints, the sink it went to (a PNG sink
// encodes its pages with a pipeline of its own) and its file name (UTF-8).
class PipelineWatch {
public:
    explicit PipelineWatch(PrintRun& run)
    {
        run.setPageWatch([this](const PageSink::Page& page, const PageSink& sink) {
            const auto* images = dynamic_cast<const PageImageSink*>(&sink);
            m_pipelines.insert(images && images->format() == PageImageSink::Format::Png ? images
                                                                                        : nullptr);
            m_paths.push_back(TextCodec::toUtf8(sink.pageFile(page).view()));
        });
    }
    const std::set<const PageImageSink*>& pipelines() const { return m_pipelines; }
    const std::vector<std::string>& paths() const { return m_paths; }

private:
    std::set<const PageImageSink*> m_pipelines;
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
        ++m_steps;
    }
    int missing() const { return m_missing; }
    int steps() const { return m_steps; }

private:
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
    PrintRun run(m_app);
    PipelineWatch watch(run);
    StepCheck view(watch);
    UxProgressDialog progress(view);
    const PrintRun::Outcome outcome = run.printAll(catalogue(), progress);
    EXPECT_EQ(outcome.printed, 3);
    EXPECT_EQ(outcome.pagesLost, 0);
    ASSERT_FALSE(watch.paths().empty());
    // One PNG sink, and so one pipeline, for every page of every scene.
    ASSERT_EQ(watch.pipelines().size(), 1u);
    EXPECT_NE(*watch.pipelines().begin(), nullptr);
    EXPECT_GE(view.steps(), 3);
    EXPECT_EQ(view.missing(), 0);
    for (const std::string& path : watch.paths())
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

TEST_F(PrintRunPipelineTest, ASceneAloneGetsAPipelineOfItsOwn)
{
    PrintRun run(m_app);
    PipelineWatch watch(run);
    ASSERT_TRUE(catalogue().contains(0));
    const ScriptInfo* record = &catalogue().record(0);
    const PrintRun::SceneResult scene = run.printScene(FCString("a.screenplay.txt"), *record);
    EXPECT_TRUE(scene.completed);
    EXPECT_EQ(scene.lost, 0);
    ASSERT_EQ(watch.pipelines().size(), 1u);
    EXPECT_NE(*watch.pipelines().begin(), nullptr);
    for (const std::string& path : watch.paths())
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}
