#pragma once

#include "fc/FCString.h"
#include "ui/UxListViewControl.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class DeliveryCheck;
class LineSelection;
class Clock;
class Notices;
class ProgressView;
class Quillon;

// The dialog "納品音声の確認" without its window: the delivery folder (a combo
// box over its own input-history slot), the file-name pattern, "内容も確認
// する", and what the buttons do. "確認" checks the speaker lines of the
// loaded scenario's ticked scenes against the delivery under a progress
// with cancel, fills the per-character table and the problem list with the
// texts the voices command prints, and leaves the number of recorded lines
// with the application. "CSVに保存..." writes the command's CSV, "振り分け..."
// sorts the files of recorded lines into a destination folder (copied or
// moved, per scene or not) and tells its summary in a notice, and
// "未収録の台本を印刷..." prints scripts of the lines the check found
// unrecorded through the printer the window's commands give. The GUI shows
// these fields, the lists and message(). Texts are CP932.
class VoiceCheckDialogModel {
public:
    // The delivery folders typed before: the history slot the program keeps
    // free for such a dialog.
    static constexpr int HistorySlot = 2;

    static const char* title();
    // Beside the pattern field: what an empty pattern means.
    static const char* defaultPatternHint();
    static const char* csvChooserTitle();
    // Pairs of label and pattern, separated by commas.
    static const char* csvChooserFilter();
    static const char* destinationChooserTitle();

    enum class Outcome {
        Done,
        // A field or the state of the program did not allow it: message()
        // says why, nothing else changed.
        Refused,
        Cancelled,
    };

    // The application outlives the model. Summaries go to notices; by
    // default to the installed dialog host.
    // What the dialog tells goes to notices; its checks and sorts show their
    // progress on progress.
    // progress; a sort's log is stamped by clock.
    VoiceCheckDialogModel(Quillon& app, Notices& notices, ProgressView& progress,
                          const Clock& clock);
    virtual ~VoiceCheckDialogModel();

    VoiceCheckDialogModel(const VoiceCheckDialogModel&) = delete;
    VoiceCheckDialogModel& operator=(const VoiceCheckDialogModel&) = delete;

    // The controls. The pattern starts as the one the scenario folder keeps.
    FCString deliveryText;
    FCString patternText;
    bool checkContent = false;
    // How "振り分け..." sorts: moving instead of copying, a folder per scene
    // under each character's.
    bool moveFiles = false;
    bool byScene = false;

    // The combo box's list, oldest first.
    const std::vector<FCString>& historyEntries() const;

    // "確認". Refused without a loaded scenario folder, with an empty or
    // absent delivery folder or a pattern that does not compile; then the
    // pattern is kept for the scenario folder (an empty one forgets it), the
    // folder becomes the newest of the history, and the delivery is walked
    // and checked. A cancel keeps the last result as it was.
    Outcome check();

    // Why the last operation did not go ahead, or what the check met besides
    // the table (scenes that could not be read, entries left out).
    const FCString& message() const { return m_message; }

    // Whether a check has finished; the lists are empty before.
    bool hasResult() const { return m_check != nullptr; }
    // Every line recorded and nothing broken.
    bool complete() const;
    int recordedLines() const;
    int missingLines() const;

    // キャラ名 台詞数 収録済 未収録 重複 破損 収録時間, a row per character and
    // the 総数 row.
    UxListViewControl& table() { return m_table; }
    const UxListViewControl& table() const { return m_table; }
    // 種類, 対象 and the further fields of each problem line.
    UxListViewControl& problems() { return m_problems; }
    const UxListViewControl& problems() const { return m_problems; }

    // Where the CSV chooser starts: the scenario folder's "voices.csv".
    std::string csvStart() const;
    // "CSVに保存..." with the chosen file (native): the CSV replaces the file
    // as a whole. True when it was written; the message says so either way.
    bool saveCsv(const std::string& nativePath);

    // "振り分け..." is offered after a check, and after a sort that moved
    // files only once the delivery has been checked again (the result names
    // where the files were).
    bool canSort() const { return hasResult() && !m_moved; }
    // Sorts into the chosen folder (native), made when it is not there; a
    // folder that is the delivery or lies inside it is refused (the next
    // check would find the sorted files twice). The summary goes to the
    // notices.
    Outcome sort(const std::string& nativeDestination);
    // The last sort's summary.
    const FCString& sortSummary() const { return m_sortSummary; }

    // Asks for the print settings in their print-start form and, when they
    // are confirmed, prints the selection's partial scripts.
    using MissingLinesPrinter = std::function<void(const LineSelection&)>;
    void setMissingLinesPrinter(MissingLinesPrinter printer) { m_printer = std::move(printer); }
    // After a check that found lines missing or broken, with a printer.
    bool canPrintMissing() const;
    // "未収録の台本を印刷...": the lines the last check found missing or
    // broken, each character's in a script of its own headed "未収録", go
    // to the printer. False when there is nothing to print.
    bool printMissing();

private:
    bool refuse(const char* utf8Message);
    bool refuse(const std::string& cp932Message);
    bool deliveryFolder(std::string& native);
    void fillLists();

    Quillon& m_app;
    Notices& m_notices;
    ProgressView& m_progressView;
    const Clock& m_clock;
    std::unique_ptr<DeliveryCheck> m_check;
    UxListViewControl m_table{false};
    UxListViewControl m_problems{false};
    FCString m_message;
    FCString m_sortSummary;
    MissingLinesPrinter m_printer;
    bool m_moved = false;
};
