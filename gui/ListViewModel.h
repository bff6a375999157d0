#pragma once

#include "ui/UxListViewControl.h"
#include "ui/UxListViewListener.h"

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

class TextSizeMeasurer;

// A Qt table model over the program's in-memory list: rows, columns, texts
// (CP932, shown as Unicode), colours and check boxes. It listens to the list
// (replacing any listener it had) and turns its notifications into the
// model's before/after signals; what a model has no signal for (column
// widths, the list's own selection, redrawing) it passes on as signals of
// its own for the view.
//
// Column 0 of a list with check boxes is checkable: ticked (state image 2)
// shows checked, cleared (1) unchecked, and a user's toggle goes to the
// list's requestCheck().
//
// While the list's redrawing is off, appended rows are not announced one by
// one: the model keeps showing the rows it had and resets once when
// redrawing comes back on, so that filling thousands of rows costs one
// relayout of the view instead of thousands.
class ListViewModel : public QAbstractTableModel, private UxListViewListener {
    Q_OBJECT

public:
    // The cell record as it is, for the delegate.
    enum Role {
        CellKindRole = Qt::UserRole + 1, // int: UxListViewControl::Kind...
        CellTextColourRole,              // uint: 0x00BBGGRR or DefaultColour
        CellBackgroundColourRole,        // uint: 0x00BBGGRR or DefaultColour
        CellValueRole,                   // int: the value attached to the cell
    };

    explicit ListViewModel(UxListViewControl& list, QObject* parent = nullptr);
    // Stops listening to the list.
    ~ListViewModel() override;

    UxListViewControl& list() const { return m_list; }

    // The texts set in these columns of the first rows rows go to the
    // measurer as they are set, shown yet or not, and those the list
    // foresees there before, so that a column fit finds them laid out. Null
    // sends nothing.
    void setMeasuredAhead(TextSizeMeasurer* measurer, std::vector<int> columns, int rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // What a shown cell's size depends on, read from the list as it is:
    // its text (CP932), kind and check box (Qt::CheckState, or -1 without).
    // Cheaper than asking data() for each; false outside the shown cells.
    struct CellLook {
        std::string_view text;
        int kind = 0;
        int check = -1;
    };
    bool cellLook(const QModelIndex& index, CellLook& look) const;

    // A list colour 0x00BBGGRR as a QColor; DefaultColour gives an invalid
    // QColor (the view's palette decides).
    static QColor colourOf(UxListViewControl::Colour colour);
    static UxListViewControl::Colour colourFrom(const QColor& colour);

signals:
    // A column was defined or its width set; 0 hides it (the main list's key
    // column).
    void columnWidthSet(int column, int width);
    // The list selected or deselected a row (see isSelected/focusedRow).
    void rowSelectionChanged(int row);
    // The list's redrawing went off or on; rows appear when it comes on.
    void redrawSwitched(bool on);

private:
    void aboutToClear() override;
    void listCleared() override;
    void columnsAboutToBeInserted(int first, int count) override;
    void columnsInserted(int first, int count) override;
    void columnWidthChanged(int column) override;
    void rowAboutToBeInserted(int row) override;
    void rowInserted(int row) override;
    void cellChanged(int row, int column) override;
    void checkChanged(int row) override;
    void selectionChanged(int row) override;
    void redrawChanged(bool on) override;
    void textsForeseen(int column, std::span<const std::string_view> texts) override;
    bool measuresAhead(int column) const;
    void measureAhead(int row, int column);

    UxListViewControl& m_list;
    // The rows the model has announced; behind the list while redrawing is
    // off.
    int m_shownRows = 0;
    bool m_insertingRow = false;
    TextSizeMeasurer* m_measurer = nullptr;
    std::vector<int> m_measuredColumns;
    int m_measuredRows = 0;
};
