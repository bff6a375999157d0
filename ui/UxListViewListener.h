#pragma once

#include <span>
#include <string_view>

// Follows the changes of a UxListViewControl, so that a view drawn by a GUI
// toolkit can mirror the in-memory table. Notifications come after the
// change; the structural ones (clearing, inserting columns or a row) are
// also announced before it, since a toolkit model must announce an insert or
// a reset while the table still has its old shape. The default bodies ignore
// everything.
class UxListViewListener {
public:
    virtual ~UxListViewListener();

    // All rows and all columns are about to go; the table is still whole.
    virtual void aboutToClear() {}
    // All rows and all columns are gone.
    virtual void listCleared() {}
    // count columns are about to be inserted at first.
    virtual void columnsAboutToBeInserted(int first, int count) { (void)first, (void)count; }
    // Columns from first on were inserted (the ones behind moved right).
    virtual void columnsInserted(int first, int count) { (void)first, (void)count; }
    virtual void columnWidthChanged(int column) { (void)column; }
    // A row is about to be appended as index row (the current row count).
    virtual void rowAboutToBeInserted(int row) { (void)row; }
    virtual void rowInserted(int row) { (void)row; }
    virtual void cellChanged(int row, int column) { (void)row, (void)column; }
    // The state image (check box) of a row changed.
    virtual void checkChanged(int row) { (void)row; }
    virtual void selectionChanged(int row) { (void)row; }
    // The list expects to show these texts in the column, row by row from
    // the first (see UxListViewControl::foresee).
    virtual void textsForeseen(int column, std::span<const std::string_view> texts)
    {
        (void)column, (void)texts;
    }
    // Redrawing was switched off (false) or on again (true); a view may
    // defer its updates in between and repaint once at the end.
    virtual void redrawChanged(bool on) { (void)on; }
};
