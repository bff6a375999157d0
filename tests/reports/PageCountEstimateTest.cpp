#include "reports/PageCountEstimate.h"

#include "ReportsTestFixture.h"
#include "format/PrintFormat.h"

namespace {

// Three scenes of one-line utterances: 31 lines (PRESET-14p: 1 page of 47,
// PRESET-18p: 2 pages of 30), 61 lines (2 and 3 pages) and a scene without
// any speaking character (no pages).
class PageCountEstimateTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("a.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
        scene("b.screenplay.txt", "b", {{"悠人", 30}, {"店主", 20}, {"灯台守", 11}}, 61);
        scene("c.screenplay.txt", "c", {}, 0);
        load();
        m_a = rowOf("a.screenplay.txt");
        m_b = rowOf("b.screenplay.txt");
        m_c = rowOf("c.screenplay.txt");
    }

    int m_a = 0, m_b = 0, m_c = 0;
    // Shown through the fixture's scripted view.
    UxProgressDialog m_dialog{m_progress};
};

} // namespace

TEST_F(PageCountEstimateTest, CountsOneScriptPerPrintedCharacterOfEachTickedScene)
{
    struct Case {
        int mode;
        int64_t total;
        int32_t pagesA, pagesB;
    };
    // a: 2 characters, b: 3 characters.
    for (const Case& c : {Case{PrintFormat::ModePreset14, 2 * 1 + 3 * 2, 1, 2},
                          Case{PrintFormat::ModePreset16, 2 * 1 + 3 * 2, 1, 2},
                          Case{PrintFormat::ModePreset18, 2 * 2 + 3 * 3, 2, 3}}) {
        m_app.printFormat().setMode(c.mode);
        PageCountEstimate estimate(m_app);
        EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), c.total) << "mode " << c.mode;
        EXPECT_EQ(record(m_a).cachedPageCount(c.mode), c.pagesA);
        EXPECT_EQ(record(m_b).cachedPageCount(c.mode), c.pagesB);
    }
}

TEST_F(PageCountEstimateTest, TwoEstimatesInAPresetLayEachSceneOutOnce)
{
    m_app.printFormat().setMode(PrintFormat::ModePreset18);
    PageCountEstimate estimate(m_app);
    const int64_t first = estimate.run(catalogue(), false, m_dialog);
    // The no-speaker row is cleared after loading: two scenes laid out.
    EXPECT_EQ(estimate.layouts(), 2);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), first);
    EXPECT_EQ(estimate.layouts(), 2);
    EXPECT_EQ(record(m_c).cachedPageCount(PrintFormat::ModePreset18), ScriptInfo::UnknownPages);
}

TEST_F(PageCountEstimateTest, CustomModeIsLaidOutAfreshAndStoredInEntryZero)
{
    PrintFormat& format = m_app.printFormat();
    format.setMode(PrintFormat::ModeCustom);
    format.setCustomLinesPerPage(10);
    PageCountEstimate estimate(m_app);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 2 * 4 + 3 * 7);
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModeCustom), 4);

    format.setCustomLinesPerPage(31);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 2 * 1 + 3 * 2);
    EXPECT_EQ(estimate.layouts(), 4);
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModeCustom), 1);
    // The presets' entries are not touched by a custom estimate.
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModePreset14), ScriptInfo::UnknownPages);
}

TEST_F(PageCountEstimateTest, ClearedRowsCountOnlyWithTheAllRowsSwitch)
{
    catalogue().setTicked(m_b, false);
    PageCountEstimate estimate(m_app);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 2 * 1);
    EXPECT_EQ(record(m_b).cachedPageCount(PrintFormat::ModePreset14), ScriptInfo::UnknownPages);
    EXPECT_EQ(estimate.layouts(), 1);

    EXPECT_EQ(estimate.run(catalogue(), true, m_dialog), 2 * 1 + 3 * 2);
    EXPECT_EQ(record(m_b).cachedPageCount(PrintFormat::ModePreset14), 2);
    EXPECT_EQ(record(m_c).cachedPageCount(PrintFormat::ModePreset14), 0);
}

TEST_F(PageCountEstimateTest, SuppressedAndUntargetedCharactersAreNotCounted)
{
    suppress({"悠人", "さくら"});
    ASSERT_TRUE(record(m_b).findCharacter(sj("店主")));
    record(m_b).clearPrintTargets();
    ASSERT_TRUE(record(m_b).addPrintTarget(sj("店主")));
    PageCountEstimate estimate(m_app);
    // a: every character suppressed, 0 pages, but its count is known now.
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 1 * 2);
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModePreset14), 1);
}

TEST_F(PageCountEstimateTest, SceneEstimateUsesAPageCountGivenAndReturnsPrintedCharacters)
{
    suppress({"店主"});
    PageCountEstimate estimate(m_app);
    int32_t pages = 5;
    EXPECT_EQ(estimate.estimateScene(FCString("b.screenplay.txt"), record(m_b), pages), 2);
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(estimate.layouts(), 0);
    pages = -1;
    EXPECT_EQ(estimate.estimateScene(FCString("b.screenplay.txt"), record(m_b), pages), 2);
    EXPECT_EQ(pages, 2);
}

