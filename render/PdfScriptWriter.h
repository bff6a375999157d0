#pragma once

#include "fc/FCString.h"
#include "render/PageSink.h"

#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class DeviceContext;
class PdfBundleWriters;
class PdfDocument;
class RecordedCairoPage;

// The page sink of the PDF device. Per script, each script of a scene is one
// file, destination + page name + "/" + page name + "." + character +
// ".pdf", closed as its last page is drawn. By actor, each character (and
// the director's copy) has one bundle, destination + character + ".pdf",
// that gathers its scripts of every scene of the run in the order they are
// printed, with an outline entry (the scene's page name) before the
// character's first page of each scene; the bundles stay open until finish.
//
// Every file is written under a temporary name and takes its name only when
// complete; the temporaries that a process which ended left in the
// destination are removed before the first file. A file that cannot be
// written loses all of its pages; they are counted against the scenes that
// put them there, which a run reads after the scene (per script) or after
// finish (bundles).
//
// The scene ends complete: the script file still open is closed (it normally
// is already); otherwise (the scene was stopped within a script) it is
// dropped, so that no cut script stands under its name. Bundles stay open
// either way, until finish closes every file still open.
//
// Pages drawn on other threads are handed on as if drawn here (no context
// is given for them then): a page recorded there is painted into its file
// in its turn, and a script file written there completely under a
// temporary name takes its script's place and gets its name when its last
// page has been handed on, as a script drawn here would.
//
// Bundles may be written on threads of their own (writeBundlesOn): each
// recorded page handed on then goes to the bundle's queue, to be painted
// in its turn there, and finish writes the bundles' ends side by side. The
// files are the same; what a bundle lost is known after finish either way.
class PdfScriptWriter : public PageSink {
public:
    enum class Grouping {
        PerScript,
        ByActor,
    };

    // The destination folder ends with "/".
    PdfScriptWriter(Grouping grouping, const FCString& destination);
    // Files still open are dropped: only finish makes them complete.
    ~PdfScriptWriter() override;

    Grouping grouping() const { return m_grouping; }

    // From now on the recorded pages of bundles are painted on up to
    // threads threads (see PdfBundleWriters), and at most queuedPages of
    // them wait; fewer than 2 threads: on the thread that hands them on.
    // Per script nothing changes.
    void writeBundlesOn(int threads, std::size_t queuedPages);

    // The files written complete, in the order they were closed (CP932).
    const std::vector<FCString>& writtenFiles() const { return m_written; }

    // The next page begun is this one, already drawn.
    void putRecorded(std::unique_ptr<RecordedCairoPage> page);
    // The script whose first page is begun next is this file, complete
    // (PdfDocument::complete) under the name the writer would give it.
    void putComplete(std::unique_ptr<PdfDocument> script);

protected:
    DeviceContext* openPage(const Page& page) override;
    void closePage() override;
    void closeScene(bool complete) override;
    void closeAll() override;

private:
    struct File {
        std::unique_ptr<PdfDocument> document;
        bool opened = false;
        bool failed = false; // its pages could not all be painted into it
        int lastScene = -1;
        std::map<int, int> pagesOfScene;
    };
    File* fileFor(const Page& page);
    // The bundle of a character: its mended name, distinct from every other
    // character's bundle of the run.
    FCString bundlePath(const FCString& destination, const FCString& character);
    void close(const std::string& key);
    // Once, before the first file: removes the PDF temporaries that
    // processes which ended (a crash) left where this writer's go.
    void removeLeftovers();
    // The same in a folder (CP932) of scripts, unless it was the last one.
    void removeLeftoversIn(const std::string& folder);
    // The writers are done with the file's document: it is this thread's.
    void settle(File& file);

    Grouping m_grouping;
    FCString m_destination;
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
    std::vector<FCString> m_written;
    std::unique_ptr<RecordedCairoPage> m_recorded;
    std::unique_ptr<PdfDocument> m_completeScript;
    bool m_leftoversRemoved = false;
    std::string m_cleaned; // the folder removeLeftoversIn looked at last
    // Declared after the files: it goes first, while their documents live.
    std::unique_ptr<PdfBundleWriters> m_writers;
};
