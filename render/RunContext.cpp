#include "render/RunContext.h"

#include "fc/Progress.h"

#include <utility>

RunContext::RunContext(Progress* progress, PageWatch watch)
    : m_progress(progress), m_watch(std::move(watch))
{
}

bool RunContext::pageDone(const PageSink::Page& page, const PageSink& sink)
{
    if (m_watch)
        m_watch(page, sink);
    if (m_progress)
        m_progress->pump();
    return stopRequested();
}

bool RunContext::stopRequested() const
{
    return m_stop || (m_progress && m_progress->stopRequested()) || (m_stopCheck && m_stopCheck());
}
