#include "reports/CharacterSelection.h"

#include "ReportsScenario.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "fc/FCXListIterator.h"
#include "platform/ProgramFolders.h"
#include "ui/CatalogueListBinding.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using Names = std::vector<std::string>;
using Entries = std::vector<std::pair<std::string, int32_t>>;

Names targetsOf(const ScriptInfo& record)
{
    Names names;
    FCXListIterator<FCIdString> walk(record.printTargets());
    while (const FCIdString* entry = walk.next())
        names.push_back(entry->toStdString());
    return names;
}

Entries charactersOf(const ScriptInfo& record)
{
    Entries entries;
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* entry = walk.next())
        entries.emplace_back(entry->toStdString(), entry->id());
    return entries;
}

class CharacterSelectionTest : public testing::Test {
protected:
    CharacterSelectionTest()
    {
        m_folder.write("1.screenplay.txt", ".scene\tone\n.A\t1\n.B\t2\n.C\t3\n.total\t6\n");
        m_folder.write("2.screenplay.txt", ".scene\ttwo\n.B\t20\n.D\t40\n.total\t60\n");
        m_folder.write("3.screenplay.txt", ".scene\tthree\n.E\t5\n.total\t5\n");
        m_app.setScenarioFolder(m_folder.path());
        UxProgressDialog progress(m_progress);
        if (!m_app.loadScenarioFolder(progress, m_notices))
            throw std::runtime_error("the test folder did not load");
    }

    ScriptCatalogue& catalogue() { return m_app.catalogue(); }
    ScriptInfo& record(int index) { return catalogue().record(index); }
    UxListViewControl& list() { return m_list; }

    ScenarioTestFolder m_folder;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    ReportsScenario m_app;
    // The main list, for a selection of its rows.
    UxListViewControl m_list;
    CatalogueListBinding m_rows{m_app.catalogue(), m_list};
    ProgramFolders::Scope m_placement{m_folder.path()};
};

} // namespace

TEST_F(CharacterSelectionTest, TheSelectionRecordMergesTheSelectedScenesInListOrder)
{
    record(0).clearPrintTargets();
    record(0).addPrintTarget("A");
    list().selectRow(1);
    list().selectRow(0);
    ScriptInfo selection;
    ASSERT_TRUE(
        CharacterSelection::buildSelection(catalogue(), m_rows.selectedEntries(), selection));
    EXPECT_EQ(charactersOf(selection), (Entries{{"A", 1}, {"B", 22}, {"C", 3}, {"D", 40}}));
    // B is no target of the first scene that has it; D is one of the second.
    EXPECT_EQ(targetsOf(selection), (Names{"A", "D"}));
}

TEST_F(CharacterSelectionTest, NothingChosenMakesNoSelection)
{
    ScriptInfo selection;
    EXPECT_FALSE(CharacterSelection::buildSelection(catalogue(), {}, selection));
    EXPECT_EQ(std::string(CharacterSelection::noSelectionMessage()),
              sj("印刷を抑制するキャラを指定するシナリオファイルが選択されていません。\n"
                 "左のリストボックスで選択してから実行して下さい。リストボックスの対象ファイルを"
                 "ダブルクリックしてもＯＫです。\n"
                 "全ファイルに渡って印刷を抑制するキャラは、「印刷実行...」で設定できます。"));
}

TEST_F(CharacterSelectionTest, SuppressionLeavesTheTargetsAlone)
{
    m_app.printFormat().setSuppressedText(FCString("B\n"));
    m_app.rebuildSuppressedCharacters();
    EXPECT_EQ(targetsOf(record(0)), (Names{"A", "B", "C"}));
    EXPECT_FALSE(CharacterSelection::isPrinted(m_app, catalogue(), 0, "B"));
    EXPECT_FALSE(CharacterSelection::isPrinted(m_app, catalogue(), 1, "B"));
    EXPECT_TRUE(CharacterSelection::isPrinted(m_app, catalogue(), 0, "A"));
    EXPECT_EQ(CharacterSelection::printedCharacterCount(m_app, record(0)), 2);

    m_app.printFormat().setSuppressedText(FCString(""));
    m_app.rebuildSuppressedCharacters();
    EXPECT_TRUE(CharacterSelection::isPrinted(m_app, catalogue(), 1, "B"));
    EXPECT_EQ(CharacterSelection::printedCharacterCount(m_app, record(0)), 3);
}

TEST_F(CharacterSelectionTest, AClearedRowOrAStrangerIsNotPrinted)
{
    catalogue().setTicked(0, false);
    EXPECT_FALSE(CharacterSelection::isPrinted(m_app, catalogue(), 0, "A"));
    EXPECT_FALSE(CharacterSelection::isPrinted(m_app, catalogue(), 1, "A"));
    EXPECT_TRUE(CharacterSelection::isPrinted(m_app, catalogue(), 1, "D"));
}
