#pragma once

#include "fc/FCString.h"
#include "reports/ScenarioContext.h"

#include <functional>
#include <string_view>

class ScriptInfo;
class ScriptPrinter;
class UxListViewControl;

// A print run: every chosen scene of the main list, one after the other, in
// display order, with the application's run settings (output device,
// destination folder, switches, log file) and the effective values of its
// print format. Each scene yields one script per character that is a print
// target and not suppressed, then, with the generic-script switch, the
// director's copy. What was printed is written down in the print log:
//
//   "; 印刷を開始します"
//   file name + "; 印刷されました"          (one per printed scene)
//   "; 印刷されたファイル数：" + n + " ファイル"
//   the completed or the cancelled result line
//
// each line ending with a single "\n", in Shift-JIS. With the log switch on,
// the log file is replaced by that text and then handed to the opener.
//
// Cancelling takes effect between scenes: the scene being printed is
// finished. A scene whose file cannot be read (the file layer has told the
// user) is left out and the run goes on; it is not logged as printed.
class PrintRun {
public:
    // Shows the written log to the user; false when that did not work.
    using Opener = std::function<bool(const FCString& path)>;

    struct Outcome {
        int printed = 0;         // scenes printed (and logged)
        int unreadable = 0;      // chosen scenes that could not be read
        bool cancelled = false;  // the user stopped the run
        bool logWritten = false; // the log file now holds this run's log
        bool logFailed = false;  // logging was on but the file could not be written
        bool logOpened = false;  // the opener showed it
        int pages = 0;           // pages emitted
        int pagesLost = 0;       // page image files that did not reach the disk
    };

    explicit PrintRun(const ScenarioContext& context);
    virtual ~PrintRun();

    PrintRun(const PrintRun&) = delete;
    PrintRun& operator=(const PrintRun&) = delete;

    // Without one (the default), a written log is not shown anywhere.
    void setOpener(Opener opener) { m_opener = std::move(opener); }

    // Prints every row that is not cleared, with the progress dialog
    // "台本の印刷", and writes and opens the log as the switches say.
    Outcome printAll(const UxListViewControl& list);

    // Prints one scene: the file scenario folder + fileName, whose catalogue
    // record is record. False when the file could not be read; nothing of
    // the scene is printed then.
    bool printScene(const FCString& fileName, const ScriptInfo& record);

    // The log text of the last printAll.
    const FCString& logText() const { return m_log; }

    // Gives the printer the application's option word, the faces, weights,
    // sizes and counts of the print format and its comment background, and
    // builds the background pattern: the set-up of a scene before its load.
    static void configure(const ScenarioContext& context, ScriptPrinter& printer);

    static const char* openingLine();
    static const char* printedSuffix();
    static FCString countLine(int printed);
    static const char* completedLine();
    static const char* cancelledLine();

private:
    void excludeUnprinted(ScriptPrinter& printer, const ScriptInfo& record) const;

    ScenarioContext m_context;
    Opener m_opener;
    FCString m_log;
};
