#pragma once

#include "app/ChangeCheck.h"
#include "fc/FCString.h"
#include "ui/UxListViewControl.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class LineSelection;
class Notices;
class ProgressView;
class Quillon;

// The dialog "変更点の確認" without its window: the older version (the last
// print, or a folder typed with its input history), "比較", the table of
// the changes found (種類, 番号, シーン, キャラクター, 変更前, 変更後), a
// filter by character with the number of changes shown, and
// "リテイク台本を印刷...", which prints the pickup scripts of the changes
// shown through the printer the window's commands give. The comparison is
// the one the batch tool makes. Texts are CP932.
class ChangeCheckDialogModel {
public:
    static const char* title();
    // The first entry of the filter: every character.
    static const char* everyCharacter();

    enum class Outcome {
        Done,
        // A field or the state of the program did not allow it: message()
        // says why, nothing else changed.
        Refused,
        Cancelled,
    };

    // The application outlives the model; comparisons show their progress
    // on progress.
    ChangeCheckDialogModel(Quillon& app, ProgressView& progress);
    virtual ~ChangeCheckDialogModel();

    ChangeCheckDialogModel(const ChangeCheckDialogModel&) = delete;
    ChangeCheckDialogModel& operator=(const ChangeCheckDialogModel&) = delete;

    // The controls: the last print, or the folder (starting as the newest
    // of its history).
    ChangeCheck::Source source;
    const std::vector<FCString>& historyEntries() const;

    // "比較". Refused without a loaded scenario folder, or with a folder
    // source that is empty, not nameable or no folder; a folder found
    // becomes the newest of the history. A cancel keeps the last result as
    // it was. A scene that could not be compared is told in the message,
    // the others' changes are shown all the same.
    Outcome compare();
    bool hasResult() const { return m_compared; }

    // Why the last operation did not go ahead, or what the comparison met.
    const FCString& message() const { return m_message; }

    // The filter's entries: everyCharacter(), then the characters with
    // changes in the order they first appear.
    const std::vector<std::string>& filterEntries() const { return m_filter; }
    int filterIndex() const { return m_filterIndex; }
    // Shows the changes of one entry's character (0: all); an index out of
    // range shows all.
    void chooseFilter(int index);

    UxListViewControl& table() { return m_table; }
    const UxListViewControl& table() const { return m_table; }
    // The number of changes the table shows.
    int shownCount() const;
    FCString countText() const;

    // Asks for the print settings in their print-start form and, when they
    // are confirmed, prints the selection's pickup scripts, the print
    // record keeping the scenes of recorded when given.
    using Printer =
        std::function<void(const LineSelection&, const std::set<std::string>* recorded)>;
    void setPrinter(Printer printer) { m_printer = std::move(printer); }
    // With a printer, after a comparison whose shown changes hold a line to
    // record again.
    bool canPrint() const;
    // "リテイク台本を印刷...": the lines to record again of the characters
    // shown, each character's in a script headed "リテイク", go to the
    // printer. False when there is nothing to print.
    bool printPickup();

private:
    Outcome refuse(const std::string& cp932Message);
    // The characters the filter keeps; empty: all.
    std::set<std::string> shownCharacters() const;
    bool shown(const LineChange& change) const;
    void fillTable();

    Quillon& m_app;
    ProgressView& m_progressView;
    bool m_compared = false;
    bool m_sincePrint = true; // the source of the last comparison
    std::vector<LineChange> m_changes;
    std::set<std::string> m_recordable;
    std::vector<std::string> m_filter;
    int m_filterIndex = 0;
    UxListViewControl m_table{false};
    FCString m_message;
    Printer m_printer;
};