TEST_F(PageCountEstimateTest, ShowsItsProgressPerRow)
{
    const int opensBefore = m_progress.opens();
    PageCountEstimate estimate(m_app);
    estimate.run(catalogue(), false, m_dialog);
    EXPECT_EQ(m_progress.opens(), opensBefore + 1);
    EXPECT_EQ(m_progress.titles().back(), sj("印刷に必要なページ数の確認"));
    EXPECT_EQ(m_progress.maximum(), 3);
    const auto& texts = m_progress.texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[texts.size() - 4], sj("ページ数を確認しています。"));
    EXPECT_EQ(texts.back(), sj("c.screenplay.txtを確認しています..."));
    EXPECT_EQ(m_progress.closes(), m_progress.opens());
}

TEST_F(PageCountEstimateTest, CancelReturnsMinusOneAndKeepsWhatWasStored)
{
    m_progress.cancelAfterSteps(1);
    PageCountEstimate estimate(m_app);
    EXPECT_EQ(estimate.run(catalogue(), true, m_dialog), PageCountEstimate::Cancelled);
    const int first = std::min(m_a, m_b);
    const int second = std::max(m_a, m_b);
    EXPECT_NE(record(first).cachedPageCount(PrintFormat::ModePreset14), ScriptInfo::UnknownPages);
    EXPECT_EQ(record(second).cachedPageCount(PrintFormat::ModePreset14), ScriptInfo::UnknownPages);
    EXPECT_EQ(estimate.layouts(), 1);
}

TEST_F(PageCountEstimateTest, AModeOutsideTheTableCountsAsPreset14)
{
    m_app.printFormat().setMode(7);
    PageCountEstimate estimate(m_app);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 2 * 1 + 3 * 2);
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModePreset14), 1);
    estimate.run(catalogue(), false, m_dialog);
    EXPECT_EQ(estimate.layouts(), 2);
}

TEST_F(PageCountEstimateTest, AnUnreadableSceneCountsNothingAndIsTriedAgain)
{
    m_folder.remove("a.screenplay.txt");
    PageCountEstimate estimate(m_app);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 3 * 2);
    EXPECT_EQ(estimate.unreadable(), 1);
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModePreset14), ScriptInfo::UnknownPages);
    ASSERT_FALSE(m_prompt.questions().empty());
    EXPECT_NE(m_prompt.questions().back().text.find("a.screenplay.txt"), std::string::npos);

    scene("a.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 2 * 1 + 3 * 2);
    EXPECT_EQ(estimate.unreadable(), 1);
}

TEST_F(PageCountEstimateTest, DirectorsCopiesAddOneScriptPerSceneWhenAskedFor)
{
    struct Case {
        int mode;
        bool directors;
        bool allRows;
        int64_t total;
    };
    // a: 2 characters, b: 3, c: none (cleared after loading) and no lines.
    for (const Case& c : {Case{PrintFormat::ModePreset14, false, false, 2 * 1 + 3 * 2},
                          Case{PrintFormat::ModePreset14, true, false, 3 * 1 + 4 * 2},
                          Case{PrintFormat::ModePreset18, true, false, 3 * 2 + 4 * 3},
                          Case{PrintFormat::ModePreset18, true, true, 3 * 2 + 4 * 3 + 1 * 0}}) {
        m_app.printFormat().setMode(c.mode);
        PageCountEstimate estimate(m_app);
        EXPECT_FALSE(estimate.countsDirectorsCopies());
        estimate.setCountDirectorsCopies(c.directors);
        EXPECT_EQ(estimate.run(catalogue(), c.allRows, m_dialog), c.total) << c.mode << c.directors;
    }
}

TEST_F(PageCountEstimateTest, DirectorsCopiesCountEvenWhenEveryCharacterIsSuppressed)
{
    suppress({"悠人", "さくら"});
    PageCountEstimate estimate(m_app);
    estimate.setCountDirectorsCopies(true);
    // a: its director's copy alone; b: 店主, 灯台守 and the director's copy.
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 1 * 1 + 3 * 2);
}

