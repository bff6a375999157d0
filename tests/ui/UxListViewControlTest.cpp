#include "ui/UxListViewControl.h"

#include "ui/UxListViewListener.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Colour = UxListViewControl::Colour;

void defineThreeColumns(UxListViewControl& list)
{
    const std::array<UxListViewControl::ColumnDescriptor, 4> columns{
        {{"a", 10}, {"b", 20}, {"c", 30}, {"never", -1}}};
    list.defineColumns(columns);
}

std::string textAt(const UxListViewControl& list, int row, int column)
{
    FCString out("unchanged");
    if (!list.textOfCell(out, row, column))
        return "<none>";
    return out.toStdString();
}

class RecordingListener : public UxListViewListener {
public:
    void listCleared() override { events.push_back("cleared"); }
    void columnsInserted(int first, int count) override
    {
        events.push_back("columns " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowInserted(int row) override { events.push_back("row " + std::to_string(row)); }
    void cellChanged(int row, int column) override
    {
        events.push_back("cell " + std::to_string(row) + "," + std::to_string(column));
    }
    void checkChanged(int row) override { events.push_back("check " + std::to_string(row)); }
    void redrawChanged(bool on) override { events.push_back(on ? "redraw on" : "redraw off"); }
    std::vector<std::string> events;
};

void defineColumns(UxListViewControl& list, int count)
{
    const std::vector<UxListViewControl::ColumnDescriptor> columns(std::size_t(count), {"c", 50});
    list.defineColumns(columns);
}

// Everything the list tells of its rows, one line per row.
std::string rowsOf(const UxListViewControl& list)
{
    std::string out = "focused " + std::to_string(list.focusedRow()) + "\n";
    for (int row = 0; row < list.rowCount(); ++row) {
        out += std::to_string(list.stateImage(row)) + (list.isSelected(row) ? " selected" : "");
        for (int column = 0; column < list.columnCount(); ++column) {
            const UxListViewControl::Cell& cell = *list.cell(row, column);
            out += " | " + std::to_string(cell.kind) + ' ' + std::to_string(cell.image) + " '" +
                   cell.text + "' " + std::to_string(cell.textColour) + ' ' +
                   std::to_string(cell.backgroundColour) + ' ' + std::to_string(cell.value);
        }
        out += '\n';
    }
    return out;
}

} // namespace

TEST(UxListViewControlTest, ColumnZeroBeyondTheEndAppendsARowAndOtherCallsUpdate)
{
    UxListViewControl list;
    defineThreeColumns(list);
    EXPECT_EQ(list.columnCount(), 3);

    EXPECT_EQ(list.setCell(7, 0, "first"), 0);
    EXPECT_EQ(list.setCell(0, 0, "second row?"), 0) << "an existing row is updated, not inserted";
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_EQ(textAt(list, 0, 0), "second row?");

    EXPECT_EQ(list.setCell(list.rowCount(), 0, "next"), 1);
    EXPECT_EQ(list.setCell(1, 2, "right"), 1);
    EXPECT_EQ(textAt(list, 1, 1), "") << "a new row has an empty cell per column";
    EXPECT_EQ(textAt(list, 1, 2), "right");

    EXPECT_EQ(list.setCell(5, 1, "no such row"), -1);
    EXPECT_EQ(list.setCell(0, 3, "no such column"), -1);
    EXPECT_EQ(list.setCell(-1, 0, "negative"), -1);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(textAt(list, 0, 3), "<none>");
    EXPECT_EQ(textAt(list, 2, 0), "<none>");
}

TEST(UxListViewControlTest, CellsKeepColoursImageAndValue)
{
    UxListViewControl list;
    defineThreeColumns(list);
    const Colour background = UxListViewControl::rgb(0xC0, 0xC0, 0xE0);
    EXPECT_EQ(background, 0x00E0C0C0u);
    list.setCell(0, 0, "x", UxListViewControl::rgb(1, 2, 3), background, 4, 99);
    const UxListViewControl::Cell* cell = list.cell(0, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->kind, UxListViewControl::KindText);
    EXPECT_EQ(cell->textColour, 0x030201u);
    EXPECT_EQ(cell->backgroundColour, background);
    EXPECT_EQ(cell->image, 4);
    EXPECT_EQ(cell->value, 99);
    EXPECT_EQ(list.cell(0, 1)->backgroundColour, UxListViewControl::DefaultColour);

    // updateCell without a text keeps it; setText keeps the colours.
    EXPECT_TRUE(list.updateCell(0, 0, nullptr, 5, 6));
    EXPECT_EQ(list.cell(0, 0)->text, "x");
    EXPECT_EQ(list.cell(0, 0)->backgroundColour, 6u);
    EXPECT_TRUE(list.setText(0, 0, "y"));
    EXPECT_EQ(list.cell(0, 0)->text, "y");
    EXPECT_EQ(list.cell(0, 0)->textColour, 5u);
    EXPECT_FALSE(list.updateCell(1, 0, "missing", 0, 0));
    EXPECT_FALSE(list.setText(0, 9, "missing"));
}

TEST(UxListViewControlTest, LongCellTextsComeBackWhole)
{
    UxListViewControl list;
    defineThreeColumns(list);
    const std::string text(600, 'k');
    list.setCell(0, 0, text);
    EXPECT_EQ(textAt(list, 0, 0), text);
}

TEST(UxListViewControlTest, CheckStatesFollowTheCheckBoxStyle)
{
    UxListViewControl boxes;
    defineThreeColumns(boxes);
    boxes.setCell(0, 0, "r");
    EXPECT_EQ(boxes.stateImage(0), UxListViewControl::StateCleared);
    EXPECT_FALSE(boxes.isChecked(0));
    EXPECT_TRUE(boxes.check(0));
    EXPECT_EQ(boxes.stateImage(0), UxListViewControl::StateTicked);
    EXPECT_TRUE(boxes.isChecked(0));
    EXPECT_TRUE(boxes.uncheck(0));
    EXPECT_FALSE(boxes.isChecked(0));
    EXPECT_FALSE(boxes.check(1));
    EXPECT_FALSE(boxes.isChecked(1)) << "a row that does not exist is not chosen";

    // Without check boxes a row has no state image and counts as chosen.
    UxListViewControl plain(false);
    defineThreeColumns(plain);
    plain.setCell(0, 0, "r");
    EXPECT_EQ(plain.stateImage(0), UxListViewControl::StateNone);
    EXPECT_TRUE(plain.isChecked(0));
}

TEST(UxListViewControlTest, AUsersTickGoesToTheHandlerWhenThereIsOne)
{
    UxListViewControl list;
    defineThreeColumns(list);
    list.setCell(0, 0, "r");
    EXPECT_TRUE(list.requestCheck(0, true));
    EXPECT_TRUE(list.isChecked(0)) << "without a handler the row takes the tick";
    EXPECT_FALSE(list.requestCheck(1, true));

    std::vector<std::pair<int, bool>> asked;
    list.setTickHandler([&asked](int row, bool ticked) { asked.emplace_back(row, ticked); });
    EXPECT_TRUE(list.requestCheck(0, false));
    EXPECT_TRUE(list.isChecked(0)) << "the handler decides";
    EXPECT_FALSE(list.requestCheck(-1, false));
    EXPECT_EQ(asked, (std::vector<std::pair<int, bool>>{{0, false}}));
}

TEST(UxListViewControlTest, ClearDropsRowsAndColumnsAndWidthsComeBackWithTheDefinition)
{
    UxListViewControl list;
    defineThreeColumns(list);
    list.setCell(0, 0, "r");
    list.selectRow(0);
    list.setColumnWidth(1, 400);
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.columnCount(), 0);
    EXPECT_EQ(list.focusedRow(), -1);
    EXPECT_EQ(list.setCell(0, 0, "no columns"), -1);
    defineThreeColumns(list);
    EXPECT_EQ(list.columnWidth(1), 20);
    EXPECT_EQ(list.column(1).title, "b");
}

