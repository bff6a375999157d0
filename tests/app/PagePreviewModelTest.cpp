#include "app/PagePreviewModel.h"

#include "AppTestFolder.h"
#include "PreviewTestScenario.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "format/PrintFormat.h"
#include "render/FCVSurface.h"
#include "render/PageFileName.h"
#include "reports/PrintRun.h"
#include "ui/CatalogueListBinding.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// The preview scenes loaded into the application and its main list, with
// the default settings (PNG pages, comment emphasis, no director's copy).
class PagePreviewModelTest : public AppTestFolder {
protected:
    PagePreviewModelTest()
    {
        UxProgressDialog::clearCancelRequest();
        writePreviewScenes(m_scenario);
        load();
    }

    void load()
    {
        m_app.setScenarioFolder(m_scenario.path());
        UxProgressDialog progress(m_progress);
        EXPECT_EQ(m_app.loadScenarioFolder(progress, m_notices, m_window.loadDisplay()),
                  FolderLoad::Loaded);
    }
    UxListViewControl& list() { return m_window.list(); }
    int rowOf(const std::string& name)
    {
        for (int row = 0; row < list().rowCount(); ++row)
            if (list().cell(row, CatalogueListBinding::ColumnFileName)->text == name)
                return row;
        ADD_FAILURE() << "no row " << name;
        return -1;
    }
    ScriptInfo& record(const std::string& name)
    {
        return m_app.catalogue().record(m_window.rows().entryOfRow(rowOf(name)));
    }
    // The names of the model's scripts, in UTF-8.
    std::vector<std::string> scriptNames(const PagePreviewModel& model)
    {
        std::vector<std::string> names;
        for (const PagePreviewModel::Script& script : model.scripts())
            names.push_back(utf8(script.name.toStdString()));
        return names;
    }
    // Prints the scenario to PNG pages under "pages/" as the print command
    // does; the destination, CP932.
    std::string printPng()
    {
        const std::string destination = m_scenario.path() + "pages/";
        m_app.setOutputDevice(OutputDevice::Png);
        m_app.setDestinationFolder(destination);
        m_app.setPrintLog(false);
        m_app.catalogue().setAllTicked(true);
        PrintRun run(m_app.context());
        UxProgressDialog progress(m_progress);
        const PrintRun::Outcome outcome = run.printAll(m_app.catalogue(), progress);
        EXPECT_EQ(outcome.pagesLost, 0);
        return destination;
    }
    // The PNG pages the run wrote for one script (UTF-8 paths), in page
    // order: the page numbers are padded to the same width.
    std::vector<std::string> pngPagesOf(const std::string& destination, const FCString& scene,
                                        const FCString& script)
    {
        const std::string folder =
            utf8(PageFileName::folder(FCString(destination), scene).toStdString());
        const std::string prefix = utf8(scene.toStdString() + "." + script.toStdString() + ".");
        std::vector<std::string> pages;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".png")
                pages.push_back(entry.path().string());
        }
        std::sort(pages.begin(), pages.end());
        return pages;
    }

    ScenarioTestFolder m_scenario;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    Quillon m_app;
    MainWindowModel m_window{m_app.catalogue()};
};

} // namespace

TEST_F(PagePreviewModelTest, ScriptsAreThoseARunPrintsInTheRunsOrder)
{
    struct Case {
        const char* what;
        bool generic;
        std::vector<std::string> suppressed;
        std::vector<std::string> notTargets;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"every character", false, {}, {}, {"悠人", "さくら", "店主"}},
        {"director's copy last", true, {}, {}, {"悠人", "さくら", "店主", "監督用"}},
        {"suppressed in all files", true, {"さくら"}, {}, {"悠人", "店主", "監督用"}},
        {"no target of the scene", false, {}, {"悠人"}, {"さくら", "店主"}},
        {"both", false, {"店主"}, {"悠人"}, {"さくら"}},
        {"nobody but the director", true, {"悠人", "さくら", "店主"}, {}, {"監督用"}},
    };
    for (const Case& c : cases) {
        m_app.setGenericScript(c.generic);
        std::vector<FCString> suppressed;
        for (const std::string& name : c.suppressed)
            suppressed.emplace_back(sj(name));
        m_app.printFormat().rebuildSuppressed(suppressed);
        m_app.rebuildSuppressedCharacters();
        ScriptInfo& scene = record("long.screenplay.txt");
        scene.clearPrintTargets();
        for (const char* name : {"悠人", "さくら", "店主"}) {
            if (std::find(c.notTargets.begin(), c.notTargets.end(), name) == c.notTargets.end()) {
                ASSERT_TRUE(scene.addPrintTarget(sj(name)));
            }
        }

        PagePreviewModel model(m_app, m_window.rows());
        ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt"))) << c.what;
        EXPECT_EQ(scriptNames(model), c.expected) << c.what;
        EXPECT_EQ(model.chosen(), 0) << c.what;
        for (const PagePreviewModel::Script& script : model.scripts())
            EXPECT_EQ(script.target < 0, script.name.view() == sj("監督用")) << c.what;
        EXPECT_GT(model.pageCount(), 1) << c.what;
    }
}

