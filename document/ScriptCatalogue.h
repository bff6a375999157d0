#pragma once

// How a scenario folder becomes pages, and where this layer stands in it:
//
//   catalogue  ScriptCatalogue (here) reads the headers of the folder's
//              screenplay files into one entry per file: its file name, its
//              ScriptInfo record (scene name, characters, print targets,
//              page counts) and its tick. The application owns it; the main
//              list is a view of it and turns clicks into its operations.
//   layout     a ScriptPrinter per scene reads the whole file and lays it out
//              into printed lines and pages (render/).
//   renderer   draws the pages of each script of the scene (render/).
//   sink       the pages go into PNG, BMP or PDF files or to the printer.
//   log        the print run (reports/) walks the ticked entries in order,
//              prints each scene and writes the print log.
//
// Reports (print run, estimate, check lists, word counts, character
// selection) take the catalogue or the entries chosen from it; nothing here
// knows of a window, a list control or a dialog. Work that shows progress
// or tells the user something is handed the Progress and Notices to use.

#include "document/ScriptCatalogueListener.h"
#include "document/ScriptInfo.h"
#include "document/SkippedFiles.h"
#include "fc/FCString.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class Notices;
class Progress;

// How a folder load ended. The caller has to look: each asks for something
// else (show the entries and read the folder's settings; leave the window as
// it was; tell that the work cannot go on).
enum class [[nodiscard]] FolderLoad{
    // Every screenplay file of the folder is an entry.
    Loaded,
    // The folder holds no screenplay file: nothing changed.
    NoFiles,
    // The user pressed cancel: the entries read so far stay.
    Cancelled,
    // A file could not be read and the user gave up on it in the file
    // layer's box: the entries read so far stay, as after a cancel.
    Failed,
};

// The loaded scenario: one entry per "*.screenplay.txt" directly in the
// scenario folder, in the order the platform lists them (the display
// order). An entry is its file name, its record and its tick; an entry is
// chosen for printing and counting while it is ticked. Entries are reached
// by their index, which is also the row of the main list that shows them.
//
// Every change goes through the operations below and is told to the
// listeners afterwards. A load replaces all entries; generation() counts
// such replacements, so that whoever keeps an index can tell that it now
// names another scene.
class ScriptCatalogue {
public:
    static constexpr const char* Pattern = "*.screenplay.txt";

    ScriptCatalogue();
    virtual ~ScriptCatalogue();

    ScriptCatalogue(const ScriptCatalogue&) = delete;
    ScriptCatalogue& operator=(const ScriptCatalogue&) = delete;

    // What a load tells the window it fills: the folder line as the entries
    // begin to arrive, then the screenplay files found (in the order their
    // entries will take, before the entries the catalogue held go), and
    // the two counts once the entries are in.
    struct Display {
        std::function<void(const FCString& folder)> started;
        std::function<void(const std::vector<FCString>& fileNames)> listed;
        std::function<void(int32_t records, int32_t noSpeaker)> counted;
    };

    // Reads the headers of the folder's screenplay files (folder ends with
    // "/") into new entries and into the scenario totals, which are emptied
    // first unless keepTotals is set (see ScriptCatalogueLoad.cpp). Shows
    // its progress in progress and tells a cancelled load in notices. The
    // folder's print settings are the caller's to read after a Loaded.
    FolderLoad loadFolder(const FCString& folder, ScriptInfo& totals, bool keepTotals,
                          Progress& progress, Notices& notices, const Display& display = {});

    // The worker threads a load reads headers on; 0 (the default) means one
    // per core. The entries, their order and whatever the user is told or
    // asked are the same for every count.
    void setLoadJobs(int jobs) { m_loadJobs = jobs > 0 ? jobs : 0; }
    int loadJobs() const { return m_loadJobs; }

    // The entries named like screenplay files that the last load left out
    // (names Shift-JIS cannot write, FIFOs and other non-files, links that
    // cannot be followed), whatever the load's result, and the UTF-8 files
    // it read whose characters Shift-JIS cannot all hold. Telling the user
    // is the caller's part, once per load.
    const SkippedFiles& skippedFiles() const { return m_skipped; }

    int count() const { return static_cast<int>(m_entries.size()); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    // The file name without the folder, CP932.
    const FCString& fileName(int index) const { return entry(index).fileName; }
    const ScriptInfo& record(int index) const { return *entry(index).record; }
    // For the page-count cache; the print targets change through
    // setPrintTargets, so that the views learn of it.
    ScriptInfo& record(int index) { return *entry(index).record; }
    bool isTicked(int index) const { return entry(index).ticked; }
    // The names of the record's characters, joined with "," as
    // ScriptInfo::characterNames() gives them, as the load found them: made
    // while the file was read, so that a view listing thousands of entries
    // need not walk each record again.
    const FCString& characterNames(int index) const { return entry(index).characterNames; }

    // False for an index that names no entry.
    bool setTicked(int index, bool ticked);
    // Every entry not in that state yet, in order.
    void setAllTicked(bool ticked);
    // The record's print targets become those of names that are its
    // characters, in the order given. False for no such entry.
    bool setPrintTargets(int index, std::span<const std::string> names);

    // Destroys every entry.
    void clear();
    uint64_t generation() const { return m_generation; }

    // Not owned; a listener removes itself before it goes, and the
    // catalogue must outlive the listeners it has.
    void addListener(ScriptCatalogueListener* listener);
    void removeListener(ScriptCatalogueListener* listener);

private:
    struct Entry {
        FCString fileName;
        std::unique_ptr<ScriptInfo> record;
        bool ticked = false;
        FCString characterNames;
    };

    const Entry& entry(int index) const;
    Entry& entry(int index);
    void append(const FCString& fileName, std::unique_ptr<ScriptInfo> record,
                FCString characterNames);
    template <typename Call> void tell(Call call);

    std::vector<Entry> m_entries;
    std::vector<ScriptCatalogueListener*> m_listeners;
    SkippedFiles m_skipped;
    uint64_t m_generation = 0;
    int m_loadJobs = 0;
};
