#pragma once

#include "fc/FCString.h"
#include "reports/ScenarioContext.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class LineSelection;
class PrintFormat;
class Progress;
class RunSettings;
class ScriptCatalogue;
class ScriptInfo;
class ScriptPrinter;

// How many pages a print run with the current settings would produce: every
// chosen scene is laid out once, as a print run would, and its page count is
// multiplied by the number of characters whose scripts would be printed.
// The page count of one script is kept in the scene's record per print mode,
// so a second estimate in a preset mode lays nothing out again; a custom
// format is always laid out afresh, since its sizes may have changed.
//
// Scenes are laid out on worker threads (the format's jobs), each with a
// printer of its own; everything else, the records, the progress and
// whatever must be told to the user, happens on the calling thread in list
// order, exactly as a run on one thread does it.
//
// The director's copy is not counted unless asked for (see
// setCountDirectorsCopies), nor is a character that speaks in a scene
// without being one of its print targets.
class PageCountEstimate {
public:
    static constexpr int64_t Cancelled = -1;

    // One counted scene of the last run.
    struct Scene {
        FCString fileName;
        FCString sceneName;
        int32_t pagesPerScript = 0; // pages of one script of the scene
        int32_t scripts = 0;        // scripts that would be printed
        bool unreadable = false;    // the file could not be read; it counts nothing
        // A partial run's scripts each have pages of their own: their sum
        // (pagesPerScript is 0 then); -1 for whole scripts.
        int64_t partialPages = -1;

        int64_t pages() const
        {
            return partialPages >= 0 ? partialPages : int64_t(scripts) * pagesPerScript;
        }
    };

    explicit PageCountEstimate(const ScenarioContext& context);
    virtual ~PageCountEstimate();

    PageCountEstimate(const PageCountEstimate&) = delete;
    PageCountEstimate& operator=(const PageCountEstimate&) = delete;

    // The total over the catalogue in display order: every entry with
    // allRows, otherwise the ticked ones, showing "印刷に必要なページ数の確認"
    // in progress. The page count of each scene it lays out is kept in the
    // entry's record. Cancelled when the user stopped it; the page counts
    // stored until then stay.
    int64_t run(ScriptCatalogue& catalogue, bool allRows, Progress& progress);

    // One scene: with pages negative the file (scenario folder + fileName)
    // is laid out and pages becomes its page count; otherwise pages is used
    // as it is. Returns the number of the scene's print targets that are not
    // suppressed.
    int32_t estimateScene(const FCString& fileName, const ScriptInfo& record, int32_t& pages);

    // The cache slot of a print mode: the mode itself for 0-3, and
    // PRESET-14p's for any other value, since such a mode prints as
    // PRESET-14p.
    static int cacheMode(int mode);
    // The cache slot the counts of a print format go to: its mode's, or with
    // any typesetting option on the custom mode's (the presets' slots keep
    // the counts of the plain grid).
    static int cacheEntry(const PrintFormat& format);

    // Gives the printer the application's option word, faces, sizes and
    // comment background, as a print run does before loading a scene.
    // The counts it refuses go to the trace unless trace is false (the
    // extra printers of a run's workers say it only once).
    static void configurePrinter(const PrintFormat& format, const RunSettings& run,
                                 ScriptPrinter& printer, bool trace = true);

    // "現在の設定で印刷すると、\n" + total + "ページの台本が出力されます。"
    static FCString message(int64_t total);

    // With it on, every counted scene also counts its director's copy: one
    // more script, as a print run with the generic-script switch prints one
    // for every scene it reads. Off by default, as the window's estimate
    // has it.
    void setCountDirectorsCopies(bool on) { m_directorsCopies = on; }
    bool countsDirectorsCopies() const { return m_directorsCopies; }

    // The pages of a partial print run with the same selection (see
    // PrintRun::setLineSelection): every scene it chooses lines in is laid
    // out script by script, as the run lays it out, and nothing is kept in
    // the records; scenes it chooses nothing in are not counted. Null (the
    // default): whole scripts.
    void setLineSelection(const LineSelection* selection) { m_selection = selection; }
    // One scene of a partial run: the pages of its scripts (director's copy
    // too when counted), and in scripts how many scripts have pages; false,
    // counting nothing, when the file could not be read.
    bool estimatePartialScene(const FCString& fileName, const ScriptInfo& record, int64_t& pages,
                              int32_t& scripts);

    // The scenes the last run counted, in display order; after a cancel,
    // those counted before it (the scene in progress included).
    const std::vector<Scene>& scenes() const { return m_scenes; }
    // The scenes the last run was to count: the entries it would have
    // walked through to the end.
    int chosenScenes() const { return m_chosen; }

    // Scenes laid out by this estimator so far.
    int layouts() const { return m_layouts; }
    // Scenes whose file could not be read (the file layer has said why);
    // they count no pages and their page count is not stored, so that the
    // next estimate tries them again.
    int unreadable() const { return m_unreadable; }

private:
    // A worker's layout of one scene: its page count, or -1 when it was not
    // laid out (nothing to lay out, or something to tell the user).
    struct LaidOut {
        int32_t pages = -1;
    };
    // Lays a scene out on a worker's printer without asking or telling the
    // user anything.
    static LaidOut layOutQuietly(ScriptPrinter& printer, const std::string& path);

    ScenarioContext m_context;
    // The printer of the current run, configured once for all its scenes.
    std::unique_ptr<ScriptPrinter> m_printer;
    int m_layouts = 0;
    int m_unreadable = 0;
    bool m_directorsCopies = false;
    const LineSelection* m_selection = nullptr;
    std::vector<Scene> m_scenes;
    int m_chosen = 0;
};
