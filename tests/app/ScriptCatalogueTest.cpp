#include "document/ScriptCatalogue.h"

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "fc/FCXListIterator.h"
#include "platform/FileFaults.h"
#include "platform/ProgramFolders.h"
#include "platform/ScriptedPrompt.h"
#include "platform/WinError.h"
#include "ui/CatalogueListBinding.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxListViewListener.h"
#include "ui/UxProgressDialog.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;
using Colour = UxListViewControl::Colour;

Entries entriesOf(const FCXList<FCIdString>& list)
{
    Entries entries;
    FCXListIterator<FCIdString> walk(list);
    while (const FCIdString* entry = walk.next())
        entries.emplace_back(entry->toStdString(), entry->id());
    return entries;
}

const std::string CancelText = sj("シナリオの読み込みがキャンセルされました。\n"
                                  "このまま処理を継続することはできません。"
                                  "必ず正常に読み込ませてから実行してください。");

// A scenario folder, the application, its main window and scripted seams.
class ScriptCatalogueTest : public testing::Test {
protected:
    ScriptCatalogueTest() { UxProgressDialog::clearCancelRequest(); }

    FolderLoad loadResult(const ScenarioTestFolder& folder)
    {
        m_app.setScenarioFolder(folder.path());
        UxProgressDialog progress(m_progress);
        return m_app.loadScenarioFolder(progress, m_notices, m_window.loadDisplay());
    }
    bool load(const ScenarioTestFolder& folder) { return loadResult(folder) == FolderLoad::Loaded; }

    std::string text(int row, int column) const
    {
        FCString out;
        if (!m_window.list().textOfCell(out, row, column))
            return "<none>";
        return out.toStdString();
    }
    Colour background(int row, int column) const
    {
        return m_window.list().cell(row, column)->backgroundColour;
    }
    const UxListViewControl& list() const { return m_window.list(); }

    ScenarioTestFolder m_scenario;
    Quillon m_app;
    MainWindowModel m_window{m_app.catalogue()};
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    ProgramFolders::Scope m_placement{m_scenario.path()};
};

} // namespace

TEST_F(ScriptCatalogueTest, LoadFillsRowsColumnsColoursTicksKeysAndCounts)
{
    m_scenario.write("b.screenplay.txt", ".scene\tB\n.total\t0\n");
    m_scenario.write("A.screenplay.txt", ".scene\tfirst\n.ゆか\t3\n.蓮\t2\n.total\t5\n");
    m_scenario.write("c.screenplay.txt", ".scene\tC\n.蓮\t4\n.total\t4\n");
    m_scenario.write("notes.txt", ".scene\tX\n.Z\t1\n");
    std::filesystem::create_directory(m_scenario.path() + "d.screenplay.txt");

    // The file names are foreseen in the list's order before any row of
    // theirs comes.
    struct Foreseen : UxListViewListener {
        std::vector<std::string> names;
        int rowsBefore = -1;
        int rows = 0;
        void textsForeseen(int column, std::span<const std::string_view> texts) override
        {
            EXPECT_EQ(column, CatalogueListBinding::ColumnFileName);
            names.assign(texts.begin(), texts.end());
            rowsBefore = rows;
        }
        void rowInserted(int) override { ++rows; }
    } foreseen;
    m_window.list().setListener(&foreseen);

    ASSERT_TRUE(load(m_scenario));

    m_window.list().setListener(nullptr);
    EXPECT_EQ(foreseen.names, (std::vector<std::string>{"A.screenplay.txt", "b.screenplay.txt",
                                                        "c.screenplay.txt"}));
    EXPECT_EQ(foreseen.rowsBefore, 0);
    ASSERT_EQ(list().columnCount(), 6);
    const std::vector<std::pair<std::string, int>> columns = {{"", 24},
                                                              {sj("情報"), 42},
                                                              {sj("シナリオ名"), 160},
                                                              {sj("登場キャラ"), 200},
                                                              {sj("抑制キャラ"), 200},
                                                              {"", 0}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list().column(i).title, columns[size_t(i)].first) << i;
        EXPECT_EQ(list().column(i).width, columns[size_t(i)].second) << i;
    }

    // The platform's order (case-blind here), no folder, no other file.
    ASSERT_EQ(list().rowCount(), 3);
    EXPECT_EQ(text(0, 2), "A.screenplay.txt");
    EXPECT_EQ(text(1, 2), "b.screenplay.txt");
    EXPECT_EQ(text(2, 2), "c.screenplay.txt");
    EXPECT_EQ(text(0, 3), sj("ゆか,蓮"));
    EXPECT_EQ(text(1, 3), "");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(text(row, 0), "");
        EXPECT_EQ(text(row, 1), "");
        EXPECT_EQ(text(row, 4), "");
    }

    EXPECT_TRUE(list().isChecked(0));
    EXPECT_FALSE(list().isChecked(1));
    EXPECT_TRUE(list().isChecked(2));
    for (int column : {0, 1, 2, 3, 5}) {
        EXPECT_EQ(background(1, column), CatalogueListBinding::NoSpeakerBackground) << column;
        EXPECT_EQ(background(0, column), UxListViewControl::DefaultColour) << column;
    }
    EXPECT_EQ(background(1, 4), UxListViewControl::DefaultColour) << "column 4 is not written";
    EXPECT_EQ(CatalogueListBinding::NoSpeakerBackground, 0x00E0C0C0u);

    const ScriptCatalogue& catalogue = m_app.catalogue();
    const CatalogueListBinding& rows = m_window.rows();
    ASSERT_EQ(rows.entryOfRow(0), 0);
    EXPECT_EQ(catalogue.record(rows.entryOfRow(0)).sceneName().toStdString(), "first");
    EXPECT_EQ(catalogue.record(rows.entryOfRow(2)).sceneName().toStdString(), "C");
    EXPECT_EQ(rows.entryOfRow(3), -1);
    EXPECT_EQ(catalogue.count(), 3);

    EXPECT_EQ(m_window.folderText().toStdString(), m_scenario.path());
    EXPECT_EQ(m_window.totalText().toStdString(), "3");
    EXPECT_EQ(m_window.noSpeakerText().toStdString(), "1");
    EXPECT_EQ(entriesOf(m_app.scenarioTotals().characters()),
              (Entries{{sj("ゆか"), 3}, {sj("蓮"), 6}}));
    EXPECT_EQ(m_app.scenarioTotals().sceneName().toStdString(), "C");
    EXPECT_TRUE(list().isRedrawing());
    EXPECT_TRUE(m_dialogs.notices().empty());
}

