#include "app/MainWindowCommands.h"

#include "AppTestFolder.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/CharacterSelectionModel.h"
#include "app/CheckListDialogModel.h"
#include "app/ConversionDialogModel.h"
#include "app/FindFileModel.h"
#include "app/FolderSelectionModel.h"
#include "app/MainWindowModel.h"
#include "app/PrintSettingsDialogModel.h"
#include "app/ProgramEnvironment.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "app/VoiceCheckDialogModel.h"
#include "platform/FileFaults.h"
#include "platform/SystemClock.h"
#include "platform/WinError.h"
#include "render/LineSelection.h"
#include "reports/CharacterSelection.h"
#include "reports/PrintRecord.h"
#include "ui/CatalogueListBinding.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A loaded scenario of three scenes (the third without speakers), the main
// window's model and commands whose dialogs are scripted.
class MainWindowCommandsTest : public AppTestFolder {
protected:
    MainWindowCommandsTest()
    {
        m_scenario.write("a.screenplay.txt", ".A\t3\n.B\t4\n.total\t7\n000001 A「x」\n");
        m_scenario.write("b.screenplay.txt", ".B\t2\n.C\t5\n.total\t7\n000001 B「y」\n");
        m_scenario.write("c.screenplay.txt", ".total\t0\n");
        UxProgressDialog::clearCancelRequest();
    }

    MainWindowCommands& open(bool load = true)
    {
        MainWindowCommands::Dialogs dialogs;
        dialogs.characterSelection = [this](CharacterSelectionModel& model) {
            ++m_selectionDialogs;
            for (int row = 0; row < model.rowCount(); ++row)
                model.setTicked(row, model.rows()[size_t(row)].name != "B");
            return true;
        };
        dialogs.folder = [this](FolderSelectionModel& model) {
            return model.accept(m_folderTyped, m_keepTicked);
        };
        dialogs.find = [this](FindFileModel& model) { return model.accept(m_findTyped); };
        dialogs.checkList = [this](CheckListDialogModel& model) {
            return m_checkList ? m_checkList(model) : false;
        };
        dialogs.wordCounts = [this](const ScriptInfo& totals) {
            m_wordCountCharacters = totals.characterCount();
        };
        dialogs.conversion = [this](ConversionDialogModel& model) {
            ++m_conversionDialogs;
            model.sourceFolderText = FCString(m_scenario.path());
            model.outputFolderText = FCString(m_scenario.path());
            model.definitionsText = FCString(m_scenario.path() + "names.txt");
            (void)model.preSurvey();
        };
        dialogs.printSettings = [this](PrintSettingsDialogModel& model) {
            m_printPurposes.push_back(model.purpose());
            return m_printForm ? m_printForm(model) : false;
        };
        dialogs.deliveredVoices = [this](VoiceCheckDialogModel& model) {
            ++m_voiceDialogs;
            model.deliveryText = FCString(m_delivery);
            m_voiceDialogRefusal = model.check() == VoiceCheckDialogModel::Outcome::Refused;
            m_voicePrint = model.printMissing();
        };
        m_commands = std::make_unique<MainWindowCommands>(m_app, m_window, m_environment, dialogs);
        if (load) {
            m_app.setScenarioFolder(m_scenario.path());
            m_app.setLoadAtStart(true);
        }
        m_commands->open();
        return *m_commands;
    }
    UxListViewControl& list() { return m_window.list(); }
    int rowOf(const std::string& name)
    {
        for (int row = 0; row < list().rowCount(); ++row)
            if (list().cell(row, CatalogueListBinding::ColumnFileName)->text == name)
                return row;
        return -1;
    }
    std::string cell(int row, int column) { return list().cell(row, column)->text; }

