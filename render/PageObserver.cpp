#include "render/PageObserver.h"

#include <cassert>

namespace {
// Pages are drawn on the GUI thread only, so one slot is enough.
PageObserver* installed = nullptr;
} // namespace

PageObserver::PageObserver() : m_previous(installed)
{
    installed = this;
}

PageObserver::~PageObserver()
{
    assert(installed == this && "PageObserver: observers must end in reverse order");
    installed = m_previous;
}

PageObserver* PageObserver::current()
{
    return installed;
}

DeviceContext* PageObserver::pageOpened(const Page&, DeviceContext* dc)
{
    return dc;
}

void PageObserver::pageClosed(const Page&, const PageDevice&) {}
