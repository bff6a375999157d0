#pragma once

#include "voices/VoiceSortPlan.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

class Clock;
class Progress;

// Sorts delivered files into their folders without ever losing one.
//
// A copy is written under a temporary name beside its destination, flushed
// to the disk and only then given its name, which it takes only when the
// name is free: a file already there with the same bytes counts as sorted
// (skipped), one with other bytes stays, and the new one is kept beside it
// as "name(2).ext" (or (3), ...). A move renames the file when source and
// destination share a file system; otherwise it copies, reads the copy back
// to compare it byte for byte, and only then removes the source.
//
// Interrupted at any point (a cancel, a kill, a full disk), the files are
// each in one place or both, never in none; the same sort run again finds
// what is done (same bytes: skipped, and with --move the source is removed
// then), finishes the rest, and clears the temporary files an interrupted
// run left in the folders it writes to.
//
// What went where is appended, line by line, to quillon.voices.log.txt in
// the destination (CP932, TAB-separated).
class VoiceSorter {
public:
    static constexpr const char* LogFileName = "quillon.voices.log.txt";
    // Temporary copies begin with this; the destination's folders hold no
    // other file of such a name.
    static constexpr const char* TemporaryPrefix = ".quillon-part-";

    // The points at which an interruption leaves a different state behind.
    enum class Step { FolderReady, CopyWritten, CopyVerified, Placed, FolderSynced, SourceRemoved };

    enum class Outcome {
        Done,
        // The progress was cancelled: the file in hand was finished first.
        Cancelled,
        // A file could not be sorted (see errors()); a full disk stops the
        // sort, other failures leave only that file unsorted.
        Failed,
        // The test seam stopped the run where it stood.
        Interrupted,
    };

    struct Counts {
        int copied = 0;
        int moved = 0;
        // Already in place with the same bytes.
        int alreadyThere = 0;
        // Kept beside another file of the same name, as "name(n).ext".
        int keptBeside = 0;
        int failed = 0;
    };

    // destination: native, absolute, the folder the log goes into; clock:
    // the time the log's opening line is stamped with.
    VoiceSorter(std::string destination, bool move, const Clock& clock);

    // A seam for tests: called at every step; true stops the run at once,
    // leaving everything as a killed process would.
    void setInterruption(std::function<bool(Step)> interrupt)
    {
        m_interrupt = std::move(interrupt);
    }

    Outcome run(const std::vector<SortItem>& items, Progress& progress);

    const Counts& counts() const { return m_counts; }
    // One line per failure (UTF-8, for the terminal).
    const std::vector<std::string>& errors() const { return m_errors; }

    // "name(n).ext" for n > 1; the name itself for 1.
    static std::string variant(const std::string& name, int n);

private:
    enum class ItemResult { Done, Failed, Stop, Interrupted };

    ItemResult sortOne(const SortItem& item);
    // Puts the source into one folder; sourceGone when it was renamed there.
    ItemResult place(const SortItem& item, const std::string& folder, bool last, bool& sourceGone);
    ItemResult fail(const std::string& what, const std::string& path, uint32_t error);
    bool interrupted(Step step) const { return m_interrupt && m_interrupt(step); }
    bool openLog();
    bool log(std::string_view action, const std::string& from, const std::string& to);
    bool writeLine(const std::string& line);
    void closeLog(std::string_view closing);

    std::string m_destination;
    bool m_move;
    const Clock& m_clock;
    std::function<bool(Step)> m_interrupt;
    std::set<std::string> m_readyFolders;
    Counts m_counts;
    std::vector<std::string> m_errors;
    int m_log = -1;
    unsigned m_temporaries = 0;
};
