#include "ReportsTestFixture.h"
#include "render/LineSelection.h"
#include "render/PageSink.h"
#include "reports/PageCountEstimate.h"
#include "reports/PrintRun.h"
#include "ui/ScriptedProgressView.h"

#include <map>

namespace {

std::string line(const std::string& utf8Text)
{
    return sj(utf8Text) + "\n";
}

// a: 悠人 and さくら in turn (31 lines); b: 悠人 and 店主 (61 lines); c: 悠人
// alone (5 lines). Lines are chosen in a and b only; pages go as BMP files
// into "pages/", the log to "print.log", at 10 lines a page.
class PartialPrintRunTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("a.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
        scene("b.screenplay.txt", "b", {{"悠人", 31}, {"店主", 30}}, 61);
        scene("c.screenplay.txt", "c", {{"悠人", 5}}, 5);
        load();
        m_app.printFormat().setMode(PrintFormat::ModeCustom);
        m_app.printFormat().setCustomLinesPerPage(10);
        m_app.setDestinationFolder(m_folder.path() + "pages/");
        m_app.setLogPath(m_folder.path() + "print.log");
        m_app.setOutputDevice(OutputDevice::Bmp);
        m_app.setGenericScript(true);

        m_selection.setHeaderSuffix(sj("未収録"));
        // さくら speaks the odd lines of a: two runs, the second one merged
        // from three lines.
        for (int bodyLine : {1, 21, 23, 25})
            m_selection.select(sj("a.screenplay.txt"), sj("さくら"), bodyLine);
        m_selection.select(sj("a.screenplay.txt"), sj("悠人"), 30);
        // Every line of 店主 in b: with its context the whole scene.
        for (int bodyLine = 1; bodyLine < 61; bodyLine += 2)
            m_selection.select(sj("b.screenplay.txt"), sj("店主"), bodyLine);
    }

    // Pages per scene name, as the run printed them.
    std::map<std::string, int64_t> print()
    {
        std::map<std::string, int64_t> pages;
        PrintRun run(m_app);
        run.setLineSelection(&m_selection);
        run.setPageWatch([&](const PageSink::Page& page, const PageSink&) {
            ++pages[page.sceneName.toStdString()];
            m_scripts.push_back(utf8(page.script.toStdString()));
        });
        UxProgressDialog progress(m_view);
        m_outcome = run.printAll(catalogue(), progress);
        return pages;
    }
    std::map<std::string, int64_t> estimate()
    {
        PageCountEstimate estimate(m_app);
        estimate.setLineSelection(&m_selection);
        estimate.setCountDirectorsCopies(true);
        UxProgressDialog progress(m_view);
        m_total = estimate.run(catalogue(), false, progress);
        std::map<std::string, int64_t> pages;
        for (const PageCountEstimate::Scene& scene : estimate.scenes())
            pages[scene.sceneName.toStdString()] = scene.pages();
        return pages;
    }

    ScriptedProgressView m_view;
    LineSelection m_selection;
    PrintRun::Outcome m_outcome;
    int64_t m_total = 0;
    std::vector<std::string> m_scripts;
};

} // namespace

TEST_F(PartialPrintRunTest, TheEstimateAgreesWithThePrintRunSceneByScene)
{
    const std::map<std::string, int64_t> printed = print();
    // a: さくら 2 pages (0-2, gap, 20-26: 11 lines), 悠人 1 (29-30), the
    // director's copy 2 (0-2, gap, 20-26, gap, 29-30: 14 lines); b: 店主
    // and the director 7 each (61 lines); c nothing.
    const std::map<std::string, int64_t> expected = {{"a", 5}, {"b", 14}};
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(estimate(), expected);
    EXPECT_EQ(m_total, 19);
    EXPECT_EQ(m_outcome.pages, 19);
}

TEST_F(PartialPrintRunTest, OnlyScenesWithPagesAreLoggedAfterALineSayingWhatWasPrinted)
{
    print();
    EXPECT_EQ(m_outcome.printed, 2);
    EXPECT_EQ(
        bytesOf(m_folder.path() + "print.log"),
        line("; 印刷を開始します") + line("; 未収録の台詞のみを印刷します") +
            line("a.screenplay.txt; 印刷されました") + line("b.screenplay.txt; 印刷されました") +
            line("; 印刷されたファイル数：2 ファイル") + line("; 印刷処理は正常に終了しました。"));
    // No script of a character without chosen lines: 悠人 of b, c.
    const std::vector<std::string> scripts(m_scripts.begin(), m_scripts.end());
    EXPECT_EQ(std::count(scripts.begin(), scripts.end(), "悠人（未収録）"), 1);
    EXPECT_EQ(std::count(scripts.begin(), scripts.end(), "店主（未収録）"), 7);
    EXPECT_EQ(std::filesystem::exists(m_folder.path() + "pages/c"), false);
}

TEST_F(PartialPrintRunTest, AScenePrintingNothingForSuppressedCharactersIsNotLogged)
{
    suppress({"店主"});
    m_app.setGenericScript(false);
    const std::map<std::string, int64_t> printed = print();
    EXPECT_EQ(printed, (std::map<std::string, int64_t>{{"a", 3}}));
    EXPECT_EQ(m_outcome.printed, 1);
    EXPECT_EQ(bytesOf(m_folder.path() + "print.log"),
              line("; 印刷を開始します") + line("; 未収録の台詞のみを印刷します") +
                  line("a.screenplay.txt; 印刷されました") +
                  line("; 印刷されたファイル数：1 ファイル") +
                  line("; 印刷処理は正常に終了しました。"));
    PageCountEstimate estimate(m_app);
    estimate.setLineSelection(&m_selection);
    UxProgressDialog progress(m_view);
    EXPECT_EQ(estimate.run(catalogue(), false, progress), 3);
}
