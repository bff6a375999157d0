#include "ui/UxListViewControl.h"

#include "ui/UxListViewListener.h"

#include <algorithm>
#include <cassert>

UxListViewControl::UxListViewControl(bool checkBoxes) : m_checkBoxes(checkBoxes) {}

UxListViewControl::~UxListViewControl() = default;

void UxListViewControl::redrawOff()
{
    if (!m_redraw)
        return;
    m_redraw = false;
    if (m_listener)
        m_listener->redrawChanged(false);
}

void UxListViewControl::foresee(int column, std::span<const std::string_view> texts)
{
    if (m_listener)
        m_listener->textsForeseen(column, texts);
}

void UxListViewControl::redrawOn()
{
    if (m_redraw)
        return;
    m_redraw = true;
    if (m_listener)
        m_listener->redrawChanged(true);
}

void UxListViewControl::clear()
{
    if (m_listener)
        m_listener->aboutToClear();
    // Whatever spare rows the last clear left unused go now.
    m_spareRows = std::move(m_rows);
    m_spareRowsTaken = 0;
    m_rows.clear();
    m_rows.reserve(m_spareRows.size());
    m_columns.clear();
    m_focusedRow = -1;
    if (m_listener)
        m_listener->listCleared();
}

int UxListViewControl::defineColumns(std::span<const ColumnDescriptor> columns, int firstColumn)
{
    int at = std::clamp(firstColumn, 0, columnCount());
    const int first = at;
    // The count is announced before the first column goes in.
    const auto end = std::find_if(columns.begin(), columns.end(),
                                  [](const ColumnDescriptor& d) { return d.width < 0; });
    const int announced = static_cast<int>(end - columns.begin());
    if (announced > 0 && m_listener)
        m_listener->columnsAboutToBeInserted(first, announced);
    for (const ColumnDescriptor& descriptor : columns) {
        if (descriptor.width < 0)
            break;
        Column column;
        column.title = descriptor.title ? descriptor.title : "";
        column.width = descriptor.width;
        column.options = descriptor.options;
        m_columns.insert(m_columns.begin() + at, std::move(column));
        for (Row& row : m_rows)
            row.cells.insert(row.cells.begin() + at, Cell());
        ++at;
    }
    const int made = at - first;
    if (made > 0 && m_listener)
        m_listener->columnsInserted(first, made);
    return made;
}

const UxListViewControl::Column& UxListViewControl::column(int index) const
{
    assert(index >= 0 && index < columnCount() && "UxListViewControl::column out of range");
    return m_columns[static_cast<size_t>(index)];
}

int32_t UxListViewControl::columnWidth(int column) const
{
    if (column < 0 || column >= columnCount())
        return 0;
    return m_columns[static_cast<size_t>(column)].width;
}

bool UxListViewControl::setColumnWidth(int column, int32_t width)
{
    if (column < 0 || column >= columnCount() || width < 0)
        return false;
    m_columns[static_cast<size_t>(column)].width = width;
    if (m_listener)
        m_listener->columnWidthChanged(column);
    return true;
}

bool UxListViewControl::validCell(int row, int column) const
{
    return validRow(row) && column >= 0 && column < columnCount();
}

int UxListViewControl::setCell(int row, int column, std::string_view text, Colour textColour,
                               Colour backgroundColour, int32_t image, int32_t value)
{
    if (row < 0 || column < 0 || column >= columnCount())
        return -1;
    const bool inserting = column == 0 && row >= rowCount();
    if (!inserting && !validRow(row))
        return -1;
    if (inserting) {
        if (m_listener)
            m_listener->rowAboutToBeInserted(rowCount());
        m_rows.push_back(freshRow());
        row = rowCount() - 1;
    }
    Cell& cell = m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
    cell.kind = KindText;
    cell.text.assign(text);
    cell.textColour = textColour;
    cell.backgroundColour = backgroundColour;
    cell.image = image;
    cell.value = value;
    if (m_listener) {
        if (inserting)
            m_listener->rowInserted(row);
        else
            m_listener->cellChanged(row, column);
    }
    return row;
}