TEST_F(ScriptCatalogueTest, ProgressShowsTitleTextRangeAndSceneNames)
{
    m_scenario.write("1.screenplay.txt", ".scene\tone\n.A\t1\n");
    m_scenario.write("2.screenplay.txt", ".scene\ttwo\n.A\t1\n");
    ASSERT_TRUE(load(m_scenario));
    EXPECT_EQ(m_progress.titles(), (std::vector<std::string>{sj("台本の取得")}));
    EXPECT_EQ(m_progress.texts(),
              (std::vector<std::string>{
                  sj("指定されたフォルダにある *.screenplay.txt を取得しています"), "one", "two"}));
    EXPECT_EQ(m_progress.minimum(), 0);
    EXPECT_EQ(m_progress.maximum(), 2);
    EXPECT_EQ(m_progress.positions(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(m_progress.lastOpenCancellable());
    EXPECT_EQ(m_progress.closes(), 1);
}

TEST_F(ScriptCatalogueTest, TheFoldersSettingsAreReadAfterALoad)
{
    m_scenario.write("1.screenplay.txt", ".A\t1\n");
    m_scenario.write("quillon.settings.rnf", "NPChara0=モブ\nNPChara1=B\nmode=3\n");
    ASSERT_TRUE(load(m_scenario));
    EXPECT_EQ(m_app.printFormat().mode(), 3);
    EXPECT_TRUE(m_app.isSuppressed(sj("モブ")));
    EXPECT_TRUE(m_app.isSuppressed("B"));
    EXPECT_FALSE(m_app.isSuppressed("A"));
    EXPECT_EQ(m_app.suppressedCharacters().count(), 2);
}

TEST_F(ScriptCatalogueTest, AFolderWithoutSettingsGetsAnEmptySettingsFile)
{
    m_scenario.write("1.screenplay.txt", ".A\t1\n");
    ASSERT_TRUE(load(m_scenario));
    EXPECT_TRUE(m_scenario.exists("quillon.settings.rnf"));
}

TEST_F(ScriptCatalogueTest, SkippedFilesAreToldOncePerLoad)
{
    ScriptedPrompt prompt;
    Prompt::Scope promptScope(prompt);
    m_scenario.write("1.screenplay.txt", ".A\t1\n");
    const std::string at = m_scenario.path();
    ASSERT_EQ(::mkfifo((at + "fifo.screenplay.txt").c_str(), 0644), 0);
    std::filesystem::create_symlink("loop.screenplay.txt", at + "loop.screenplay.txt");
    std::filesystem::create_symlink("gone", at + "lost.screenplay.txt");
    // "é" has no Shift-JIS form.
    std::ofstream(at + "caf\xc3\xa9.screenplay.txt") << ".B\t1\n";
    std::filesystem::create_directory(at + "quillon.settings.rnf");
    m_app.printFormat().setMode(2);

    ASSERT_TRUE(load(m_scenario));
    // A link to nothing stays a row, as a file that vanished does.
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(text(0, 2), "1.screenplay.txt");
    EXPECT_EQ(text(1, 2), "lost.screenplay.txt");
    EXPECT_TRUE(prompt.questions().empty());
    EXPECT_EQ(m_app.printFormat().mode(), 2) << "the settings stay as they were";
    EXPECT_TRUE(std::filesystem::is_directory(at + "quillon.settings.rnf"));
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].title, "Quillon Utility");
    EXPECT_EQ(
        m_dialogs.notices()[0].text,
        sj("次のファイルは読み込まれませんでした。\n"
           "fifo.screenplay.txt：通常のファイルではありません\n"
           "loop.screenplay.txt：リンク先を開けません（シンボリックリンクが循環しているか、"
           "多重に連なりすぎています）\n"
           "caf?.screenplay.txt：ファイル名をShift-JISで表せません\n"
           "quillon.settings.rnf：通常のファイルではないため、印刷設定を読み書きできません\n"));

    // A second load tells again, once.
    ASSERT_TRUE(load(m_scenario));
    EXPECT_EQ(m_dialogs.notices().size(), 2u);
}

