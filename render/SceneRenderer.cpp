#include "render/SceneRenderer.h"

#include "render/PageRenderer.h"
#include "render/RunContext.h"
#include "render/ScriptPrinter.h"

#include <cassert>

SceneRenderer::SceneRenderer(const ScriptPrinter& printer, PageSink& sink, RunContext& context)
    : m_printer(printer), m_sink(sink), m_context(context)
{
}

const FCString& SceneRenderer::pageName() const
{
    return m_pageName.isEmpty() ? m_printer.sceneName() : m_pageName;
}

bool SceneRenderer::printAll()
{
    const int characters = m_printer.layout().characterCount();
    for (int i = 0; i < characters; ++i) {
        m_currentPage = 0;
        while (printPage(-1, i)) {
            if (m_stopped)
                return false;
        }
    }
    if (m_printer.printsDirectorsCopy()) {
        m_currentPage = 0;
        while (printPage(-1, -1)) {
            if (m_stopped)
                return false;
        }
    }
    return true;
}

bool SceneRenderer::printPage(int page, int target)
{
    assert(target >= -1 && target < ScreenplayHeader::TableSize &&
           "SceneRenderer::printPage: target outside the character table");
    if (target < -1 || target >= ScreenplayHeader::TableSize)
        return false;
    if (page == -1)
        page = m_currentPage;
    // A partial run's scripts each have pages of their own.
    if (page < 0 || page >= m_printer.scriptLayout(target).pageCount())
        return false;
    m_currentPage = page;

    if (target >= 0) {
        if (m_printer.excludes(target))
            return false;
        renderPage(target);
        ++m_currentPage;
        return true;
    }

    if (m_printer.printsDirectorsCopy())
        renderPage(-1);
    ++m_currentPage;
    return true;
}

bool SceneRenderer::renderPage(int target)
{
    if (target < -1 || target >= ScreenplayHeader::TableSize ||
        m_printer.scriptLayout(target).pageStart(m_currentPage) == FCString::none)
        return false;

    const PageSink::Page page = describe(target);
    // Made before the page is begun, so that its fonts outlive the page's
    // context.
    PageRenderer renderer(m_printer);
    DeviceContext* dc = m_sink.beginPage(page);
    ++m_pages;
    // Without a context (no printer, no file) the page is drawn nowhere.
    if (dc)
        renderer.draw(*dc, target, m_currentPage);
    m_sink.endPage();
    if (m_context.pageDone(page, m_sink))
        m_stopped = true;
    return true;
}

PageSink::Page SceneRenderer::describe(int target) const
{
    const ScriptLayout& layout = m_printer.scriptLayout(target);
    PageSink::Page page;
    page.target = target;
    page.page = m_currentPage;
    page.pageCount = layout.pageCount();
    page.sceneName = layout.sceneName();
    page.pageName = pageName();
    page.script = layout.targetName(target);
    page.scriptFile = layout.fileTargetName(target);
    return page;
}