TEST_F(PageCountEstimateTest, KeepsEachCountedSceneInDisplayOrder)
{
    m_app.printFormat().setMode(PrintFormat::ModePreset18);
    PageCountEstimate estimate(m_app);
    estimate.setCountDirectorsCopies(true);
    const int64_t total = estimate.run(catalogue(), true, m_dialog);
    EXPECT_EQ(estimate.chosenScenes(), 3);
    const auto& scenes = estimate.scenes();
    ASSERT_EQ(scenes.size(), 3u);
    int64_t sum = 0;
    // With the all-rows switch every row is a scene, in the list's order.
    for (int row = 0; row < 3; ++row) {
        const PageCountEstimate::Scene& scene = scenes[size_t(row)];
        EXPECT_EQ(scene.fileName.toStdString(), catalogue().fileName(row).toStdString());
        EXPECT_EQ(scene.sceneName.view(), record(row).sceneName().view());
        EXPECT_EQ(scene.pagesPerScript, record(row).cachedPageCount(PrintFormat::ModePreset18));
        EXPECT_FALSE(scene.unreadable);
        sum += scene.pages();
    }
    EXPECT_EQ(sum, total);
    EXPECT_EQ(scenes[size_t(m_a)].sceneName.toStdString(), "a");
    EXPECT_EQ(scenes[size_t(m_a)].scripts, 3);
    EXPECT_EQ(scenes[size_t(m_b)].scripts, 4);
    EXPECT_EQ(scenes[size_t(m_b)].pages(), 4 * 3);

    // Without the all-rows switch the cleared row is neither chosen nor kept.
    estimate.run(catalogue(), false, m_dialog);
    EXPECT_EQ(estimate.chosenScenes(), 2);
    EXPECT_EQ(estimate.scenes().size(), 2u);
}

TEST_F(PageCountEstimateTest, ACancelKeepsTheScenesCountedBeforeIt)
{
    m_progress.cancelAfterSteps(1);
    PageCountEstimate estimate(m_app);
    EXPECT_EQ(estimate.run(catalogue(), true, m_dialog), PageCountEstimate::Cancelled);
    EXPECT_EQ(estimate.chosenScenes(), 3);
    ASSERT_EQ(estimate.scenes().size(), 1u);
    EXPECT_EQ(estimate.scenes()[0].fileName.toStdString(), catalogue().fileName(0).toStdString());
}

TEST_F(PageCountEstimateTest, AnUnreadableSceneIsMarkedAndGetsNoDirectorsCopy)
{
    m_folder.remove("a.screenplay.txt");
    PageCountEstimate estimate(m_app);
    estimate.setCountDirectorsCopies(true);
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), 4 * 2);
    for (const PageCountEstimate::Scene& scene : estimate.scenes()) {
        const bool a = scene.fileName.toStdString() == "a.screenplay.txt";
        EXPECT_EQ(scene.unreadable, a);
        EXPECT_EQ(scene.pages(), a ? 0 : 4 * 2);
    }
}

TEST(PageCountEstimateMessageTest, PutsTheTotalBetweenTheTwoParts)
{
    EXPECT_EQ(PageCountEstimate::message(12).toStdString(),
              sj("現在の設定で印刷すると、\n12ページの台本が出力されます。"));
    EXPECT_EQ(PageCountEstimate::message(0).toStdString(),
              sj("現在の設定で印刷すると、\n0ページの台本が出力されます。"));
}

TEST_F(ReportsTest, EveryRowCountsAsIfLaidOutAlone)
{
    // After a long scene: a file whose header never ends (no ".total": no
    // body, no pages) and a file that cannot be read; then a short one.
    scene("a.screenplay.txt", "a", {{"悠人", 1}}, 200);
    m_folder.write("b.screenplay.txt", ".scene\tb\n.悠人\t1\n000001 悠人「はい」\n");
    scene("c.screenplay.txt", "c", {{"悠人", 1}}, 200);
    scene("d.screenplay.txt", "d", {{"悠人", 1}}, 3);
    load();
    m_folder.remove("c.screenplay.txt");
    PageCountEstimate estimate(m_app);
    UxProgressDialog progress(m_progress);
    EXPECT_EQ(estimate.run(catalogue(), true, progress), 5 + 0 + 0 + 1);
    EXPECT_EQ(record(rowOf("b.screenplay.txt")).cachedPageCount(1), 0);
    for (const char* name : {"a.screenplay.txt", "b.screenplay.txt", "d.screenplay.txt"}) {
        PageCountEstimate alone(m_app);
        int32_t pages = -1;
        alone.estimateScene(FCString(name), record(rowOf(name)), pages);
        EXPECT_EQ(record(rowOf(name)).cachedPageCount(1), pages) << name;
    }
}

TEST_F(PageCountEstimateTest, TypesettingLaysOutAfreshAndLeavesThePresetsCountsAlone)
{
    PrintFormat& format = m_app.printFormat();
    format.setMode(PrintFormat::ModePreset18);
    PageCountEstimate estimate(m_app);
    const int64_t plain = estimate.run(catalogue(), false, m_dialog);
    EXPECT_EQ(estimate.layouts(), 2);
    record(m_a).setCachedPageCount(PrintFormat::ModePreset18, 99);

    format.setTypesetting({TypesettingOptions::LineBreaking::Strict, false, false});
    EXPECT_EQ(estimate.run(catalogue(), false, m_dialog), plain) << "not the cached 99";
    EXPECT_EQ(estimate.layouts(), 4);
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModePreset18), 99);
    EXPECT_EQ(record(m_a).cachedPageCount(PrintFormat::ModeCustom), 2);
    EXPECT_EQ(PageCountEstimate::cacheEntry(format), PrintFormat::ModeCustom);
}