TEST_F(PagePreviewModelTest, EveryPageIsThePngPageOfTheSameScript)
{
    m_app.setGenericScript(true);
    m_app.printFormat().setCustomModeEmphasis(1); // solid shading, so blocks show
    const std::string destination = printPng();

    int comparedPages = 0;
    for (const char* file : {"long.screenplay.txt", "short.screenplay.txt"}) {
        PagePreviewModel model(m_app, m_window.rows());
        ASSERT_TRUE(model.showRow(rowOf(file)));
        ASSERT_EQ(model.scripts().size(), std::string(file) == "long.screenplay.txt" ? 4u : 3u);
        for (int script = 0; script < int(model.scripts().size()); ++script) {
            ASSERT_TRUE(model.choose(script));
            const std::vector<std::string> pngs = pngPagesOf(
                destination, model.sceneName(), model.scripts()[std::size_t(script)].name);
            ASSERT_EQ(model.pageCount(), int(pngs.size())) << file << " script " << script;
            for (int page = 0; page < model.pageCount(); ++page) {
                const PreviewPng png = readPreviewPng(pngs[std::size_t(page)]);
                ASSERT_TRUE(png.ok) << pngs[std::size_t(page)];
                const std::shared_ptr<const FCVSurface> image = model.pageImage(page);
                ASSERT_NE(image, nullptr);
                ASSERT_EQ(image->width(), png.width);
                ASSERT_EQ(image->height(), png.height);
                int differing = 0;
                int ink = 0;
                for (int y = 0; y < png.height; ++y)
                    for (int x = 0; x < png.width; ++x) {
                        differing += *image->pixel(x, y) != png.at(x, y);
                        ink += png.at(x, y) < 128;
                    }
                EXPECT_EQ(differing, 0) << pngs[std::size_t(page)];
                EXPECT_GT(ink, 500) << "the page holds text: " << pngs[std::size_t(page)];
                ++comparedPages;
            }
        }
    }
    EXPECT_GE(comparedPages, 4 * 3 + 3);
    EXPECT_FALSE(PagePreviewModel(m_app, m_window.rows()).pageImage(0)) << "no scene, no page";
}

TEST_F(PagePreviewModelTest, NavigationStaysWithinThePagesAndTheTextCountsFromOne)
{
    PagePreviewModel model(m_app, m_window.rows());
    EXPECT_EQ(utf8(model.pageText().toStdString()), "0 / 0 ページ");
    EXPECT_EQ(std::string(model.noPageText()), "");
    ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt")));
    EXPECT_EQ(std::string(model.noPageText()), "");
    const int pages = model.pageCount();
    ASSERT_GE(pages, 3);
    EXPECT_EQ(model.page(), 0);
    EXPECT_FALSE(model.previousPage());
    EXPECT_EQ(utf8(model.pageText().toStdString()), "1 / " + std::to_string(pages) + " ページ");
    for (int page = 1; page < pages; ++page)
        EXPECT_TRUE(model.nextPage()) << page;
    EXPECT_FALSE(model.nextPage());
    EXPECT_EQ(model.page(), pages - 1);
    EXPECT_EQ(utf8(model.pageText().toStdString()),
              std::to_string(pages) + " / " + std::to_string(pages) + " ページ");
    EXPECT_FALSE(model.setPage(pages));
    EXPECT_FALSE(model.setPage(-1));
    EXPECT_FALSE(model.pageImage(pages));
    EXPECT_FALSE(model.choose(int(model.scripts().size())));
    EXPECT_FALSE(model.choose(-1));

    // Another scene starts at its first page; the same scene keeps its page.
    ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt")));
    EXPECT_EQ(model.page(), pages - 1);
    ASSERT_TRUE(model.showRow(rowOf("short.screenplay.txt")));
    EXPECT_EQ(model.page(), 0);
    EXPECT_EQ(utf8(model.pageText().toStdString()), "1 / 1 ページ");
}

TEST_F(PagePreviewModelTest, TheChosenCharacterStaysWhenAnotherSceneHasIt)
{
    PagePreviewModel model(m_app, m_window.rows());
    ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt")));
    ASSERT_TRUE(model.choose(2)); // 店主
    ASSERT_TRUE(model.showRow(rowOf("short.screenplay.txt")));
    ASSERT_GE(model.chosen(), 0);
    EXPECT_EQ(utf8(model.scripts()[std::size_t(model.chosen())].name.toStdString()), "店主");
    ASSERT_TRUE(model.choose(0)); // 悠人
    ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt")));
    EXPECT_EQ(model.chosen(), 0);
}

