#include "render/PrinterPageSink.h"

#include "render/PageDevice.h"

#include <string>

PrinterPageSink::PrinterPageSink() = default;

PrinterPageSink::~PrinterPageSink() = default;

FCString PrinterPageSink::jobTitle(const Page& page)
{
    // The print queue lists the job under this title: scene, script and
    // page, so that a user can tell a run's jobs apart.
    FCString title(page.sceneName.isEmpty() ? page.pageName : page.sceneName);
    title.append(" ");
    title.append(page.script.view());
    title.append(" " + std::to_string(page.page + 1) + "/" + std::to_string(page.pageCount));
    return title;
}

DeviceContext* PrinterPageSink::openPage(const Page& page)
{
    m_device = std::make_unique<PageDevice>();
    m_device->open(false, false);
    m_device->logJobs();
    m_device->startDocument(jobTitle(page), nullptr);
    // Without a printer the page is drawn nowhere.
    return m_device->deviceContext();
}

void PrinterPageSink::closePage()
{
    if (!m_device->isPrinterOpen() || !m_device->printerSurface())
        addLost(scene(), 1);
    m_device->endDocument();
    m_device->release();
    m_device.reset();
}

void PrinterPageSink::closeScene(bool)
{
    // A page whose drawing raised still goes out, as far as it was drawn.
    m_device.reset();
}

void PrinterPageSink::closeAll()
{
    m_device.reset();
}
