#include "gui/ListView.h"

#include "gui/ListViewDelegate.h"
#include "gui/ListViewModel.h"
#include "gui/TextSizeMeasurer.h"
#include "platform/TextCodec.h"
#include "ui/UxListViewControl.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QUrl>
#include <QWheelEvent>
#include <climits>
#include <set>

ListView::ListView(QWidget* parent) : QTableView(parent), m_delegate(new ListViewDelegate(this))
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    // Tab leaves the list for the next control, as in any dialog.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Rows of one height need no measuring, which keeps long lists fast.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setItemDelegate(m_delegate);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row()); });
}

ListView::~ListView()
{
    // The view lets go of the model before the model goes.
    setModel(nullptr);
}

void ListView::setList(UxListViewControl* list)
{
    // A new model brings a new selection model; the view does not delete
    // the old one itself.
    QItemSelectionModel* oldSelection = selectionModel();
    setModel(nullptr);
    delete oldSelection;
    m_model.reset();
    m_list = list;
    setUpdatesEnabled(true);
    if (!list)
        return;
    m_model = std::make_unique<ListViewModel>(*list);
    attachMeasurer();
    setUpdatesEnabled(list->isRedrawing());
    setModel(m_model.get());
    connect(m_model.get(), &ListViewModel::columnWidthSet, this, &ListView::applyColumnWidth);
    connect(m_model.get(), &ListViewModel::rowSelectionChanged, this, &ListView::showListSelection);
    connect(m_model.get(), &QAbstractItemModel::modelReset, this, &ListView::resyncFromList);
    connect(m_model.get(), &ListViewModel::redrawSwitched, this, &ListView::setUpdatesEnabled);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListView::takeViewSelection);
    // Keys move the current row after the selection has changed.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { takeCurrentRow(current.row()); });
    resyncFromList();
}

void ListView::fitColumnToContents(int column)
{
    if (!m_list || column < 0 || column >= m_list->columnCount())
        return;
    resizeToContents({&column, 1});
    m_list->setColumnWidth(column, columnWidth(column));
}

void ListView::resizeToContents(std::span<const int> columns)
{
    if (m_measurer)
        m_delegate->useLaidOutTexts(m_measurer->take());
    const ListViewDelegate::MeasureOnce once(*m_delegate);
    {
        // The table view hears of each resized column from the header and
        // lays itself out and repaints on a timer, which fires after the
        // next paint and so paints the list a second time. The columns are
        // resized without telling it, and the view laid out (with the rows
        // a reset left to lay out) and repainted once, below.
        const QSignalBlocker quiet(horizontalHeader());
        do {
            for (const int column : columns)
                resizeColumnToContents(column);
        } while (m_delegate->takeWrongGuess());
    }
    executeDelayedItemsLayout();
    updateGeometries();
    viewport()->update();
}

void ListView::setMeasuredAhead(std::span<const int> columns)
{
    m_measuredColumns.assign(columns.begin(), columns.end());
    if (m_measuredColumns.empty()) {
        m_measurer.reset();
    } else if (!m_measurer) {
        m_measurer = std::make_unique<TextSizeMeasurer>();
        m_measurer->setFont(font());
    }
    attachMeasurer();
}

void ListView::attachMeasurer()
{
    if (!m_model)
        return;
    // A column's fit measures the rows in view and then others, up to as
    // many as the column header's precision; after a load the view shows
    // the first rows.
    const int precision = horizontalHeader()->resizeContentsPrecision();
    m_model->setMeasuredAhead(m_measurer.get(), m_measuredColumns,
                              precision < 0 ? INT_MAX : precision);
}

void ListView::setDropColumn(int column)
{
    m_dropColumn = column < 0 ? -1 : column;
    viewport()->setAcceptDrops(m_dropColumn >= 0);
}

void ListView::applyColumnWidth(int column, int width)
{
    // Width 0 is a column the user is not meant to see (a key column).
    if (width <= 0) {
        setColumnHidden(column, true);
        return;
    }
    setColumnHidden(column, false);
    setColumnWidth(column, width);
}

