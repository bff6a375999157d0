#include "render/PageSink.h"

int PageSink::beginScene()
{
    ++m_scene;
    openScene();
    return m_scene;
}

DeviceContext* PageSink::beginPage(const Page& page)
{
    // A page begun and never ended is ended here, before the next.
    endPage();
    ++m_pages;
    m_pageOpen = true;
    return openPage(page);
}

void PageSink::endPage()
{
    if (!m_pageOpen)
        return;
    closePage();
    m_pageOpen = false;
}

void PageSink::endScene(bool complete)
{
    closeScene(complete);
    m_pageOpen = false;
}

void PageSink::finish()
{
    closeAll();
    m_pageOpen = false;
}

FCString PageSink::pageFile(const Page&) const
{
    return FCString();
}

int PageSink::lostPages(int scene) const
{
    const auto found = m_lost.find(scene);
    return found == m_lost.end() ? 0 : found->second;
}

int PageSink::lostPages() const
{
    int lost = 0;
    for (const auto& [scene, pages] : m_lost)
        lost += pages;
    return lost;
}

void PageSink::openScene() {}

void PageSink::closeScene(bool) {}

void PageSink::closeAll() {}

void PageSink::addLost(int scene, int pages)
{
    m_lost[scene] += pages;
}
