#include "gui/ListViewModel.h"

#include "GuiTestSupport.h"
#include "TestText.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <array>
#include <gtest/gtest.h>
#include <string>

namespace {

using Colour = UxListViewControl::Colour;

// The six columns of the main list: check box, information, scene file,
// characters, suppressed characters and the hidden record key.
void defineMainColumns(UxListViewControl& list)
{
    static const std::string info = sj("情報");
    static const std::string scene = sj("シナリオ名");
    static const std::string characters = sj("登場キャラ");
    static const std::string suppressed = sj("抑制キャラ");
    const std::array<UxListViewControl::ColumnDescriptor, 7> columns{{{"", 24},
                                                                      {info.c_str(), 42},
                                                                      {scene.c_str(), 160},
                                                                      {characters.c_str(), 200},
                                                                      {suppressed.c_str(), 200},
                                                                      {"", 0},
                                                                      {nullptr, -1}}};
    list.defineColumns(columns);
}

// A model checked for consistency by Qt's own model tester: every insert and
// reset is announced as the toolkit requires, or a warning is collected.
class ListViewModelTest : public testing::Test {
protected:
    ListViewModelTest() { defineMainColumns(m_list); }

    void TearDown() override
    {
        EXPECT_TRUE(m_warnings.warnings().isEmpty())
            << m_warnings.warnings().join('\n').toStdString();
    }

    QString display(int row, int column) const
    {
        return m_model.data(m_model.index(row, column)).toString();
    }

    QtWarningCollector m_warnings;
    UxListViewControl m_list;
    ListViewModel m_model{m_list};
    QAbstractItemModelTester m_tester{&m_model,
                                      QAbstractItemModelTester::FailureReportingMode::Warning};
};

} // namespace

TEST_F(ListViewModelTest, RowsAndTextsMirrorTheList)
{
    QSignalSpy inserted(&m_model, &QAbstractItemModel::rowsInserted);
    m_list.setCell(0, 0, "");
    m_list.setText(0, 2, sj("一話.screenplay.txt"));
    m_list.setText(0, 3, sj("太郎,花子"));
    m_list.setText(0, 5, "17");
    m_list.setCell(1, 0, "");

    EXPECT_EQ(m_model.rowCount(), 2);
    EXPECT_EQ(m_model.columnCount(), 6);
    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(display(0, 2), QString::fromUtf8("一話.screenplay.txt"));
    EXPECT_EQ(display(0, 3), QString::fromUtf8("太郎,花子"));
    EXPECT_EQ(display(0, 5), QString("17")) << "the key is in the model, only the view hides it";
    EXPECT_EQ(display(1, 2), QString());
    EXPECT_EQ(m_model.headerData(2, Qt::Horizontal).toString(), QString::fromUtf8("シナリオ名"));
    EXPECT_EQ(m_model.headerData(5, Qt::Horizontal).toString(), QString());
}

TEST_F(ListViewModelTest, ALongCellTextComesThroughWhole)
{
    // 300 double-byte characters: 600 bytes of CP932.
    std::string utf8Text;
    for (int i = 0; i < 300; ++i)
        utf8Text += "字";
    const std::string text = sj(utf8Text);
    ASSERT_EQ(text.size(), 600u);
    m_list.setCell(0, 0, "");
    m_list.setText(0, 3, text);
    EXPECT_EQ(display(0, 3), QString::fromUtf8(utf8Text));
    EXPECT_EQ(display(0, 3).size(), 300);
}

TEST_F(ListViewModelTest, CellChangesAreSignalledForTheirCell)
{
    m_list.setCell(0, 0, "");
    m_list.setCell(1, 0, "");
    QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);
    m_list.setText(1, 4, sj("花子"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), m_model.index(1, 4));
    EXPECT_EQ(display(1, 4), QString::fromUtf8("花子"));
}

