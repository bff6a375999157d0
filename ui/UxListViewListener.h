#pragma once

// Follows the changes of a UxListViewControl, so that a view drawn by a GUI
// toolkit can mirror the in-memory table. Every notification comes after the
// change; the default bodies ignore it.
class UxListViewListener {
public:
    virtual ~UxListViewListener();

    // All rows and all columns are gone.
    virtual void listCleared() {}
    // Columns from first on were inserted (the ones behind moved right).
    virtual void columnsInserted(int first, int count) { (void)first, (void)count; }
    virtual void columnWidthChanged(int column) { (void)column; }
    virtual void rowInserted(int row) { (void)row; }
    virtual void cellChanged(int row, int column) { (void)row, (void)column; }
    // The state image (check box) of a row changed.
    virtual void checkChanged(int row) { (void)row; }
    virtual void selectionChanged(int row) { (void)row; }
    // Redrawing was switched off (false) or on again (true); a view may
    // defer its updates in between and repaint once at the end.
    virtual void redrawChanged(bool on) { (void)on; }
};