TEST_F(PagePreviewModelTest, RefreshLaysOutAgainOnlyWhenTheSettingsChanged)
{
    PagePreviewModel model(m_app, m_window.rows());
    ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt")));
    const int pages = model.pageCount();
    ASSERT_TRUE(model.pageImage(0));
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Unchanged);
    EXPECT_TRUE(model.pageImage(0));
    EXPECT_EQ(model.pagesDrawn(), 1) << "an unchanged page comes from the cache";

    // Fewer lines per page: more pages.
    PrintFormat& format = m_app.printFormat();
    format.setMode(PrintFormat::ModeCustom);
    format.setCustomLinesPerPage(20);
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Changed);
    EXPECT_GT(model.pageCount(), pages);
    EXPECT_EQ(model.pagesDrawn(), 0);
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Unchanged);

    // The generic switch brings the director's copy; the chosen script stays.
    ASSERT_TRUE(model.choose(1));
    m_app.setGenericScript(true);
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Changed);
    EXPECT_EQ(scriptNames(model).back(), "監督用");
    EXPECT_EQ(model.chosen(), 1);

    // A character no longer printed goes from the list.
    ScriptInfo& scene = record("long.screenplay.txt");
    scene.clearPrintTargets();
    ASSERT_TRUE(scene.addPrintTarget(sj("悠人")));
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Changed);
    EXPECT_EQ(scriptNames(model), (std::vector<std::string>{"悠人", "監督用"}));
    EXPECT_EQ(model.chosen(), 0) << "さくら is gone: the first script";
}

TEST_F(PagePreviewModelTest, ThePageShownStaysWithinFewerPages)
{
    PagePreviewModel model(m_app, m_window.rows());
    ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt")));
    ASSERT_TRUE(model.setPage(model.pageCount() - 1));
    m_app.printFormat().setMode(PrintFormat::ModeCustom);
    m_app.printFormat().setCustomLinesPerPage(200);
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Changed);
    EXPECT_EQ(model.pageCount(), 1);
    EXPECT_EQ(model.page(), 0);
    EXPECT_TRUE(model.pageImage(model.page()));
}

TEST_F(PagePreviewModelTest, TheCacheKeepsTheLastPagesOnly)
{
    PrintFormat& format = m_app.printFormat();
    format.setMode(PrintFormat::ModeCustom);
    format.setCustomLinesPerPage(10);
    PagePreviewModel model(m_app, m_window.rows());
    ASSERT_TRUE(model.showRow(rowOf("long.screenplay.txt")));
    ASSERT_GT(model.pageCount(), PagePreviewModel::CachedPages + 1);
    for (int page = 0; page <= PagePreviewModel::CachedPages; ++page)
        ASSERT_TRUE(model.pageImage(page));
    EXPECT_EQ(model.pagesDrawn(), PagePreviewModel::CachedPages + 1);
    // The last page drawn is still there; the first has been let go.
    ASSERT_TRUE(model.pageImage(PagePreviewModel::CachedPages));
    EXPECT_EQ(model.pagesDrawn(), PagePreviewModel::CachedPages + 1);
    ASSERT_TRUE(model.pageImage(0));
    EXPECT_EQ(model.pagesDrawn(), PagePreviewModel::CachedPages + 2);
    // The same page of another script is another page.
    ASSERT_TRUE(model.choose(1));
    ASSERT_TRUE(model.pageImage(0));
    EXPECT_EQ(model.pagesDrawn(), PagePreviewModel::CachedPages + 3);
}

TEST_F(PagePreviewModelTest, ASceneWithoutSpeakersHasNoScriptsAndNoPages)
{
    for (bool generic : {false, true}) {
        m_app.setGenericScript(generic);
        PagePreviewModel model(m_app, m_window.rows());
        ASSERT_TRUE(model.showRow(rowOf("silent.screenplay.txt")));
        EXPECT_TRUE(model.readable());
        EXPECT_EQ(model.pageCount(), 0);
        EXPECT_EQ(utf8(model.pageText().toStdString()), "0 / 0 ページ");
        EXPECT_FALSE(model.pageImage(0));
        EXPECT_EQ(model.scripts().size(), generic ? 1u : 0u);
        EXPECT_EQ(utf8(model.noPageText()), "印刷されるページはありません。");
    }
}