TEST_F(ScriptCatalogueTest, AFolderOfOnlySkippedFilesSaysWhy)
{
    ASSERT_EQ(::mkfifo((m_scenario.path() + "fifo.screenplay.txt").c_str(), 0644), 0);
    EXPECT_EQ(loadResult(m_scenario), FolderLoad::NoFiles);
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_NE(m_dialogs.notices()[0].text.find("fifo.screenplay.txt"), std::string::npos);
}

TEST_F(ScriptCatalogueTest, AFolderWithoutScenesChangesNothing)
{
    m_scenario.write("1.screenplay.txt", ".scene\ts\n.A\t5\n");
    ASSERT_TRUE(load(m_scenario));
    ScenarioTestFolder empty;
    empty.write("readme.txt", "x");
    m_app.setKeepWordTotals(true);

    EXPECT_EQ(loadResult(empty), FolderLoad::NoFiles);
    EXPECT_EQ(list().rowCount(), 1);
    EXPECT_EQ(text(0, 2), "1.screenplay.txt");
    EXPECT_EQ(m_window.rows().entryOfRow(0), 0);
    EXPECT_EQ(m_app.catalogue().count(), 1);
    EXPECT_EQ(m_window.folderText().toStdString(), m_scenario.path());
    EXPECT_EQ(m_window.totalText().toStdString(), "1");
    EXPECT_EQ(entriesOf(m_app.scenarioTotals().characters()), (Entries{{"A", 5}}));
    EXPECT_FALSE(m_app.keepWordTotals()) << "the flag applies to one load only";
    EXPECT_EQ(m_progress.opens(), 1);
    EXPECT_FALSE(empty.exists("quillon.settings.rnf"));
    EXPECT_TRUE(m_dialogs.notices().empty());
}

TEST_F(ScriptCatalogueTest, AFolderWithoutSpeakersIsAllNoSpeakerRows)
{
    m_scenario.write("1.screenplay.txt", ".scene\ta\n.total\t0\n");
    m_scenario.write("2.screenplay.txt", "");
    m_scenario.write("3.screenplay.txt", "000001 A「x」\n.B\t1\n");
    ASSERT_TRUE(load(m_scenario));
    ASSERT_EQ(list().rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_FALSE(list().isChecked(row)) << row;
        EXPECT_EQ(background(row, 2), CatalogueListBinding::NoSpeakerBackground) << row;
    }
    EXPECT_EQ(m_window.totalText().toStdString(), "3");
    EXPECT_EQ(m_window.noSpeakerText().toStdString(), "3");
}