    ScenarioTestFolder m_scenario;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    const SystemClock m_clock;
    ProgramEnvironment m_environment{
        {.dialogs = m_dialogs, .progress = m_progress, .prompt = m_prompt, .clock = m_clock}};
    Quillon m_app;
    MainWindowModel m_window{m_app.catalogue()};
    std::unique_ptr<MainWindowCommands> m_commands;
    int m_selectionDialogs = 0;
    int m_wordCountCharacters = -1;
    int m_conversionDialogs = 0;
    int m_voiceDialogs = 0;
    bool m_voiceDialogRefusal = false;
    bool m_voicePrint = false;
    std::vector<int> m_printPurposes;
    std::function<bool(PrintSettingsDialogModel&)> m_printForm;
    std::string m_delivery;
    std::string m_folderTyped;
    bool m_keepTicked = false;
    std::string m_findTyped;
    std::function<bool(CheckListDialogModel&)> m_checkList;
};

} // namespace

TEST_F(MainWindowCommandsTest, OpeningLoadsTheFolderNamedAtStartOnce)
{
    open();
    EXPECT_EQ(list().rowCount(), 3);
    EXPECT_EQ(list().columnCount(), CatalogueListBinding::ColumnCount);
    EXPECT_FALSE(m_app.loadAtStart());
    EXPECT_EQ(m_window.folderText().toStdString(), m_scenario.path());
    EXPECT_EQ(m_window.totalText().toStdString(), "3");
    EXPECT_EQ(m_window.noSpeakerText().toStdString(), "1");
    EXPECT_EQ(m_app.mainWindow(), &m_window);
}

TEST_F(MainWindowCommandsTest, CheckAllAndClearAllTouchEveryRow)
{
    MainWindowCommands& commands = open();
    ASSERT_FALSE(list().isChecked(rowOf("c.screenplay.txt"))) << "no speakers: cleared at load";
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::CheckAll, true));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list().stateImage(row), UxListViewControl::StateTicked) << row;
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::ClearAll, true));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list().stateImage(row), UxListViewControl::StateCleared) << row;
}

TEST_F(MainWindowCommandsTest, WithoutASelectionTheButtonTellsAndTheMenuKeepsQuiet)
{
    MainWindowCommands& commands = open();
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::MenuSelectCharacters, false));
    EXPECT_TRUE(m_dialogs.notices().empty());
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::SelectCharacters, true));
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].text, CharacterSelection::noSelectionMessage());
    EXPECT_EQ(m_dialogs.notices()[0].title, UxDialogs::DefaultTitle);
    EXPECT_EQ(m_selectionDialogs, 0);
}

TEST_F(MainWindowCommandsTest, SelectedScenesShareOneSelectionAndTheRowsShowIt)
{
    MainWindowCommands& commands = open();
    const int a = rowOf("a.screenplay.txt");
    const int b = rowOf("b.screenplay.txt");
    list().selectRow(a);
    list().selectRow(b);
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::SelectCharacters, true));
    EXPECT_EQ(m_selectionDialogs, 1);
    EXPECT_EQ(cell(a, CatalogueListBinding::ColumnInfo), "1 / 2");
    EXPECT_EQ(cell(a, CatalogueListBinding::ColumnSuppressed), "B");
    EXPECT_EQ(cell(b, CatalogueListBinding::ColumnInfo), "1 / 2");

    // The double click works on the first selected row alone.
    list().clearSelection();
    list().selectRow(b);
    EXPECT_TRUE(commands.selectCharactersOfFirstSelectedRow());
    EXPECT_EQ(m_selectionDialogs, 2);
}

TEST_F(MainWindowCommandsTest, ThePageCountNoticeFollowsTheEstimateAndNotACancel)
{
    MainWindowCommands& commands = open();
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::MenuPageCount, false));
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    const std::string& text = m_dialogs.notices()[0].text;
    EXPECT_EQ(text.rfind(sj("現在の設定で印刷すると、\n"), 0), 0u) << utf8(text);
    // Two ticked scenes of one page with two printed characters each.
    EXPECT_NE(text.find(sj("\n4ページの台本が出力されます。")), std::string::npos) << utf8(text);

    m_progress.cancelAfterSteps(1);
    EXPECT_EQ(commands.estimatePages(), -1);
    EXPECT_EQ(m_dialogs.notices().size(), 1u) << "a cancelled estimate shows nothing";
}