TEST_F(ListViewModelTest, ClearResetsTheModel)
{
    m_list.setCell(0, 0, "");
    m_list.setCell(1, 0, "");
    QSignalSpy aboutToReset(&m_model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy reset(&m_model, &QAbstractItemModel::modelReset);
    m_list.clear();
    EXPECT_EQ(aboutToReset.count(), 1);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(m_model.rowCount(), 0);
    EXPECT_EQ(m_model.columnCount(), 0);

    QSignalSpy columns(&m_model, &QAbstractItemModel::columnsInserted);
    defineMainColumns(m_list);
    EXPECT_EQ(columns.count(), 1);
    EXPECT_EQ(m_model.columnCount(), 6);
}

TEST_F(ListViewModelTest, CheckBoxesFollowTheListAndWriteBack)
{
    m_list.setCell(0, 0, "");
    m_list.setCell(1, 0, "");
    m_list.check(0);
    const QModelIndex first = m_model.index(0, 0);
    const QModelIndex second = m_model.index(1, 0);
    EXPECT_EQ(m_model.data(first, Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(m_model.data(second, Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(m_model.data(m_model.index(0, 1), Qt::CheckStateRole).isValid())
        << "only column 0 has a check box";
    EXPECT_TRUE(m_model.flags(first) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(m_model.flags(m_model.index(0, 2)) & Qt::ItemIsUserCheckable);

    // The list's change reaches the model as a change of the check state.
    QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);
    m_list.check(1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), second);
    EXPECT_EQ(m_model.data(second, Qt::CheckStateRole).toInt(), Qt::Checked);

    // A toggle in the view writes the state image back.
    EXPECT_TRUE(m_model.setData(first, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(m_list.stateImage(0), UxListViewControl::StateCleared);
    EXPECT_TRUE(m_model.setData(first, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(m_list.stateImage(0), UxListViewControl::StateTicked);
    EXPECT_FALSE(m_model.setData(m_model.index(0, 2), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(m_model.setData(first, QString("x"), Qt::EditRole));
}

TEST_F(ListViewModelTest, AListWithoutCheckBoxesHasNone)
{
    UxListViewControl plain(false);
    defineMainColumns(plain);
    plain.setCell(0, 0, "x");
    ListViewModel model(plain);
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::CheckStateRole).isValid());
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(model.rowCount(), 1) << "rows already in the list show at once";
}

TEST_F(ListViewModelTest, ColoursComeAsTheyAreAndAsQColors)
{
    const Colour noSpeaker = UxListViewControl::rgb(0xC0, 0xC0, 0xE0);
    m_list.setCell(0, 0, "", UxListViewControl::DefaultColour, noSpeaker);
    const QModelIndex cell = m_model.index(0, 0);
    EXPECT_EQ(m_model.data(cell, ListViewModel::CellBackgroundColourRole).toUInt(), noSpeaker);
    EXPECT_EQ(m_model.data(cell, Qt::BackgroundRole).value<QColor>(), QColor(0xC0, 0xC0, 0xE0));
    EXPECT_FALSE(m_model.data(cell, Qt::ForegroundRole).isValid())
        << "the default colour is the view's own";
    EXPECT_EQ(m_model.data(cell, ListViewModel::CellTextColourRole).toUInt(),
              UxListViewControl::DefaultColour);
    EXPECT_EQ(ListViewModel::colourFrom(QColor(1, 2, 3)), UxListViewControl::rgb(1, 2, 3));
    EXPECT_EQ(ListViewModel::colourFrom(QColor()), UxListViewControl::DefaultColour);
}

TEST_F(ListViewModelTest, WidthsOfNewColumnsAndChangedWidthsAreTold)
{
    UxListViewControl list;
    ListViewModel model(list);
    QSignalSpy widths(&model, &ListViewModel::columnWidthSet);
    defineMainColumns(list);
    ASSERT_EQ(widths.count(), 6);
    EXPECT_EQ(widths[2][0].toInt(), 2);
    EXPECT_EQ(widths[2][1].toInt(), 160);
    EXPECT_EQ(widths[5][1].toInt(), 0) << "the key column is defined hidden";
    list.setColumnWidth(3, 321);
    ASSERT_EQ(widths.count(), 7);
    EXPECT_EQ(widths[6][0].toInt(), 3);
    EXPECT_EQ(widths[6][1].toInt(), 321);
}

TEST_F(ListViewModelTest, RowsAddedWhileRedrawIsOffAppearWithOneReset)
{
    m_list.setCell(0, 0, "before");
    QSignalSpy inserted(&m_model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&m_model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);

    m_list.redrawOff();
    for (int i = 0; i < 500; ++i) {
        const int row = m_list.setCell(m_list.rowCount(), 0, "");
        m_list.setText(row, 2, std::to_string(i));
        m_list.check(row);
    }
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(m_model.rowCount(), 1) << "the model keeps its shape until redraw is back";
    EXPECT_FALSE(m_model.data(m_model.index(1, 2)).isValid());

    m_list.redrawOn();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(m_model.rowCount(), 501);
    EXPECT_EQ(display(500, 2), QString("499"));
    EXPECT_EQ(m_model.data(m_model.index(500, 0), Qt::CheckStateRole).toInt(), Qt::Checked);

    // With redraw on again, rows are announced one by one.
    m_list.setCell(m_list.rowCount(), 0, "");
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(reset.count(), 1);
}

TEST_F(ListViewModelTest, ClearingWhileRedrawIsOffStaysConsistent)
{
    m_list.setCell(0, 0, "");
    m_list.redrawOff();
    m_list.clear();
    defineMainColumns(m_list);
    m_list.setCell(0, 0, "");
    m_list.setCell(1, 0, "");
    EXPECT_EQ(m_model.rowCount(), 0);
    m_list.redrawOn();
    EXPECT_EQ(m_model.rowCount(), 2);
}

TEST(ListViewModelLifetimeTest, TheModelStopsListeningWhenItGoes)
{
    UxListViewControl list;
    {
        ListViewModel model(list);
        EXPECT_NE(list.listener(), nullptr);
    }
    EXPECT_EQ(list.listener(), nullptr);
    defineMainColumns(list);
    list.setCell(0, 0, "still works without a model");
    EXPECT_EQ(list.rowCount(), 1);
}
