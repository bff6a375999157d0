#include "app/CharacterSelectionModel.h"

#include "AppTestFolder.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "reports/CharacterSelection.h"
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

Names targetsOf(const ScriptInfo& record)
{
    Names names;
    FCXListIterator<FCIdString> walk(record.printTargets());
    while (const FCIdString* entry = walk.next())
        names.push_back(entry->toStdString());
    return names;
}

// A dialog that unticks the given names and answers OK (or cancel), and
// remembers what it was shown.
CharacterSelectionModel::Dialog untick(Names names, std::vector<CharacterSelectionModel>* shown,
                                       bool ok = true)
{
    return [names, shown, ok](CharacterSelectionModel& model) {
        if (shown)
            shown->push_back(model);
        for (int row = 0; row < model.rowCount(); ++row) {
            for (const std::string& name : names) {
                if (model.rows()[size_t(row)].name == name)
                    model.setTicked(row, false);
            }
        }
        return ok;
    };
}

// Three scenes loaded into the application, shown in the main list.
class CharacterSelectionOfEntriesTest : public AppTestFolder {
protected:
    CharacterSelectionOfEntriesTest()
    {
        m_scenario.write("1.screenplay.txt", ".scene\tone\n.A\t1\n.B\t2\n.C\t3\n.total\t6\n");
        m_scenario.write("2.screenplay.txt", ".scene\ttwo\n.B\t20\n.D\t40\n.total\t60\n");
        m_scenario.write("3.screenplay.txt", ".scene\tthree\n.E\t5\n.total\t5\n");
        m_app.setScenarioFolder(m_scenario.path());
        UxProgressDialog progress(m_progress);
        if (m_app.loadScenarioFolder(progress, m_notices) != FolderLoad::Loaded)
            throw std::runtime_error("the test folder did not load");
    }

    ScriptCatalogue& catalogue() { return m_app.catalogue(); }
    ScriptInfo& record(int index) { return catalogue().record(index); }
    UxListViewControl& list() { return m_window.list(); }
    std::vector<int> selected() const { return m_window.rows().selectedEntries(); }
    std::string text(int row, int column)
    {
        FCString out;
        list().textOfCell(out, row, column);
        return out.toStdString();
    }

    ScenarioTestFolder m_scenario;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    Quillon m_app;
    MainWindowModel m_window{m_app.catalogue()};
};

} // namespace

TEST_F(CharacterSelectionOfEntriesTest, UntickingASharedCharacterChangesEverySelectedScene)
{
    list().selectRow(0);
    list().selectRow(1);
    std::vector<CharacterSelectionModel> shown;
    ASSERT_TRUE(
        CharacterSelectionModel::selectForEntries(catalogue(), selected(), untick({"B"}, &shown)));
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_EQ(shown[0].rowCount(), 4);
    EXPECT_EQ(shown[0].rows()[1].wordCount, 22);

    EXPECT_EQ(targetsOf(record(0)), (Names{"A", "C"}));
    EXPECT_EQ(targetsOf(record(1)), (Names{"D"}));
    EXPECT_EQ(text(0, 1), "2 / 3");
    EXPECT_EQ(text(0, 4), "B");
    EXPECT_EQ(text(1, 1), "1 / 2");
    EXPECT_EQ(text(1, 4), "B");
    EXPECT_EQ(targetsOf(record(2)), (Names{"E"})) << "a row not selected is left alone";
    EXPECT_EQ(text(2, 1), "");

    // D occurs only in the second scene: only that one changes.
    ASSERT_TRUE(
        CharacterSelectionModel::selectForEntries(catalogue(), selected(), untick({"D"}, nullptr)));
    EXPECT_EQ(targetsOf(record(0)), (Names{"A", "C"}));
    EXPECT_EQ(targetsOf(record(1)), Names{});
    EXPECT_EQ(text(1, 4), "B,D");
}