TEST_F(MainWindowCommandsTest, TheDeliveredVoicesItemOpensItsDialogAndUnknownIdsAreIgnored)
{
    MainWindowCommands& commands = open();
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::MenuDeliveredVoices, false));
    EXPECT_EQ(m_voiceDialogs, 1);
    EXPECT_TRUE(m_voiceDialogRefusal) << "no delivery folder given";
    EXPECT_FALSE(m_voicePrint);
    EXPECT_FALSE(commands.dispatch(12345, false));
    EXPECT_FALSE(commands.dispatch(MainWindowCommands::MenuAbout, true)) << "no button of that id";
    EXPECT_TRUE(m_dialogs.notices().empty());
    EXPECT_EQ(m_progress.opens(), 1) << "only the load at opening";
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::MenuWordCounts, false));
    EXPECT_EQ(m_wordCountCharacters, 3);
}

TEST_F(MainWindowCommandsTest, TheDeliveredVoicesDialogPrintsWhatIsMissingThroughThePrintForm)
{
    // A folder without audio: every line is missing.
    m_delivery = m_scenario.path();
    MainWindowCommands& commands = open();
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::MenuDeliveredVoices, false));
    EXPECT_FALSE(m_voiceDialogRefusal);
    EXPECT_TRUE(m_voicePrint);
    EXPECT_EQ(m_printPurposes, std::vector<int>{PrintSettingsDialogModel::PrintStart});
    EXPECT_EQ(m_app.recordedLines(), std::optional<int>(0));
}

TEST_F(MainWindowCommandsTest, ThePrintFormsChangedLinesPrintPickupScriptsOrTellWhyNot)
{
    // Scenes whose speakers have scripts; an older version in which B's
    // line of b differs, and a copy of the scenario as it is.
    const std::string a = ".scene\ta\n.chara\t1\n.A\t1\n.total\t1\n000001 A「x」\n";
    const std::string b = ".scene\tb\n.chara\t1\n.B\t1\n.total\t1\n000002 B「y」\n";
    ScenarioTestFolder older, same;
    for (const ScenarioTestFolder* folder : {&m_scenario, &older, &same}) {
        folder->write("a.screenplay.txt", a);
        folder->write("c.screenplay.txt", ".total\t0\n");
    }
    m_scenario.write("b.screenplay.txt", b);
    same.write("b.screenplay.txt", b);
    older.write("b.screenplay.txt", ".scene\tb\n.chara\t1\n.B\t1\n.total\t1\n000002 B「old」\n");
    ScenarioTestFolder pages;
    const std::string record = PrintRecord::folderOf(m_scenario.path());

    const struct {
        const char* name;
        bool sincePrint;
        std::string folder;
        int printed; // -1: no run
        const char* notice;
        bool recorded; // whether the run kept its scenes in the print record
    } cases[] = {
        {"a folder that is not there", false, older.path() + "gone", -1,
         "比較する台本フォルダが見つかりません。", false},
        {"a file", false, older.path() + "a.screenplay.txt", -1,
         "比較する台本フォルダが見つかりません。", false},
        {"the same version", false, same.path(), -1, "録り直す台詞はありません。", false},
        {"an older folder", false, older.path(), 1, nullptr, false},
        {"never printed", true, "", 2, nullptr, true},
    };
    MainWindowCommands& commands = open();
    for (const auto& c : cases) {
        std::filesystem::remove_all(record);
        const std::size_t noticesBefore = m_dialogs.notices().size();
        m_printForm = [&](PrintSettingsDialogModel& model) {
            EXPECT_TRUE(model.changesOffered()) << c.name;
            model.chooseDevice(OutputDevice::Png);
            model.setDestinationText(pages.path());
            model.setLog(false);
            model.setChangesOnly(true);
            model.chooseSincePrint(c.sincePrint);
            model.setCompareFolderText(c.folder);
            return model.accept();
        };
        const std::optional<PrintRun::Outcome> outcome = commands.print();
        EXPECT_EQ(outcome ? outcome->printed : -1, c.printed) << c.name;
        const std::vector<ScriptedDialogHost::Shown>& notices = m_dialogs.notices();
        if (c.notice) {
            ASSERT_EQ(notices.size(), noticesBefore + 1) << c.name;
            EXPECT_EQ(utf8(notices.back().text).substr(0, std::string(c.notice).size()), c.notice)
                << c.name;
        } else {
            EXPECT_EQ(notices.size(), noticesBefore) << c.name;
        }
        EXPECT_EQ(std::filesystem::exists(record + "b.screenplay.txt"), c.recorded) << c.name;
    }
    EXPECT_EQ(m_app.histories().entries(ChangeCheck::HistorySlot).back().toStdString(),
              older.path())
        << "the folders found go into the history";

    // Scripts chosen elsewhere are printed as they are: no choice offered.
    m_printForm = [](PrintSettingsDialogModel& model) {
        EXPECT_FALSE(model.changesOffered());
        return false;
    };
    LineSelection selection;
    EXPECT_FALSE(commands.print(&selection));
}

