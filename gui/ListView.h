#pragma once

#include <QTableView>
#include <memory>
#include <span>
#include <vector>

class ListViewDelegate;
class ListViewModel;
class TextSizeMeasurer;
class UxListViewControl;

// The program's report-style list: a table view over a UxListViewControl
// (through a ListViewModel it makes), with full-row selection of several
// rows, grid lines, no row header and the program's own cell colours.
//
// The selection is one with the list's: the list selecting a row selects it
// here, scrolls to it and takes the focus; the user selecting or deselecting
// rows here selects or deselects them in the list (the current row becomes
// the list's focused row).
//
// Return and Esc typed in the list reach the window it stands in, as from
// any other control of a dialog: Return presses the default button, Esc
// cancels. A list that has a use of its own for them (the main window's,
// where Return opens the preview and Esc must not end the program) keeps
// them with setKeepsReturnAndEscape(true).
//
// While the list's redrawing is off (a list being filled) the view is not
// repainted: it goes on showing what it showed, and shows the list as it
// then stands once redrawing is back on, without first showing it emptied.
//
// The widget can stand in a form (as a promoted QTableView) and get its list
// afterwards.
class ListView : public QTableView {
    Q_OBJECT

public:
    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // Shows the list (not owned; it must outlive the view or be replaced
    // first); null shows nothing.
    void setList(UxListViewControl* list);
    UxListViewControl* list() const { return m_list; }
    ListViewModel* listModel() const { return m_model.get(); }
    ListViewDelegate* cellDelegate() const { return m_delegate; }

    // Sizes the column to its contents and keeps the width in the list.
    void fitColumnToContents(int column);
    // Sizes each column to its contents as resizeColumnToContents does, in
    // the view only, measuring a text that many rows show once, and a text
    // the column's last fit measured not at all (see
    // ListViewDelegate::MeasureOnce); the view is then laid out at once and
    // painted once at the next pass of the event loop.
    void resizeToContents(std::span<const int> columns);
    // The texts the list sets in these columns of the rows a fit measures
    // are laid out ahead, on a thread of their own (see TextSizeMeasurer),
    // so that fitting the columns of a list just filled asks the style for
    // few sizes. Off (no columns) by default.
    void setMeasuredAhead(std::span<const int> columns);

    // With this on, a wheel event whose pointer lies outside the list goes
    // to the parent instead of scrolling the list.
    void setWheelOutsideToParent(bool on) { m_wheelOutsideToParent = on; }
    bool wheelOutsideToParent() const { return m_wheelOutsideToParent; }

    // Files dropped on the list become rows at the end, the path (CP932) in
    // this column; negative turns dropping off (the default). A path with no
    // CP932 form is left out rather than listed under a wrong name.
    void setDropColumn(int column);
    int dropColumn() const { return m_dropColumn; }
    // Rows made from dropped files are ticked.
    void setCheckDroppedRows(bool on) { m_checkDroppedRows = on; }

    // With this on, Return, Enter and Esc typed in the list stay in the
    // list: they neither press the window's default button nor close it.
    // Off by default.
    void setKeepsReturnAndEscape(bool on) { m_keepsReturnAndEscape = on; }
    bool keepsReturnAndEscape() const { return m_keepsReturnAndEscape; }

signals:
    void rowDoubleClicked(int row);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void applyColumnWidth(int column, int width);
    void applyAllColumnWidths();
    void showListSelection(int row);
    void takeViewSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void takeCurrentRow(int row);
    void resyncFromList();
    void attachMeasurer();

    UxListViewControl* m_list = nullptr;
    std::unique_ptr<ListViewModel> m_model;
    ListViewDelegate* m_delegate;
    std::unique_ptr<TextSizeMeasurer> m_measurer;
    std::vector<int> m_measuredColumns;
    int m_dropColumn = -1;
    bool m_checkDroppedRows = false;
    bool m_wheelOutsideToParent = false;
    bool m_keepsReturnAndEscape = false;
    // Set while one side of the selection is being copied to the other.
    bool m_syncing = false;
};
