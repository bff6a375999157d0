#include "render/DrawnPageSink.h"

#include "render/PageDevice.h"
#include "render/PageImageSink.h"

#include <utility>

DrawnPageSink::DrawnPageSink() = default;

DrawnPageSink::~DrawnPageSink() = default;

DeviceContext* DrawnPageSink::openPage(const Page& page)
{
    m_open.page = page;
    m_open.device = PageImageSink::blankPage();
    return m_open.device->deviceContext();
}

void DrawnPageSink::closePage()
{
    // Turned here, by the thread that drew it, rather than by the one that
    // will write it.
    m_open.device->turnNow();
    m_drawn.push_back(std::move(m_open));
    m_open = Drawn();
}

void DrawnPageSink::closeScene(bool)
{
    // A page whose drawing raised is not kept.
    m_open = Drawn();
}

void DrawnPageSink::closeAll()
{
    m_open = Drawn();
}
