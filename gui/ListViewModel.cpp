#include "gui/ListViewModel.h"

#include "gui/QtText.h"
#include "gui/TextSizeMeasurer.h"

#include <algorithm>
#include <utility>

ListViewModel::ListViewModel(UxListViewControl& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_shownRows(list.rowCount())
{
    m_list.setListener(this);
}

ListViewModel::~ListViewModel()
{
    if (m_list.listener() == this)
        m_list.setListener(nullptr);
}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

int ListViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.columnCount();
}

bool ListViewModel::cellLook(const QModelIndex& index, CellLook& look) const
{
    if (!index.isValid() || index.row() >= m_shownRows)
        return false;
    const UxListViewControl::Cell* cell = m_list.cell(index.row(), index.column());
    if (!cell)
        return false;
    look.text = cell->text;
    look.kind = cell->kind;
    look.check = -1;
    if (index.column() == 0) {
        const int state = m_list.stateImage(index.row());
        if (state != UxListViewControl::StateNone)
            look.check = state == UxListViewControl::StateTicked ? Qt::Checked : Qt::Unchecked;
    }
    return true;
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shownRows)
        return {};
    const UxListViewControl::Cell* cell = m_list.cell(index.row(), index.column());
    if (!cell)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return fromCp932(cell->text);
    case Qt::CheckStateRole: {
        const int state = m_list.stateImage(index.row());
        if (index.column() != 0 || state == UxListViewControl::StateNone)
            return {};
        return state == UxListViewControl::StateTicked ? Qt::Checked : Qt::Unchecked;
    }
    case Qt::ForegroundRole:
        return cell->textColour == UxListViewControl::DefaultColour
                   ? QVariant()
                   : QVariant(colourOf(cell->textColour));
    case Qt::BackgroundRole:
        return cell->backgroundColour == UxListViewControl::DefaultColour
                   ? QVariant()
                   : QVariant(colourOf(cell->backgroundColour));
    case Qt::TextAlignmentRole: {
        const bool centred =
            m_list.column(index.column()).options & UxListViewControl::ColumnCentred;
        return int((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case CellKindRole:
        return cell->kind;
    case CellTextColourRole:
        return uint(cell->textColour);
    case CellBackgroundColourRole:
        return uint(cell->backgroundColour);
    case CellValueRole:
        return int(cell->value);
    default:
        return {};
    }
}

bool ListViewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        index.row() >= m_shownRows || !m_list.hasCheckBoxes())
        return false;
    // The user's tick: the list (or the model it shows) decides, and the
    // list tells checkChanged, which emits dataChanged.
    return m_list.requestCheck(index.row(), value.toInt() == Qt::Checked);
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= m_shownRows)
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && m_list.hasCheckBoxes())
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_list.columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const UxListViewControl::Column& column = m_list.column(section);
    if (role == Qt::DisplayRole)
        return fromCp932(column.title);
    if (role == Qt::TextAlignmentRole) {
        const bool centred = column.options & UxListViewControl::ColumnCentred;
        return int((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QColor ListViewModel::colourOf(UxListViewControl::Colour colour)
{
    if (colour == UxListViewControl::DefaultColour)
        return {};
    // 0x00BBGGRR: red in the low byte.
    return QColor(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF));
}

UxListViewControl::Colour ListViewModel::colourFrom(const QColor& colour)
{
    if (!colour.isValid())
        return UxListViewControl::DefaultColour;
    return UxListViewControl::rgb(uint32_t(colour.red()), uint32_t(colour.green()),
                                  uint32_t(colour.blue()));
}

void ListViewModel::aboutToClear()
{
    beginResetModel();
}

void ListViewModel::listCleared()
{
    m_shownRows = 0;
    endResetModel();
}

void ListViewModel::columnsAboutToBeInserted(int first, int count)
{
    beginInsertColumns(QModelIndex(), first, first + count - 1);
}

void ListViewModel::columnsInserted(int first, int count)
{
    endInsertColumns();
    for (int column = first; column < first + count; ++column)
        emit columnWidthSet(column, m_list.columnWidth(column));
}

void ListViewModel::columnWidthChanged(int column)
{
    emit columnWidthSet(column, m_list.columnWidth(column));
}

void ListViewModel::rowAboutToBeInserted(int row)
{
    // Only a row right behind the shown ones can be announced; while
    // redrawing is off the reset at the end shows them all.
    if (!m_list.isRedrawing() || row != m_shownRows)
        return;
    beginInsertRows(QModelIndex(), row, row);
    m_insertingRow = true;
}

void ListViewModel::rowInserted(int row)
{
    measureAhead(row, 0);
    if (!m_insertingRow)
        return;
    m_insertingRow = false;
    m_shownRows = row + 1;
    endInsertRows();
}

void ListViewModel::cellChanged(int row, int column)
{
    measureAhead(row, column);
    if (row >= m_shownRows)
        return;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}

void ListViewModel::checkChanged(int row)
{
    if (row >= m_shownRows)
        return;
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ListViewModel::selectionChanged(int row)
{
    emit rowSelectionChanged(row);
}

void ListViewModel::setMeasuredAhead(TextSizeMeasurer* measurer, std::vector<int> columns, int rows)
{
    m_measurer = measurer;
    m_measuredColumns = std::move(columns);
    m_measuredRows = rows;
}

bool ListViewModel::measuresAhead(int column) const
{
    return m_measurer && std::find(m_measuredColumns.begin(), m_measuredColumns.end(), column) !=
                             m_measuredColumns.end();
}

void ListViewModel::measureAhead(int row, int column)
{
    if (row >= m_measuredRows || !measuresAhead(column))
        return;
    if (const UxListViewControl::Cell* cell = m_list.cell(row, column))
        m_measurer->add(cell->text);
}

void ListViewModel::textsForeseen(int column, std::span<const std::string_view> texts)
{
    if (!measuresAhead(column))
        return;
    for (std::size_t row = 0; row < texts.size() && row < std::size_t(m_measuredRows); ++row)
        m_measurer->add(texts[row]);
}

void ListViewModel::redrawChanged(bool on)
{
    if (on && m_shownRows != m_list.rowCount()) {
        beginResetModel();
        m_shownRows = m_list.rowCount();
        endResetModel();
    }
    emit redrawSwitched(on);
}
