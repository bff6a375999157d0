#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class UxListViewListener;

// The report-style list of the program, kept as an in-memory table of rows
// and columns. A GUI view follows it through a UxListViewListener; without
// one it is a plain table, which is all the headless tools and the tests
// need.
//
// Each row holds one cell record per column and a state image: 0 = no check
// box, 1 = cleared, 2 = ticked. A row counts as chosen unless it is cleared.
// In a list with check boxes (the default) new rows start cleared.
//
// Colours are COLORREF-style integers 0x00BBGGRR (see rgb()); DefaultColour
// stands for the system's window and window-text colours. Texts are CP932.
class UxListViewControl {
public:
    using Colour = uint32_t;
    static constexpr Colour DefaultColour = 0xFFFFFFFFu;
    static constexpr Colour rgb(uint32_t red, uint32_t green, uint32_t blue)
    {
        return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
    }

    static constexpr int StateNone = 0;
    static constexpr int StateCleared = 1;
    static constexpr int StateTicked = 2;

    static constexpr int KindNone = 0;
    static constexpr int KindText = 1;
    static constexpr int KindGauge = 3;

    // Column option: centre the column's texts.
    static constexpr uint32_t ColumnCentred = 1u << 17;

    // One column of a column definition; a negative width ends an array.
    struct ColumnDescriptor {
        const char* title;
        int32_t width;
        uint32_t options = 0;
    };

    struct Column {
        std::string title;
        int32_t width = 0;
        uint32_t options = 0;
    };

    struct Cell {
        int kind = KindNone;
        // Image-list index (column 0 only), -1 = none.
        int32_t image = -1;
        std::string text;
        Colour textColour = DefaultColour;
        Colour backgroundColour = DefaultColour;
        // An integer the caller may attach to the cell.
        int32_t value = 0;
    };

    explicit UxListViewControl(bool checkBoxes = true);
    virtual ~UxListViewControl();

    UxListViewControl(const UxListViewControl&) = delete;
    UxListViewControl& operator=(const UxListViewControl&) = delete;

    // Not owned; null detaches.
    void setListener(UxListViewListener* listener) { m_listener = listener; }
    UxListViewListener* listener() const { return m_listener; }

    bool hasCheckBoxes() const { return m_checkBoxes; }

    // While redrawing is off a view need not repaint; changes still happen.
    void redrawOff();
    void redrawOn();
    bool isRedrawing() const { return m_redraw; }

    // The texts the list expects to show in a column, row by row from the
    // first, before it shows them: a view may prepare them (lay them out)
    // meanwhile. The list is left as it is.
    void foresee(int column, std::span<const std::string_view> texts);

    // Deletes all rows and all columns. The rows' storage is kept for the
    // rows appended next (a list filled anew, as a folder opened again
    // fills it, then reuses it instead of freeing and allocating thousands
    // of small blocks), up to as many rows as the list held; the rows
    // appended are as new ones.
    void clear();

    // Inserts one column per descriptor, up to the first with a negative
    // width, from the index firstColumn on (clamped to the end). Rows that
    // exist get an empty cell in each new column. Returns the number of
    // columns made.
    int defineColumns(std::span<const ColumnDescriptor> columns, int firstColumn = 0);
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const Column& column(int index) const;
    int32_t columnWidth(int column) const;
    bool setColumnWidth(int column, int32_t width);

    // Column 0 of a row that does not exist yet appends a new row (whatever
    // index beyond the end was given) with a fresh cell per column and the
    // given data in column 0. Any other call updates the cell in place.
    // Returns the row index, or -1 when the row or column does not exist.
    int setCell(int row, int column, std::string_view text, Colour textColour = DefaultColour,
                Colour backgroundColour = DefaultColour, int32_t image = -1, int32_t value = 0);
    // Changes an existing cell; a null text keeps the current one.
    bool updateCell(int row, int column, const char* text, Colour textColour,
                    Colour backgroundColour, int32_t image = -1);
    // Changes only the text of an existing cell; colours and image stay.
    bool setText(int row, int column, std::string_view text);
    bool textOfCell(FCString& out, int row, int column) const;
    // The cell's record, or null outside the table.
    const Cell* cell(int row, int column) const;

    int rowCount() const { return static_cast<int>(m_rows.size()); }

    // The first selected row after the given one (-1 = from the start), or -1.
    int nextSelectedRow(int after = -1) const;
    // Selects the row and gives it the focus (other selected rows stay
    // selected, as in a multiple-selection list).
    bool selectRow(int row);
    bool deselectRow(int row);
    void clearSelection();
    bool isSelected(int row) const;
    // The focused row, -1 when none.
    int focusedRow() const { return m_focusedRow; }

    // True unless the row is cleared; false for a row that does not exist.
    bool isChecked(int row) const;
    bool check(int row);
    bool uncheck(int row);
    int stateImage(int row) const;

    // Where the user's ticks go. Without a handler a tick checks or
    // unchecks the row itself; a list that shows the ticks of a model hands
    // them to the model instead, and checks the row once the model says so.
    using TickHandler = std::function<void(int row, bool ticked)>;
    void setTickHandler(TickHandler handler) { m_tickHandler = std::move(handler); }
    // A tick or an untick the user gave a row in a view; false for a row
    // that does not exist.
    bool requestCheck(int row, bool ticked);

private:
    struct Row {
        std::vector<Cell> cells;
        int state = StateNone;
        bool selected = false;
    };

    bool validRow(int row) const { return row >= 0 && row < rowCount(); }
    // A row as a new one is: a fresh cell per column, cleared or without a
    // check box, not selected; made of a spare row's storage when there is
    // one.
    Row freshRow();
    bool validCell(int row, int column) const;
    bool setState(int row, int state);

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    // What the last clear() let go of, for freshRow(), taken in order from
    // the front (a list filled again in the same order finds each row's
    // storage where it was), and how many have been taken.
    std::vector<Row> m_spareRows;
    std::size_t m_spareRowsTaken = 0;
    UxListViewListener* m_listener = nullptr;
    TickHandler m_tickHandler;
    int m_focusedRow = -1;
    bool m_checkBoxes;
    bool m_redraw = true;
};
