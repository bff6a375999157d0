#include "ui/CatalogueListBinding.h"

#include "ScenarioTestFolder.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Two scenes, the second without a speaking character, in a catalogue.
class CatalogueListBindingTest : public testing::Test {
protected:
    CatalogueListBindingTest()
    {
        m_folder.write("a.screenplay.txt", ".A\t1\n.B\t2\n.total\t3\n");
        m_folder.write("b.screenplay.txt", ".total\t0\n");
    }
    void load()
    {
        ScriptInfo totals;
        UxProgressDialog progress(m_progress);
        ASSERT_EQ(
            m_catalogue.loadFolder(FCString(m_folder.path()), totals, false, progress, m_notices),
            FolderLoad::Loaded);
    }
    std::string text(int row, int column) const { return m_list.cell(row, column)->text; }

    ScenarioTestFolder m_folder;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    ScriptCatalogue m_catalogue;
    UxListViewControl m_list;
};

} // namespace

TEST_F(CatalogueListBindingTest, TicksGoToTheCatalogueAndTheRowsShowIt)
{
    CatalogueListBinding rows(m_catalogue, m_list);
    load();
    ASSERT_EQ(m_list.rowCount(), 2);
    ASSERT_EQ(m_catalogue.fileName(1).toStdString(), "b.screenplay.txt");
    EXPECT_TRUE(m_list.isChecked(0));
    EXPECT_FALSE(m_list.isChecked(1));

    // The user's untick changes the entry, which the row then shows.
    EXPECT_TRUE(m_list.requestCheck(0, false));
    EXPECT_FALSE(m_catalogue.isTicked(0));
    EXPECT_FALSE(m_list.isChecked(0));
    m_catalogue.setAllTicked(true);
    EXPECT_TRUE(m_list.isChecked(0));
    EXPECT_TRUE(m_list.isChecked(1));

    const std::vector<std::string> targets{"B"};
    ASSERT_TRUE(m_catalogue.setPrintTargets(0, targets));
    EXPECT_EQ(text(0, CatalogueListBinding::ColumnInfo), "1 / 2");
    EXPECT_EQ(text(0, CatalogueListBinding::ColumnSuppressed), "A");
    EXPECT_EQ(text(0, CatalogueListBinding::ColumnCharacters), "A,B");

    m_list.selectRow(1);
    m_list.selectRow(0);
    EXPECT_EQ(rows.selectedEntries(), (std::vector<int>{0, 1})) << "in row order";

    m_catalogue.clear();
    EXPECT_EQ(m_list.rowCount(), 0);
    EXPECT_EQ(m_list.columnCount(), CatalogueListBinding::ColumnCount);
    EXPECT_EQ(rows.entryOfRow(0), -1);
}

TEST_F(CatalogueListBindingTest, ABindingShowsWhatIsLoadedAlreadyAndLetsGo)
{
    load();
    {
        CatalogueListBinding rows(m_catalogue, m_list);
        ASSERT_EQ(m_list.rowCount(), 2);
        EXPECT_EQ(text(1, CatalogueListBinding::ColumnFileName), "b.screenplay.txt");
        EXPECT_EQ(m_list.cell(1, CatalogueListBinding::ColumnHidden)->backgroundColour,
                  CatalogueListBinding::NoSpeakerBackground);
    }
    // Gone: the list keeps its rows and takes ticks itself again.
    m_catalogue.setTicked(0, false);
    EXPECT_TRUE(m_list.isChecked(0));
    EXPECT_TRUE(m_list.requestCheck(1, true));
    EXPECT_TRUE(m_list.isChecked(1));
    EXPECT_FALSE(m_catalogue.isTicked(1));
}
