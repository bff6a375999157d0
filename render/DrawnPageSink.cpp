#include "render/DrawnPageSink.h"

#include "render/PageImageSink.h"

#include <utility>

DrawnPageSink::DrawnPageSink(bool png, std::string stagingFolder)
    : m_png(png), m_staging(std::move(stagingFolder))
{
}

DrawnPageSink::~DrawnPageSink() = default;

DeviceContext* DrawnPageSink::openPage(const Page& page)
{
    m_page = page;
    m_device = PageImageSink::blankPage();
    return m_device->deviceContext();
}

void DrawnPageSink::closePage()
{
    // Turned and encoded here, by the thread that drew it, rather than by
    // the one that will file it.
    m_device->turnNow();
    m_drawn.push_back(
        {std::move(m_page), EncodedPage::encode(*m_device->pageSurface(), m_png, m_staging)});
    m_device.reset();
}

void DrawnPageSink::closeScene(bool)
{
    // A page whose drawing raised is not kept.
    m_device.reset();
}

void DrawnPageSink::closeAll()
{
    m_device.reset();
}
