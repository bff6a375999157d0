#pragma once

#include "fc/FCString.h"
#include "render/RunContext.h"
#include "reports/ScenarioContext.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class LineSelection;
class PageSink;
class PdfScriptWriter;
class Progress;
class ScriptCatalogue;
class ScriptInfo;
class ScriptPrinter;
class WorkerPool;
struct SceneDraft;

// A print run: every ticked entry of the catalogue, one after the other, in
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
// Scenes are read, laid out and (for page images and PDF files) drawn on
// worker threads, as many as the print format's jobs say, and handed on in
// list order: every file, job and log line is what a run of one scene after
// the other gives. PDF bundles are written on as many threads of their own,
// each bundle's pages in list order.
//
// Cancelling takes effect between scenes: the scene being printed is
// finished. A second cancel stops within the scene, after the page being
// drawn: that scene is logged as not completed and the run ends with the
// interrupted result line. A scene whose file cannot be read (the file layer
// has told the user) is left out and the run goes on; it is not logged as
// printed. A scene some of whose pages did not reach their file or printer
// is logged as failed with the number of pages lost, and the run then ends
// with a result line that says pages are missing, not the completed one.
//
// Every scene printed and logged as printed is kept in the scenario folder's
// print record (PrintRecord); a record that cannot be written is told, and
// the run is still the success it was.
//
// No page of a run overwrites another: a scene whose page images would go
// under a name an earlier scene of the run used files them under the name
// with "(2)", "(3)"... added, and its printed line says so.
//
// The PDF device writes one file per script under the same names, or with
// the bundle switch one file per character for the whole run, which the run
// closes at its end, after a cancel too (the scenes printed so far stay in
// them). A PDF file that cannot be written loses all its pages: each scene
// that put pages into it is logged as failed with those pages, so the log
// of a run with bundles is composed once they are closed.
class PrintRun {
public:
    // Shows the written log to the user; false when that did not work.
    using Opener = std::function<bool(const FCString& path)>;

    struct Outcome {
        int printed = 0;          // scenes printed (and logged)
        int unreadable = 0;       // chosen scenes that could not be read
        bool cancelled = false;   // the user stopped the run
        bool logWritten = false;  // the log file now holds this run's log
        bool logFailed = false;   // logging was on but the file could not be written
        bool logOpened = false;   // the opener showed it
        int pages = 0;            // pages emitted
        int pagesLost = 0;        // page image files that did not reach the disk
        int failed = 0;           // scenes logged as failed: pages were lost
        int pagesUnprinted = 0;   // printer pages that found no printer
        bool noPrinter = false;   // printer pages were drawn but no printer was reached
        bool interrupted = false; // stopped within a scene (a second cancel)
        bool pdf = false;         // the pages went into PDF files
        int unrecorded = 0;       // printed scenes the print record could not keep
    };

    // What became of one scene.
    struct SceneResult {
        bool read = false;        // the file was read and laid out
        bool completed = false;   // every page was emitted, none raised
        bool interrupted = false; // a second cancel stopped it within
        int pages = 0;            // pages emitted
        int lost = 0;             // of them, pages that reached no file or printer
        int unprinted = 0;        // of the lost, printer pages without a printer
        FCString pageName;        // the name its pages went under, when not its own
        int sinkScene = -1;       // the scene's number with the page sink
    };

    explicit PrintRun(const ScenarioContext& context);
    virtual ~PrintRun();

    PrintRun(const PrintRun&) = delete;
    PrintRun& operator=(const PrintRun&) = delete;

    // Without one (the default), a written log is not shown anywhere.
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    // Told of every page the run prints, after it has gone to its sink (for
    // tests and benchmarks; the program sets none).
    void setPageWatch(RunContext::PageWatch watch) { m_watch = std::move(watch); }
    // Told on a worker thread of every page drawn there, with the scene's
    // index in the list, before the worker asks whether to go on (for tests:
    // a worker held up here is a slow one).
    void setWorkerWatch(std::function<void(int index)> watch) { m_workerWatch = std::move(watch); }
    // A partial run: of every ticked scene only the lines the selection
    // chooses, each character's in a script of its own, with context (see
    // ScriptPrinter::setLineSelection). Scenes it chooses nothing in are
    // passed over, and a scene that prints no page is not logged; the log
    // says after its opening line what the run printed. Null (the default):
    // whole scripts. The selection must outlive the run.
    void setLineSelection(const LineSelection* selection) { m_selection = selection; }
    // The printed scenes (file names) the print record keeps. Without such
    // a list, a whole run keeps every scene it printed and a partial run
    // none: a scene printed in part may hold changes its scripts left out,
    // which the next comparison must still show.
    void setRecordedScenes(std::set<std::string> fileNames) { m_recorded = std::move(fileNames); }