TEST_F(MainWindowCommandsTest, TheConvertItemRunsTheConversionDialogOnTheApplicationsState)
{
    m_scenario.write("scene.cpp", "hero.say(5, \"a\");\nhero.say(9, \"b\");\n");
    m_scenario.write("names.txt", "hero,1,主人公\n");
    MainWindowCommands& commands = open();
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::MenuConvert, false));
    EXPECT_EQ(m_conversionDialogs, 1);
    // The dialog's pre-survey left its findings with the application.
    EXPECT_EQ(m_app.conversionState().smallestId(), 5);
    EXPECT_EQ(m_app.conversionState().largestId(), 9);
    EXPECT_EQ(m_app.conversionState().nameDefinitions().size(), 1u);
    EXPECT_FALSE(commands.dispatch(MainWindowCommands::MenuConvert, true)) << "no such button";
    EXPECT_EQ(m_conversionDialogs, 1);
}

TEST_F(MainWindowCommandsTest, TheFolderCommandLoadsWhatTheDialogNames)
{
    MainWindowCommands& commands = open(false);
    EXPECT_EQ(list().rowCount(), 0);
    std::string typed = m_scenario.path();
    typed.pop_back(); // without the trailing "/"
    m_folderTyped = typed;
    EXPECT_TRUE(commands.openFolder());
    EXPECT_EQ(list().rowCount(), 3);
    EXPECT_EQ(m_app.scenarioFolder().toStdString(), m_scenario.path());
    EXPECT_EQ(m_app.histories().entries(FolderSelectionModel::HistorySlot).size(), 1u);

    m_folderTyped = m_scenario.path() + "missing";
    m_keepTicked = true;
    EXPECT_FALSE(commands.openFolder());
    ASSERT_EQ(m_dialogs.notices().size(), 1u);
    EXPECT_EQ(m_dialogs.notices()[0].title, "Quillon Utility");
    EXPECT_TRUE(m_app.keepWordTotals()) << "the request holds for the next load";
    EXPECT_EQ(list().rowCount(), 3);
}

TEST_F(MainWindowCommandsTest, FindSelectsTheRowIgnoringTheCaseOfLetters)
{
    MainWindowCommands& commands = open();
    m_findTyped = "B";
    EXPECT_EQ(commands.find(), rowOf("b.screenplay.txt"));
    EXPECT_TRUE(list().isSelected(rowOf("b.screenplay.txt")));
    EXPECT_EQ(list().focusedRow(), rowOf("b.screenplay.txt"));
    m_findTyped = "b.screenplay.txt";
    EXPECT_EQ(commands.find(), -1) << "the suffix is appended again";
}

TEST_F(MainWindowCommandsTest, ACancelledCheckListDialogDoesNothing)
{
    MainWindowCommands& commands = open();
    const int opens = m_progress.opens();
    EXPECT_TRUE(commands.dispatch(MainWindowCommands::MenuCheckList, false));
    EXPECT_FALSE(commands.writeCheckLists().has_value());
    EXPECT_EQ(m_progress.opens(), opens);
    EXPECT_TRUE(m_dialogs.notices().empty());
}

