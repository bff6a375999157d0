#pragma once

#include "document/ScriptCatalogueListener.h"
#include "ui/UxListViewControl.h"

#include <vector>

class ScriptCatalogue;

// The main list as a view of the catalogue: one row per entry, in the
// catalogue's order, so that a row's index is its entry's index. Columns
// (title, initial width, content):
//
//   0  ""            24  the entry's tick, as the row's check box
//   1  "情報"         42  "T / A" while a character is no print target
//   2  "シナリオ名"   160  the file name
//   3  "登場キャラ"   200  the characters' names, joined with ","
//   4  "抑制キャラ"   200  the characters that are no print target
//   5  ""             0  hidden and empty
//
// A row whose file declares no character has the no-speaker background in
// the cells written when it appears (all but column 4).
//
// The binding follows the catalogue's notifications, and the user's ticks
// in the list go to the catalogue, whose change the row then shows. The
// selection is the list's own: commands ask the list which rows are
// selected and take their entries through entryOfRow or selectedEntries.
class CatalogueListBinding : private ScriptCatalogueListener {
public:
    static constexpr int ColumnCheck = 0;
    static constexpr int ColumnInfo = 1;
    static constexpr int ColumnFileName = 2;
    static constexpr int ColumnCharacters = 3;
    static constexpr int ColumnSuppressed = 4;
    static constexpr int ColumnHidden = 5;
    static constexpr int ColumnCount = 6;

    // Rows of files that declare no character.
    static constexpr UxListViewControl::Colour NoSpeakerBackground =
        UxListViewControl::rgb(0xC0, 0xC0, 0xE0);

    // Shows the catalogue in the list from now on; a catalogue that has
    // entries already is shown at once. Both must outlive the binding.
    CatalogueListBinding(ScriptCatalogue& catalogue, UxListViewControl& list);
    ~CatalogueListBinding() override;

    CatalogueListBinding(const CatalogueListBinding&) = delete;
    CatalogueListBinding& operator=(const CatalogueListBinding&) = delete;

    // The six columns with their titles and initial widths.
    static void defineColumns(UxListViewControl& list);

    // The entry a row shows; -1 for a row that shows none.
    int entryOfRow(int row) const;
    // The entries of the selected rows, in row order.
    std::vector<int> selectedEntries() const;

    ScriptCatalogue& catalogue() const { return m_catalogue; }
    UxListViewControl& list() const { return m_list; }

private:
    void loadStarted() override;
    void loadEnded() override;
    void catalogueCleared() override;
    void entriesAdded(int first, int count) override;
    void entryChanged(int index, CatalogueChange change) override;

    void appendRow(int index);
    void showTick(int index);
    // Columns 1 and 4 from the record's summary.
    void showTargets(int index);

    ScriptCatalogue& m_catalogue;
    UxListViewControl& m_list;
};
