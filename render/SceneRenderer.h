#pragma once

#include "fc/FCString.h"
#include "render/PageSink.h"

class RunContext;
class ScriptPrinter;

// Emits the scripts of a laid-out scene page by page: each character's
// script in table order (a character the scene excludes gives none), then
// the director's copy when the printer's option asks. Every page is drawn by
// a PageRenderer on the context its sink gives for it, and after every page
// the run context is told, which lets the user's input in and may ask the
// scene to stop: it stops by returning after the page it is on.
//
// The sink's scenes are its caller's: the caller begins and ends them.
class SceneRenderer {
public:
    SceneRenderer(const ScriptPrinter& printer, PageSink& sink, RunContext& context);

    // The name page files are filed under (their folder and the start of
    // their file names): the scene name unless another is set, as a run
    // does for a later scene of a name it has already used.
    void setPageName(const FCString& name) { m_pageName = name; }
    const FCString& pageName() const;

    // Every script of the scene; false when the run context stopped it.
    bool printAll();
    // One page of the script for character slot target (-1: the director's
    // copy); page -1 is the current page. False when nothing (more) is to be
    // printed for the character.
    bool printPage(int page, int target);
    // Draws the current page for target into the sink; false when the page
    // has no line (nothing is begun then).
    bool renderPage(int target);

    int currentPage() const { return m_currentPage; }
    void setCurrentPage(int page) { m_currentPage = page; }
    // The run context asked to stop after a page.
    bool stopped() const { return m_stopped; }
    // Pages begun in the sink.
    int pages() const { return m_pages; }

private:
    PageSink::Page describe(int target) const;

    const ScriptPrinter& m_printer;
    PageSink& m_sink;
    RunContext& m_context;
    FCString m_pageName;
    int m_currentPage = 0;
    int m_pages = 0;
    bool m_stopped = false;
};