    // Prints every ticked entry, showing "台本の印刷" in progress, and writes
    // and opens the log as the switches say.
    Outcome printAll(const ScriptCatalogue& catalogue, Progress& progress);

    // Prints one scene: the file scenario folder + fileName, whose catalogue
    // record is record, into pages of its own. When the file could not be
    // read nothing of the scene is printed.
    SceneResult printScene(const FCString& fileName, const ScriptInfo& record);

    // The log text of the last printAll.
    const FCString& logText() const { return m_log; }

    // Gives the printer the application's option word, the faces, weights,
    // sizes and counts of the print format and its comment background, and
    // builds the background pattern: the set-up of a scene before its load.
    static void configure(const ScenarioContext& context, ScriptPrinter& printer);
    // Excludes from a loaded scene the suppressed characters and, when the
    // scene's record has fewer print targets than characters, the others:
    // what a run does after each load.
    static void excludeUnprinted(const ScenarioContext& context, ScriptPrinter& printer,
                                 const ScriptInfo& record);

    static const char* openingLine();
    // The line after the opening one in a partial run: "; " + suffix +
    // "の台詞のみを印刷します".
    static FCString partialLine(std::string_view suffix);
    static const char* printedSuffix();
    static FCString countLine(int printed);
    static const char* completedLine();
    static const char* cancelledLine();
    // A scene's line after its file name when its pages went under another
    // name, when pages were lost, and when a second cancel stopped it.
    static FCString renamedSuffix(const FCString& pageName);
    static FCString failedSuffix(int pagesLost);
    static const char* unfinishedSuffix();
    // The result lines of a run that lost pages and of an interrupted one.
    static const char* incompleteLine();
    static const char* interruptedLine();
    // What the window tells the user after a run that lost pages (no
    // printer reached, page files not written); empty when none were lost.
    static FCString lostPagesNotice(const Outcome& outcome);
    // What the user is told when printed scenes could not be kept in the
    // scenario folder's print record (the run still succeeded); empty when
    // all were.
    static FCString recordNotice(const Outcome& outcome);

private:
    // One scene into the run's sink, telling the run context of its pages.
    SceneResult printScene(const FCString& fileName, const ScriptInfo& record, PageSink& sink,
                           RunContext& context);
    // The pages of a loaded scene into the run's sink.
    void drawScene(const ScriptPrinter& printer, SceneResult& result, PageSink& sink,
                   RunContext& context);
    // A scene made ready on a worker into the run's sink, as printScene
    // would have printed it.
    SceneResult commitScene(SceneDraft& draft, PageSink& sink, RunContext& context);
    // The same for a scene whose PDF pages a worker drew: per script its
    // files, complete, take their names here in list order (a scene filed
    // under another name than its own is drawn here instead); with bundles
    // its recorded pages are painted into them.
    SceneResult commitPdfScene(SceneDraft& draft, PdfScriptWriter& writer, RunContext& context);
    // Files the count pages of a scene made ready on a worker into the sink
    // as drawing them here would: handOn(i) gives the sink page i, drawn
    // already, and returns its description; the run's context hears of each
    // page and may stop the scene after it. stopped: the worker stopped the
    // scene before its end.
    void fileDrafted(SceneResult& result, bool stopped, std::size_t count, PageSink& sink,
                     RunContext& context,
                     const std::function<const PageSink::Page&(std::size_t)>& handOn);
    // The names the pages of the scenes of records (null: not printed) will
    // go under, as distinctPageName gives them, when every one of them is
    // read: empty for a scene's own name.
    std::vector<FCString> expectedPageNames(const std::vector<const ScriptInfo*>& records) const;
    // The scenes of printAll made ready on the pool's workers and handed to
    // commit in list order (commit prints a scene itself when its draft is
    // not prepared); commit's false ends the run. The progress pumps while
    // the run waits for a worker.
    void printOnWorkers(WorkerPool& pool, const ScriptCatalogue& catalogue, PageSink& sink,
                        Progress& progress,
                        const std::function<bool(int index, SceneDraft* draft)>& commit);
    bool keepsRecordOf(const std::string& fileName) const;
    // The destination folder of files, ending with "/".
    FCString pageDestination() const;
    // Takes the scene's lost pages from the sink, as far as it knows them.
    void settle(SceneResult& result, const PageSink& sink) const;
    // Empty when the scene's own name is still free in this run; otherwise
    // the first free name of the scene name with "(2)", "(3)"... added. The
    // name given is taken.
    FCString distinctPageName(const FCString& scene);

    ScenarioContext m_context;
    Opener m_opener;
    FCString m_log;
    std::set<std::string> m_pageNames; // page folder names taken in this run
    RunContext::PageWatch m_watch;
    std::function<void(int index)> m_workerWatch;
    const LineSelection* m_selection = nullptr;
    std::optional<std::set<std::string>> m_recorded;
};
