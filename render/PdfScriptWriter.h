#pragma once

#include "fc/FCString.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class DeviceContext;
class PdfDocument;
class ScriptPrinter;

// Where the pages of the PDF device go. Per script, each script of a scene
// is one file, destination + page name + "/" + page name + "." + character
// + ".pdf", closed as its last page is drawn. By actor, each character (and
// the director's copy) has one bundle, destination + character + ".pdf",
// that gathers its scripts of every scene of the run in the order they are
// printed, with an outline entry (the scene's page name) before the
// character's first page of each scene; the bundles stay open until finish.
//
// Every file is written under a temporary name and takes its name only when
// complete. A file that cannot be written loses all of its pages; they are
// counted against the scenes that put them there, which a run reads after
// the scene (per script) or after finish (bundles).
class PdfScriptWriter {
public:
    enum class Grouping {
        PerScript,
        ByActor,
    };

    explicit PdfScriptWriter(Grouping grouping);
    // Files still open are dropped: only finish makes them complete.
    virtual ~PdfScriptWriter();
    PdfScriptWriter(const PdfScriptWriter&) = delete;
    PdfScriptWriter& operator=(const PdfScriptWriter&) = delete;

    Grouping grouping() const { return m_grouping; }

    // The pages from now on belong to a new scene; its number, for
    // lostPages.
    int beginScene();
    // The context for the printer's current page of target's script (-1:
    // the director's copy), null when its file could not be started (the
    // page is lost and counted). Valid until endPage.
    DeviceContext* beginPage(const ScriptPrinter& printer, int target);
    void endPage();
    // The scene is over. complete: the script file still open is closed
    // (it normally is already); otherwise (the scene was stopped within a
    // script) it is dropped, so that no cut script stands under its name.
    // Bundles stay open either way.
    void endScene(bool complete);
    // Closes every file still open, bundles included.
    void finish();

    // Pages of the scene that went into files that could not be written, or
    // found no file; as far as the files closed so far tell.
    int lostPages(int scene) const;
    int lostPages() const;
    // The files written complete, in the order they were closed (CP932).
    const std::vector<FCString>& writtenFiles() const { return m_written; }

private:
    struct File {
        std::unique_ptr<PdfDocument> document;
        bool opened = false;
        int lastScene = -1;
        std::map<int, int> pagesOfScene;
    };
    File* fileFor(const ScriptPrinter& printer, int target, FCString& path);
    // The bundle of a character: its mended name, distinct from every other
    // character's bundle of the run.
    FCString bundlePath(const FCString& destination, const FCString& character);
    void close(const std::string& key);

    Grouping m_grouping;
    int m_scene = -1;
    // Open files by their path (CP932).
    std::map<std::string, File> m_open;
    // Bundle paths by character name, and the file names they took.
    std::map<std::string, FCString> m_bundlePaths;
    std::set<std::string> m_bundleFileNames;
    PdfDocument* m_pageOf = nullptr;
    // The per-script file the last page went into; closed as the next
    // script begins.
    std::string m_script;
    // The page begun last is the last of its script.
    bool m_lastOfScript = false;
    std::map<int, int> m_lost;
    std::vector<FCString> m_written;
};