void ListView::applyAllColumnWidths()
{
    if (!m_list)
        return;
    for (int column = 0; column < m_list->columnCount(); ++column)
        applyColumnWidth(column, m_list->columnWidth(column));
}

void ListView::showListSelection(int row)
{
    if (m_syncing || !m_model || row >= m_model->rowCount())
        return;
    QScopedValueRollback<bool> syncing(m_syncing, true);
    const QModelIndex index = m_model->index(row, 0);
    if (!m_list->isSelected(row)) {
        selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        return;
    }
    selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (m_list->focusedRow() == row) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        scrollTo(index);
        setFocus(Qt::OtherFocusReason);
    }
}

void ListView::takeViewSelection(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (m_syncing || !m_list)
        return;
    QScopedValueRollback<bool> syncing(m_syncing, true);
    std::set<int> rows;
    for (const QModelIndex& index : deselected.indexes())
        rows.insert(index.row());
    for (int row : rows) {
        if (!selectionModel()->isRowSelected(row, QModelIndex()))
            m_list->deselectRow(row);
    }
    rows.clear();
    for (const QModelIndex& index : selected.indexes())
        rows.insert(index.row());
    for (int row : rows) {
        if (!m_list->isSelected(row))
            m_list->selectRow(row);
    }
    takeCurrentRow(currentIndex().row());
}

void ListView::takeCurrentRow(int row)
{
    // The list's focused row is the row the user is on, when it is selected.
    if (!m_list || row < 0 || !m_list->isSelected(row) || m_list->focusedRow() == row)
        return;
    QScopedValueRollback<bool> syncing(m_syncing, true);
    m_list->selectRow(row);
}

void ListView::resyncFromList()
{
    applyAllColumnWidths();
    if (!m_list || !m_model || m_model->columnCount() == 0)
        return;
    QScopedValueRollback<bool> syncing(m_syncing, true);
    QItemSelection selection;
    for (int row = m_list->nextSelectedRow(-1); row >= 0 && row < m_model->rowCount();
         row = m_list->nextSelectedRow(row))
        selection.select(m_model->index(row, 0), m_model->index(row, m_model->columnCount() - 1));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const int focused = m_list->focusedRow();
    if (focused >= 0 && focused < m_model->rowCount())
        selectionModel()->setCurrentIndex(m_model->index(focused, 0),
                                          QItemSelectionModel::NoUpdate);
}

void ListView::changeEvent(QEvent* event)
{
    // Another style measures otherwise, even where the option looks the same.
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        m_delegate->forgetSizes();
    if (event->type() == QEvent::FontChange && m_measurer)
        m_measurer->setFont(font());
    QTableView::changeEvent(event);
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // Unless the list keeps them, the keys go on to the window, as from
        // any other control; the table view has no use for them.
        if (m_keepsReturnAndEscape)
            event->accept();
        else
            event->ignore();
        return;
    default:
        QTableView::keyPressEvent(event);
    }
}

void ListView::wheelEvent(QWheelEvent* event)
{
    if (m_wheelOutsideToParent && !viewport()->rect().contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    QTableView::wheelEvent(event);
}

void ListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_dropColumn >= 0 && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    QTableView::dragEnterEvent(event);
}

void ListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_dropColumn >= 0 && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    QTableView::dragMoveEvent(event);
}

void ListView::dropEvent(QDropEvent* event)
{
    if (m_dropColumn < 0 || !m_list || !event->mimeData()->hasUrls()) {
        QTableView::dropEvent(event);
        return;
    }
    if (m_dropColumn >= m_list->columnCount()) {
        event->ignore();
        return;
    }
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        const QByteArray utf8 = url.toLocalFile().toUtf8();
        std::string path;
        if (!TextCodec::fromUtf8Exact(std::string_view(utf8.constData(), utf8.size()), path))
            continue;
        const int row =
            m_list->setCell(m_list->rowCount(), 0, m_dropColumn == 0 ? std::string_view(path) : "");
        if (row < 0)
            continue;
        if (m_dropColumn != 0)
            m_list->setText(row, m_dropColumn, path);
        if (m_checkDroppedRows)
            m_list->check(row);
    }
    event->acceptProposedAction();
}