TEST_F(PagePreviewModelTest, AFileGoneSinceTheLoadIsToldByTheFileLayerAndShowsNothing)
{
    m_scenario.remove("short.screenplay.txt");
    PagePreviewModel model(m_app, m_window.rows());
    EXPECT_TRUE(model.showRow(rowOf("short.screenplay.txt")));
    EXPECT_FALSE(model.readable());
    EXPECT_TRUE(model.scripts().empty());
    EXPECT_EQ(model.pageCount(), 0);
    EXPECT_FALSE(model.pageImage(0));
    EXPECT_EQ(m_prompt.questions().size(), 1u) << "the file layer's box";
    EXPECT_EQ(utf8(model.noPageText()), "台本ファイルを読み込めませんでした。");
    // Refreshing an unchanged preview does not ask again.
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Unchanged);
    EXPECT_EQ(m_prompt.questions().size(), 1u);
}

TEST_F(PagePreviewModelTest, ASceneNoLongerListedIsGoneAndARowWithoutRecordShowsNothing)
{
    PagePreviewModel model(m_app, m_window.rows());
    EXPECT_FALSE(model.showRow(-1));
    EXPECT_FALSE(model.showRow(list().rowCount()));
    EXPECT_FALSE(model.hasScene());
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Unchanged);

    ASSERT_TRUE(model.showRow(rowOf("short.screenplay.txt")));
    EXPECT_EQ(utf8(model.fileName().toStdString()), "short.screenplay.txt");
    // Loading the folder again makes new records: the scene is read again.
    load();
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::Changed);
    EXPECT_TRUE(model.hasScene());
    // A folder without the scene.
    m_scenario.remove("short.screenplay.txt");
    load();
    EXPECT_EQ(model.refresh(), PagePreviewModel::Refresh::SceneGone);
    EXPECT_FALSE(model.hasScene());
    EXPECT_EQ(model.pageCount(), 0);
    EXPECT_FALSE(model.pageImage(0));
}

TEST_F(PagePreviewModelTest, TheRowToPreviewIsTheFocusedSelectedRowElseTheFirstSelected)
{
    EXPECT_EQ(PagePreviewModel::rowToPreview(list()), -1);
    list().selectRow(2);
    list().selectRow(0); // focus moves to row 0
    EXPECT_EQ(PagePreviewModel::rowToPreview(list()), 0);
    list().deselectRow(0);
    EXPECT_EQ(PagePreviewModel::rowToPreview(list()), 2);
    list().clearSelection();
    EXPECT_EQ(PagePreviewModel::rowToPreview(list()), -1);
    EXPECT_FALSE(std::string(PagePreviewModel::noSelectionMessage()).empty());
}

TEST_F(PagePreviewModelTest, TheScriptsAndPageCountsAreThoseOfThePngRunForOddScenes)
{
    // A character declared with count 0 (which the run prints even when it
    // is suppressed), a suppressed one, a speaker missing from the header
    // and a scene whose targets were narrowed.
    m_scenario.write("odd.screenplay.txt", ".scene\todd\n.chara\t3\n.悠人\t2\n.ゼロ\t0\n.店主\t1\n"
                                           ".total\t3\n000001 悠人「一」\n000002 店主「二」\n"
                                           "000003 誰か「三」\n000004 悠人「四」\n");
    load();
    m_app.setGenericScript(true);
    m_app.printFormat().rebuildSuppressed({FCString(sj("ゼロ")), FCString(sj("店主"))});
    m_app.rebuildSuppressedCharacters();
    ScriptInfo& narrowed = record("long.screenplay.txt");
    narrowed.clearPrintTargets();
    ASSERT_TRUE(narrowed.addPrintTarget(sj("さくら")));
    const std::string destination = printPng();

    for (const char* file : {"odd.screenplay.txt", "long.screenplay.txt", "short.screenplay.txt",
                             "silent.screenplay.txt"}) {
        PagePreviewModel model(m_app, m_window.rows());
        ASSERT_TRUE(model.showRow(rowOf(file)));
        // What the run wrote: pages per script name, from the file names.
        std::map<std::string, int> written;
        const std::string folder =
            utf8(PageFileName::folder(FCString(destination), model.sceneName()).toStdString());
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (!entry.is_regular_file())
                continue; // a scene without a name files its pages nowhere else
            const std::string name = entry.path().filename().string();
            const std::size_t first = name.find('.');
            const std::size_t second = name.find('.', first + 1);
            ASSERT_NE(second, std::string::npos) << name;
            ++written[name.substr(first + 1, second - first - 1)];
        }
        std::map<std::string, int> previewed;
        for (int script = 0; script < int(model.scripts().size()); ++script) {
            ASSERT_TRUE(model.choose(script));
            if (model.pageCount() > 0)
                previewed[utf8(model.scripts()[std::size_t(script)].name.toStdString())] =
                    model.pageCount();
        }
        EXPECT_EQ(previewed, written) << file;
        if (std::string(file) == "odd.screenplay.txt") {
            // The edges this scene is for did come up in the run.
            EXPECT_EQ(written.count("ゼロ"), 1u);
            EXPECT_EQ(written.count("店主"), 0u);
            EXPECT_EQ(written.count("監督用"), 1u);
        }
    }
}
