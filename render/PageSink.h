#pragma once

#include "fc/FCString.h"

#include <map>

class DeviceContext;

// Where drawn pages go: page image files, the printer, PDF files. The scene
// renderer asks the sink for a context to draw each page on, draws, and ends
// the page; the sink makes it a file, a job or a page of a PDF, and counts
// every page it took as written or lost. A sink may write in the background:
// the pages of a scene are settled (written or known lost) when the scene
// has ended, and every page of the sink once it has finished.
//
//   sink.beginScene();
//   for every page: dc = sink.beginPage(page); draw on dc; sink.endPage();
//   sink.endScene(complete);
//   ... more scenes ...
//   sink.finish();
class PageSink {
public:
    // One page of a script, with every name its file or job is made of.
    struct Page {
        int target = -1; // character slot; -1 for the director's copy
        int page = 0;    // 0-based
        int pageCount = 0;
        FCString sceneName;  // as the header gives it
        FCString pageName;   // the name the scene's files are filed under
        FCString script;     // the character's name, or the director's caption
        FCString scriptFile; // the name the script's files take
    };

    PageSink() = default;
    virtual ~PageSink() = default;
    PageSink(const PageSink&) = delete;
    PageSink& operator=(const PageSink&) = delete;

    // The pages from now on belong to a new scene; its number, for
    // lostPages.
    int beginScene();
    // The context to draw the page on, valid until endPage; null when the
    // page can be drawn nowhere (it is then lost, or counted as the sink
    // counts such pages).
    DeviceContext* beginPage(const Page& page);
    // The page drawn since beginPage is done with.
    void endPage();
    // The scene is over. complete: it ran to its end; otherwise a script was
    // cut short, and a sink that holds a script as a whole drops it. A page
    // still begun (a drawing that raised) is dropped. Afterwards the scene's
    // pages are written or lost, as far as files still open can tell.
    void endScene(bool complete);
    // Closes every file still open; afterwards every page is written or lost.
    void finish();

    // The file that holds the page alone (a page image), empty when the page
    // goes to the printer or into a file of several pages.
    virtual FCString pageFile(const Page& page) const;

    // Pages begun.
    int pages() const { return m_pages; }
    // Pages lost: of one scene, or of all, as far as known so far.
    int lostPages(int scene) const;
    int lostPages() const;
    // Pages that reached their file or printer, as far as known so far.
    int writtenPages() const { return m_pages - lostPages(); }

protected:
    virtual void openScene();
    virtual DeviceContext* openPage(const Page& page) = 0;
    virtual void closePage() = 0;
    virtual void closeScene(bool complete);
    virtual void closeAll();

    // The scene the pages belong to now (-1 before the first).
    int scene() const { return m_scene; }
    bool pageOpen() const { return m_pageOpen; }
    // Counts pages of a scene as lost.
    void addLost(int scene, int pages);

private:
    int m_scene = -1;
    int m_pages = 0;
    bool m_pageOpen = false;
    std::map<int, int> m_lost;
};
