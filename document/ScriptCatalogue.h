#pragma once

#include "document/ScriptInfo.h"
#include "document/SkippedFiles.h"
#include "fc/FCXList.h"
#include "ui/UxListViewControl.h"

#include <cstdint>
#include <functional>
#include <vector>

// How a folder load ended. The caller has to look: each asks for something
// else (show the rows and read the folder's settings; leave the window as it
// was; tell that the work cannot go on).
enum class [[nodiscard]] FolderLoad{
    // Every screenplay file of the folder is in the list.
    Loaded,
    // The folder holds no screenplay file: nothing changed.
    NoFiles,
    // The user pressed cancel: the rows read so far stay.
    Cancelled,
    // A file could not be read and the user gave up on it in the file
    // layer's box: the rows read so far stay, as after a cancel.
    Failed,
};

// The catalogue of a scenario folder: one ScriptInfo per "*.screenplay.txt"
// directly in the folder, in the order the platform lists them, shown as
// the rows of the main list. Every row carries its record's key in the
// hidden column 5; commands reach a row's record through recordOfRow and
// never walk the records themselves.
//
// Keys count up over the catalogue's life and are never given twice, so a
// key read from a row of an earlier load finds nothing instead of another
// scene's record.
class ScriptCatalogue {
public:
    static constexpr int ColumnCheck = 0;
    static constexpr int ColumnInfo = 1;
    static constexpr int ColumnFileName = 2;
    static constexpr int ColumnCharacters = 3;
    static constexpr int ColumnSuppressed = 4;
    static constexpr int ColumnKey = 5;
    static constexpr int ColumnCount = 6;

    // Rows of files that declare no character.
    static constexpr UxListViewControl::Colour NoSpeakerBackground =
        UxListViewControl::rgb(0xC0, 0xC0, 0xE0);

    static constexpr const char* Pattern = "*.screenplay.txt";

    ScriptCatalogue();
    virtual ~ScriptCatalogue();

    ScriptCatalogue(const ScriptCatalogue&) = delete;
    ScriptCatalogue& operator=(const ScriptCatalogue&) = delete;

    // The six columns of the main list with their titles and initial widths.
    static void defineColumns(UxListViewControl& list);

    // What a load tells the window it fills: the folder line as the rows
    // begin to arrive, the two counts once they are in.
    struct Display {
        std::function<void(const FCString& folder)> started;
        std::function<void(int32_t records, int32_t noSpeaker)> counted;
    };

    // Reads the headers of the folder's screenplay files (folder ends with
    // "/") into the list and into the scenario totals, which are emptied
    // first unless keepTotals is set (see ScriptCatalogueLoad.cpp). The
    // folder's print settings are the caller's to read after a Loaded.
    FolderLoad loadFolder(const FCString& folder, ScriptInfo& totals, bool keepTotals,
                          UxListViewControl& list, const Display& display = {});

    // The entries named like screenplay files that the last load left out
    // (names Shift-JIS cannot write, FIFOs and other non-files, links that
    // cannot be followed), whatever the load's result, and the UTF-8 files
    // it read whose characters Shift-JIS cannot all hold. Telling the user
    // is the caller's part, once per load.
    const SkippedFiles& skippedFiles() const { return m_skipped; }

    // The record of a row through its key column; null for a row without a
    // valid key.
    ScriptInfo* recordOfRow(const UxListViewControl& list, int row) const;

    // Destroys every record. Rows that still show them must go first.
    void clear();
    int32_t count() const { return m_records.count(); }
    const FCXList<ScriptInfo>& records() const { return m_records; }

private:
    // Takes the record over and gives back its key.
    int64_t add(ScriptInfo* record);
    void appendRow(UxListViewControl& list, const FCString& fileName, const FCString& names,
                   const ScriptInfo& record, int64_t key);

    FCXList<ScriptInfo> m_records;
    // Records by key - m_firstKey.
    std::vector<ScriptInfo*> m_byKey;
    SkippedFiles m_skipped;
    int64_t m_firstKey = 1;
    int64_t m_nextKey = 1;
};