TEST_F(CharacterSelectionOfEntriesTest, NothingSelectedOpensNothing)
{
    bool opened = false;
    auto dialog = [&opened](CharacterSelectionModel&) { return opened = true; };
    EXPECT_FALSE(CharacterSelectionModel::selectForEntries(catalogue(), selected(), dialog));
    EXPECT_FALSE(opened);
}

TEST_F(CharacterSelectionOfEntriesTest, CancelChangesNothing)
{
    list().selectRow(0);
    EXPECT_TRUE(CharacterSelectionModel::selectForEntries(catalogue(), selected(),
                                                          untick({"A", "B"}, nullptr, false)));
    EXPECT_FALSE(
        CharacterSelectionModel::selectForEntry(catalogue(), 0, untick({"A"}, nullptr, false)));
    EXPECT_EQ(targetsOf(record(0)), (Names{"A", "B", "C"}));
    EXPECT_EQ(text(0, 1), "");
}

TEST_F(CharacterSelectionOfEntriesTest, UntickingAllPrintsNothingAndTickingAllClearsTheColumns)
{
    auto untickAll = [](CharacterSelectionModel& model) {
        model.clearAll();
        return true;
    };
    ASSERT_TRUE(CharacterSelectionModel::selectForEntry(catalogue(), 0, untickAll));
    EXPECT_EQ(text(0, 1), "0 / 3");
    EXPECT_EQ(text(0, 4), "A,B,C");
    EXPECT_TRUE(list().isChecked(0)) << "the row stays ticked";
    for (const char* name : {"A", "B", "C"})
        EXPECT_FALSE(CharacterSelection::isPrinted(m_app.context(), catalogue(), 0, name)) << name;

    auto tickAll = [](CharacterSelectionModel& model) {
        model.selectAll();
        return true;
    };
    ASSERT_TRUE(CharacterSelectionModel::selectForEntry(catalogue(), 0, tickAll));
    EXPECT_EQ(text(0, 1), "");
    EXPECT_EQ(text(0, 4), "");
    EXPECT_EQ(targetsOf(record(0)), (Names{"A", "B", "C"}));
}

TEST(CharacterSelectionModelTest, RowsTicksAndTheList)
{
    ScriptInfo record;
    record.appendCharacter("A", 1);
    record.appendCharacter("B", 2);
    record.appendCharacter("C", 3);
    record.clearPrintTargets();
    record.addPrintTarget("C");

    CharacterSelectionModel model(record);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.rows()[2].wordCount, 3);
    EXPECT_FALSE(model.rows()[0].ticked);
    EXPECT_TRUE(model.rows()[2].ticked);
    EXPECT_TRUE(model.toggle(0));
    EXPECT_FALSE(model.toggle(3));
    EXPECT_EQ(model.tickedNames(), (Names{"A", "C"}));
    model.apply(record);
    EXPECT_EQ(targetsOf(record), (Names{"A", "C"})) << "targets follow the list order";

    UxListViewControl list;
    CharacterSelectionModel::defineColumns(list);
    ASSERT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.column(1).title, sj("印刷するキャラ名"));
    EXPECT_EQ(list.column(1).width, 300);
    EXPECT_EQ(list.column(2).title, sj("ワード数"));
    EXPECT_EQ(list.column(2).width, 64);
    model.fillList(list);
    FCString count;
    list.textOfCell(count, 1, 2);
    EXPECT_EQ(count.toStdString(), "2");
    EXPECT_TRUE(list.isChecked(0));
    EXPECT_FALSE(list.isChecked(1));
    list.check(1);
    model.readTicks(list);
    EXPECT_EQ(model.tickedNames(), (Names{"A", "B", "C"}));
    model.clearAll();
    EXPECT_TRUE(model.tickedNames().empty());
    EXPECT_EQ(std::string(CharacterSelectionModel::title()), sj("印刷するキャラの選択"));
}