TEST_F(MainWindowCommandsTest, TheCheckListDialogStartsWithTheScenarioFolderAndTheDefaults)
{
    MainWindowCommands& commands = open();
    int shown = 0;
    m_checkList = [&](CheckListDialogModel& dialog) {
        ++shown;
        EXPECT_EQ(dialog.folderText.toStdString(), m_scenario.path());
        EXPECT_TRUE(dialog.csv);
        EXPECT_TRUE(dialog.sceneList);
        EXPECT_FALSE(dialog.characterList);
        EXPECT_FALSE(dialog.listUnprinted);
        return false;
    };
    EXPECT_FALSE(commands.writeCheckLists().has_value());
    EXPECT_EQ(shown, 1);
}

TEST_F(MainWindowCommandsTest, ConfirmedCheckListsGoIntoTheChosenFolder)
{
    MainWindowCommands& commands = open();
    const std::string out = m_scenario.path() + "out/";
    std::filesystem::create_directory(out);
    m_checkList = [&](CheckListDialogModel& dialog) {
        dialog.folderText = FCString(m_scenario.path() + "out");
        return dialog.accept();
    };
    const auto outcome = commands.writeCheckLists();
    ASSERT_TRUE(outcome.has_value()) << "the dialog was confirmed";
    EXPECT_EQ(outcome->sceneList, CheckListResult::Written);
    EXPECT_FALSE(m_scenario.exists("@sceneCheckList.00000000.csv"));
    EXPECT_TRUE(std::filesystem::exists(out + "@sceneCheckList.00000000.csv"));
    EXPECT_FALSE(std::filesystem::exists(out + "@sceneCheckList.00000001.csv"));
}

class ProgramStartTest : public AppTestFolder {};

TEST_F(ProgramStartTest, TheCommandLineNamesAFolderOrNothing)
{
    ScenarioTestFolder scenario;
    std::string withoutSlash = scenario.path();
    withoutSlash.pop_back();
    scenario.write("note.txt", "x");
    const struct {
        std::string commandLine;
        bool loads;
    } cases[] = {
        {withoutSlash, true},
        {scenario.path(), true},
        {"\"" + withoutSlash + "\"", false},
        {scenario.path() + "note.txt", false},
        {scenario.path() + "missing", false},
        {"", false},
    };
    for (const auto& c : cases) {
        Quillon app;
        ProgramStart::prepare(app, c.commandLine);
        EXPECT_EQ(app.loadAtStart(), c.loads) << c.commandLine;
        EXPECT_EQ(app.scenarioFolder().toStdString(), c.loads ? scenario.path() : "")
            << c.commandLine;
    }
}

TEST_F(ProgramStartTest, RectangleAndHistoriesComeBackOnTheNextStart)
{
    {
        Quillon app;
        ProgramStart::prepare(app, "");
        EXPECT_EQ(app.windowRectangle(), WindowRectangle{}) << "nothing saved yet";
        EXPECT_TRUE(exists("quillon.configuration"));
        app.histories().add(0, FCString("scene01"));
        app.histories().add(1, FCString("/tmp/"));
        ProgramStart::windowClosing(app, {120, 80, 420, 600});
        ProgramStart::finish(app);
    }
    Quillon app;
    ProgramStart::prepare(app, "");
    EXPECT_EQ(app.windowRectangle(), (WindowRectangle{120, 80, 420, 600}));
    ASSERT_EQ(app.histories().entries(0).size(), 1u);
    EXPECT_EQ(app.histories().entries(0)[0].toStdString(), "scene01");
    EXPECT_EQ(app.histories().entries(1)[0].toStdString(), "/tmp/");
}

TEST_F(MainWindowCommandsTest, ACommandTheFileLayerGivesUpOnIsAbandonedNotThrown)
{
    MainWindowCommands& commands = open();
    // The reload reads the three scenes; then the folder's settings file
    // cannot be opened and the user cancels the file layer's box, which
    // raises through the load.
    FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied, 3, -1);
    m_prompt.push(Prompt::Answer::Cancel);
    m_folderTyped = m_scenario.path();
    bool known = false;
    EXPECT_NO_THROW(known = commands.dispatch(MainWindowCommands::MenuOpenFolder, false));
    EXPECT_TRUE(known);
    EXPECT_EQ(m_prompt.questions().size(), 1u) << "the settings file was the one refused";
    EXPECT_EQ(list().rowCount(), 3);
}
