#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class CatalogueListBinding;
class FCVSurface;
class Quillon;
class ScriptInfo;
class ScriptPrinter;
class UxListViewControl;

// The page preview of one scene of the main list, without the window. The
// scene is laid out as a print run lays it out, with the application's
// current print format, run switches and suppressed characters; its scripts
// are those a run would print, in the run's order: every print target that
// is not suppressed, in the scene's character order, then the director's
// copy "監督用" when the generic-script switch is on. A page is drawn by the
// printer's own renderer onto a page image and turned as the image devices
// turn it, so that it is pixel for pixel the PNG page of the same script.
//
// Pages are drawn one at a time, when asked for, and the last few are kept.
// The scene follows the catalogue by its file name: refresh() finds the
// entry again (a folder load makes new records), takes the record's print
// targets and the settings as they are now, and lays the scene out anew
// only when something that shapes its pages has changed.
class PagePreviewModel {
public:
    struct Script {
        FCString name;   // CP932, as the page header shows it
        int target = -1; // the character's slot; -1 for the director's copy
    };

    enum class Refresh {
        Unchanged, // the pages are still those shown
        Changed,   // laid out anew: scripts, pages and images may differ
        SceneGone, // the scene is no longer in the catalogue
    };

    // Pages kept once drawn (a page image is about a megabyte).
    static constexpr int CachedPages = 6;

    // rows are the main list's, which show the application's catalogue.
    PagePreviewModel(const Quillon& app, const CatalogueListBinding& rows);
    virtual ~PagePreviewModel();

    PagePreviewModel(const PagePreviewModel&) = delete;
    PagePreviewModel& operator=(const PagePreviewModel&) = delete;

    // The row whose scene the preview button and Return open: the focused
    // row when it is selected, else the first selected row; -1 for none.
    static int rowToPreview(const UxListViewControl& list);
    // What the window says when no row is selected.
    static const char* noSelectionMessage();

    // Previews the scene of a row: laid out, the script chosen before kept
    // when the scene has it (else the first), page 1. False when the row
    // shows no entry; the preview is then empty.
    bool showRow(int row);
    // Takes the settings and the scene's entry as they are now (see above).
    // The chosen script and page stay when they still exist.
    Refresh refresh();

    bool hasScene() const { return !m_fileName.isEmpty(); }
    // The row's file name (CP932), empty without a scene.
    const FCString& fileName() const { return m_fileName; }
    const FCString& sceneName() const;
    // False when the scene's file could not be read (the file layer has
    // told the user); it then has no pages.
    bool readable() const { return m_readable; }

    const std::vector<Script>& scripts() const { return m_scripts; }
    // The chosen script's index, -1 when the scene prints none.
    int chosen() const { return m_chosen; }
    // False for an index outside the scripts (nothing changes).
    bool choose(int index);

    // Pages of the chosen script (every script of a scene has as many); 0
    // without one.
    int pageCount() const;
    // The page shown, 0-based.
    int page() const { return m_page; }
    // False for a page outside 0 .. pageCount - 1 (nothing changes).
    bool setPage(int page);
    bool nextPage() { return setPage(m_page + 1); }
    bool previousPage() { return setPage(m_page - 1); }
    // "n / m ページ" (CP932): the page shown, 1-based, and the count;
    // "0 / 0 ページ" without pages.
    FCString pageText() const;

    // What stands in the page's place when there is none: that the file
    // could not be read, or that the scene prints no page; empty without
    // a scene or with pages.
    const char* noPageText() const;

    // Page n of the chosen script as its PNG page shows it: 1152 x 864
    // grey, the drawn portrait page turned clockwise. Null when there is no
    // such page.
    std::shared_ptr<const FCVSurface> pageImage(int page);
    // Pages drawn since the scene was laid out (the cache's misses).
    int pagesDrawn() const { return m_pagesDrawn; }

private:
    struct CachedPage {
        int script = 0;
        int page = 0;
        std::shared_ptr<const FCVSurface> image;
    };

    // The record of the scene's file, null when no entry has it.
    const ScriptInfo* recordOfScene() const;
    // Everything that shapes the pages: the folder, the file and the
    // catalogue's generation, the printer's parameters as a run sets them,
    // and the names excluded from the scene.
    std::string layoutKey(const ScriptPrinter& printer, const ScriptInfo& record) const;
    // Lays the scene out with the settings now in force.
    void layOut(const ScriptInfo& record, const std::string& key);
    // The scripts a run would print; previous (the script shown before, or
    // null) stays chosen when it is among them.
    void collectScripts(const Script* previous);

    const Quillon& m_app;
    const CatalogueListBinding& m_rows;
    FCString m_fileName;
    std::unique_ptr<ScriptPrinter> m_printer;
    std::string m_layoutKey;
    bool m_readable = false;
    std::vector<Script> m_scripts;
    int m_chosen = -1;
    int m_page = 0;
    std::list<CachedPage> m_cache; // most recently used first
    int m_pagesDrawn = 0;
};