TEST(UxListViewControlTest, RowsFilledAgainAfterAClearAreAsNewOnes)
{
    // A list whose rows held everything a row can hold, cleared and filled
    // again, shows exactly what a new list filled the same way shows.
    struct Refill {
        const char* what;
        int columns;
        int rows;
    };
    const Refill refills[] = {
        {"the same shape", 3, 4}, {"fewer rows", 3, 2},    {"more rows", 3, 7},
        {"more columns", 5, 4},   {"fewer columns", 2, 4},
    };
    for (const Refill& refill : refills) {
        UxListViewControl used;
        defineColumns(used, 3);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column)
                used.setCell(row, column, std::string(40, char('a' + column)), 0x123456, 0x654321,
                             7, 99);
            used.check(row);
            used.selectRow(row);
        }
        used.clear();
        UxListViewControl fresh;
        for (UxListViewControl* list : {&used, &fresh}) {
            defineColumns(*list, refill.columns);
            for (int row = 0; row < refill.rows; ++row) {
                list->setCell(row, 0, "row " + std::to_string(row));
                if (row % 2 != 0)
                    list->setText(row, 1, "odd");
            }
        }
        EXPECT_EQ(rowsOf(used), rowsOf(fresh)) << refill.what;
    }
}

TEST(UxListViewControlTest, ColumnsInsertedBetweenGiveExistingRowsEmptyCells)
{
    UxListViewControl list;
    defineThreeColumns(list);
    list.setCell(0, 0, "A");
    list.setCell(0, 1, "B");
    const std::array<UxListViewControl::ColumnDescriptor, 1> extra{{{"new", 5}}};
    EXPECT_EQ(list.defineColumns(extra, 1), 1);
    EXPECT_EQ(list.columnCount(), 4);
    EXPECT_EQ(list.column(1).title, "new");
    EXPECT_EQ(textAt(list, 0, 0), "A");
    EXPECT_EQ(textAt(list, 0, 1), "");
    EXPECT_EQ(textAt(list, 0, 2), "B");
    EXPECT_EQ(list.defineColumns(extra, 99), 1) << "a first column past the end appends";
    EXPECT_EQ(list.column(4).title, "new");
}