UxListViewControl::Row UxListViewControl::freshRow()
{
    Row fresh;
    if (m_spareRowsTaken < m_spareRows.size())
        fresh = std::move(m_spareRows[m_spareRowsTaken++]);
    fresh.cells.resize(m_columns.size());
    static const Cell blank;
    for (Cell& cell : fresh.cells) {
        // A new cell, keeping only the room its text had.
        cell.kind = blank.kind;
        cell.image = blank.image;
        cell.text.clear();
        cell.textColour = blank.textColour;
        cell.backgroundColour = blank.backgroundColour;
        cell.value = blank.value;
    }
    fresh.state = m_checkBoxes ? StateCleared : StateNone;
    fresh.selected = false;
    return fresh;
}

bool UxListViewControl::updateCell(int row, int column, const char* text, Colour textColour,
                                   Colour backgroundColour, int32_t image)
{
    if (!validCell(row, column))
        return false;
    Cell& cell = m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
    if (text)
        cell.text.assign(text);
    if (cell.kind == KindNone)
        cell.kind = KindText;
    cell.textColour = textColour;
    cell.backgroundColour = backgroundColour;
    cell.image = image;
    if (m_listener)
        m_listener->cellChanged(row, column);
    return true;
}

bool UxListViewControl::setText(int row, int column, std::string_view text)
{
    if (!validCell(row, column))
        return false;
    Cell& cell = m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
    cell.text.assign(text);
    if (cell.kind == KindNone)
        cell.kind = KindText;
    if (m_listener)
        m_listener->cellChanged(row, column);
    return true;
}

bool UxListViewControl::textOfCell(FCString& out, int row, int column) const
{
    const Cell* found = cell(row, column);
    if (!found)
        return false;
    out.create(256, std::string_view(found->text));
    return true;
}

const UxListViewControl::Cell* UxListViewControl::cell(int row, int column) const
{
    if (!validCell(row, column))
        return nullptr;
    return &m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
}

int UxListViewControl::nextSelectedRow(int after) const
{
    for (int row = std::max(after + 1, 0); row < rowCount(); ++row) {
        if (m_rows[static_cast<size_t>(row)].selected)
            return row;
    }
    return -1;
}

bool UxListViewControl::selectRow(int row)
{
    if (!validRow(row))
        return false;
    m_rows[static_cast<size_t>(row)].selected = true;
    m_focusedRow = row;
    if (m_listener)
        m_listener->selectionChanged(row);
    return true;
}

bool UxListViewControl::deselectRow(int row)
{
    if (!validRow(row))
        return false;
    m_rows[static_cast<size_t>(row)].selected = false;
    if (m_listener)
        m_listener->selectionChanged(row);
    return true;
}

void UxListViewControl::clearSelection()
{
    for (int row = 0; row < rowCount(); ++row) {
        if (m_rows[static_cast<size_t>(row)].selected)
            deselectRow(row);
    }
}

bool UxListViewControl::isSelected(int row) const
{
    return validRow(row) && m_rows[static_cast<size_t>(row)].selected;
}

bool UxListViewControl::isChecked(int row) const
{
    return validRow(row) && m_rows[static_cast<size_t>(row)].state != StateCleared;
}

bool UxListViewControl::check(int row)
{
    return setState(row, StateTicked);
}

bool UxListViewControl::uncheck(int row)
{
    return setState(row, StateCleared);
}

bool UxListViewControl::requestCheck(int row, bool ticked)
{
    if (!validRow(row))
        return false;
    if (!m_tickHandler)
        return ticked ? check(row) : uncheck(row);
    m_tickHandler(row, ticked);
    return true;
}

int UxListViewControl::stateImage(int row) const
{
    return validRow(row) ? m_rows[static_cast<size_t>(row)].state : StateNone;
}

bool UxListViewControl::setState(int row, int state)
{
    if (!validRow(row))
        return false;
    Row& target = m_rows[static_cast<size_t>(row)];
    if (target.state == state)
        return true;
    target.state = state;
    if (m_listener)
        m_listener->checkChanged(row);
    return true;
}