TEST_F(ScriptCatalogueTest, CancelAfterTheFirstFileKeepsItsRowAndReadsNoSettings)
{
    m_scenario.write("1.screenplay.txt", ".scene\tone\n.A\t1\n");
    m_scenario.write("2.screenplay.txt", ".scene\ttwo\n.B\t1\n");
    m_scenario.write("3.screenplay.txt", ".scene\tthree\n");
    m_progress.cancelAfterSteps(1);

    EXPECT_EQ(loadResult(m_scenario), FolderLoad::Cancelled);
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(text(0, 2), "1.screenplay.txt");
    EXPECT_EQ(m_window.totalText().toStdString(), "1");
    EXPECT_EQ(m_window.noSpeakerText().toStdString(), "0");
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].title, "Quillon Utility");
    EXPECT_EQ(m_dialogs.notices()[0].text, CancelText);
    EXPECT_FALSE(m_scenario.exists("quillon.settings.rnf"));
    EXPECT_EQ(m_progress.closes(), 1);
    EXPECT_TRUE(list().isRedrawing());
}

TEST_F(ScriptCatalogueTest, GivingUpOnAnUnreadableFileEndsTheLoadAsFailed)
{
    m_scenario.write("1.screenplay.txt", ".A\t1\n");
    m_scenario.write("2.screenplay.txt", ".B\t2\n");
    m_scenario.write("3.screenplay.txt", ".C\t3\n");
    FileFaults::Scope faults;
    ScriptedPrompt prompt{Prompt::Answer::Cancel};
    Prompt::Scope promptScope(prompt);
    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied, 1, -1);
    // Opens are counted in the order files are read: in list order only on
    // one thread.
    m_app.printFormat().setJobs(1);

    EXPECT_EQ(loadResult(m_scenario), FolderLoad::Failed);
    EXPECT_EQ(prompt.questions().size(), 1u) << "the file layer asked about the second file";
    EXPECT_EQ(list().rowCount(), 1);
    EXPECT_EQ(m_app.catalogue().count(), 1);
    EXPECT_EQ(entriesOf(m_app.scenarioTotals().characters()), (Entries{{"A", 1}}));
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text, CancelText);
}

TEST_F(ScriptCatalogueTest, RetryingAnUnreadableFileGoesOn)
{
    m_scenario.write("1.screenplay.txt", ".A\t1\n");
    m_scenario.write("2.screenplay.txt", ".B\t2\n");
    FileFaults::Scope faults;
    ScriptedPrompt prompt{Prompt::Answer::Retry};
    Prompt::Scope promptScope(prompt);
    FileFaults::fail(FileFaults::Kind::Open, WinError::SharingViolation, 1, 1);

    EXPECT_TRUE(load(m_scenario));
    EXPECT_EQ(list().rowCount(), 2);
    EXPECT_EQ(text(1, 3), "B");
}

TEST_F(ScriptCatalogueTest, WordTotalsAreKeptOverOneReloadWhenAsked)
{
    m_scenario.write("1.screenplay.txt", ".scene\ta\n.A\t10\n");
    m_scenario.write("2.screenplay.txt", ".scene\tb\n.A\t20\n.B\t1\n");
    m_scenario.write("3.screenplay.txt", ".scene\tc\n.A\t30\n");
    ASSERT_TRUE(load(m_scenario));
    EXPECT_EQ(entriesOf(m_app.scenarioTotals().characters()), (Entries{{"A", 60}, {"B", 1}}));

    m_app.setKeepWordTotals(true);
    ASSERT_TRUE(load(m_scenario));
    EXPECT_EQ(entriesOf(m_app.scenarioTotals().characters()), (Entries{{"A", 120}, {"B", 2}}));
    EXPECT_FALSE(m_app.keepWordTotals());

    ASSERT_TRUE(load(m_scenario));
    EXPECT_EQ(entriesOf(m_app.scenarioTotals().characters()), (Entries{{"A", 60}, {"B", 1}}));
    EXPECT_EQ(list().rowCount(), 3) << "a reload replaces the rows";
}

TEST_F(ScriptCatalogueTest, AReloadIsANewGenerationAndRowsMapOnlyToItsEntries)
{
    m_scenario.write("1.screenplay.txt", ".A\t1\n");
    ASSERT_TRUE(load(m_scenario));
    const uint64_t first = m_app.catalogue().generation();

    ASSERT_TRUE(load(m_scenario));
    EXPECT_NE(m_app.catalogue().generation(), first);
    EXPECT_EQ(text(0, 5), "") << "the hidden column holds no key";
    EXPECT_EQ(m_window.rows().entryOfRow(0), 0);
    for (int row : {-1, 1, 99})
        EXPECT_EQ(m_window.rows().entryOfRow(row), -1) << row;
}