TEST(UxListViewControlTest, SelectedRowsAreWalkedInOrder)
{
    UxListViewControl list;
    defineThreeColumns(list);
    for (int i = 0; i < 5; ++i)
        list.setCell(i, 0, std::to_string(i));
    EXPECT_EQ(list.nextSelectedRow(), -1);
    list.selectRow(3);
    list.selectRow(1);
    EXPECT_EQ(list.focusedRow(), 1);
    std::vector<int> walked;
    for (int row = list.nextSelectedRow(-1); row >= 0; row = list.nextSelectedRow(row))
        walked.push_back(row);
    EXPECT_EQ(walked, (std::vector<int>{1, 3}));
    list.deselectRow(1);
    EXPECT_EQ(list.nextSelectedRow(-1), 3);
    EXPECT_EQ(list.nextSelectedRow(3), -1);
    list.clearSelection();
    EXPECT_EQ(list.nextSelectedRow(-1), -1);
    EXPECT_FALSE(list.selectRow(5));
}

TEST(UxListViewControlTest, TheListenerHearsEveryChange)
{
    UxListViewControl list;
    RecordingListener listener;
    list.setListener(&listener);
    list.redrawOff();
    list.redrawOff();
    defineThreeColumns(list);
    list.setCell(0, 0, "r");
    list.setCell(0, 2, "c");
    list.check(0);
    list.check(0);
    list.redrawOn();
    list.clear();
    EXPECT_EQ(listener.events,
              (std::vector<std::string>{"redraw off", "columns 0+3", "row 0", "cell 0,2", "check 0",
                                        "redraw on", "cleared"}));
    EXPECT_TRUE(list.isRedrawing());
}

namespace {

// Records each structural notification with the shape of the table at that
// moment, so that a test sees whether it came before or after the change.
class ShapeRecordingListener : public UxListViewListener {
public:
    explicit ShapeRecordingListener(const UxListViewControl& list) : m_list(list) {}

    void aboutToClear() override { record("before clear"); }
    void listCleared() override { record("cleared"); }
    void columnsAboutToBeInserted(int first, int count) override
    {
        record("before columns " + std::to_string(first) + "+" + std::to_string(count));
    }
    void columnsInserted(int first, int count) override
    {
        record("columns " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowAboutToBeInserted(int row) override { record("before row " + std::to_string(row)); }
    void rowInserted(int row) override { record("row " + std::to_string(row)); }
    void cellChanged(int row, int column) override
    {
        record("cell " + std::to_string(row) + "," + std::to_string(column));
    }

    std::vector<std::string> events;

private:
    // "<event> @rows x columns".
    void record(const std::string& what)
    {
        events.push_back(what + " @" + std::to_string(m_list.rowCount()) + "x" +
                         std::to_string(m_list.columnCount()));
    }

    const UxListViewControl& m_list;
};

} // namespace

TEST(UxListViewControlTest, StructuralChangesAreAnnouncedBeforeAndReportedAfter)
{
    UxListViewControl list;
    ShapeRecordingListener listener(list);
    list.setListener(&listener);

    defineThreeColumns(list);
    list.setCell(0, 0, "r0");
    list.setCell(4, 0, "r1");
    list.setCell(1, 1, "update, no insert");
    const std::array<UxListViewControl::ColumnDescriptor, 3> two{
        {{"x", 1}, {"y", 2}, {"stop", -1}}};
    list.defineColumns(two, 1);
    list.clear();

    EXPECT_EQ(listener.events,
              (std::vector<std::string>{"before columns 0+3 @0x0", "columns 0+3 @0x3", //
                                        "before row 0 @0x3", "row 0 @1x3",             //
                                        "before row 1 @1x3", "row 1 @2x3",             //
                                        "cell 1,1 @2x3",                               //
                                        "before columns 1+2 @2x3", "columns 1+2 @2x5", //
                                        "before clear @2x5", "cleared @0x0"}));
}

TEST(UxListViewControlTest, NothingIsAnnouncedForChangesThatDoNotHappen)
{
    UxListViewControl list;
    ShapeRecordingListener listener(list);
    list.setListener(&listener);

    // An empty definition, a definition that ends at once, and inserts that
    // are refused leave the table as it was and announce nothing.
    list.defineColumns({});
    const std::array<UxListViewControl::ColumnDescriptor, 1> ended{{{"end", -1}}};
    EXPECT_EQ(list.defineColumns(ended), 0);
    EXPECT_EQ(list.setCell(0, 0, "no columns yet"), -1);
    defineThreeColumns(list);
    listener.events.clear();
    EXPECT_EQ(list.setCell(0, 1, "not column 0"), -1);
    EXPECT_EQ(list.setCell(-1, 0, "negative"), -1);
    EXPECT_EQ(list.setCell(0, 3, "no such column"), -1);
    EXPECT_TRUE(listener.events.empty()) << listener.events.front();
}
