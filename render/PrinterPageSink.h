#pragma once

#include "fc/FCString.h"
#include "render/PageSink.h"

#include <memory>

class PageDevice;

// The default printer: every page is one job of its own, titled by the
// scene, the script and "page/pages", drawn on a page of the printer's size
// and resolution and sent as the page ends. The printer is looked up again
// for every page. A page drawn while no printer was reached counts as lost;
// failures of the printer path are traced, never shown.
class PrinterPageSink : public PageSink {
public:
    PrinterPageSink();
    ~PrinterPageSink() override;

    // The title of a page's job: the scene name (or, without one, the page
    // name), the script's name and "page/pages", with blanks between.
    static FCString jobTitle(const Page& page);

    // The page being drawn, between beginPage and endPage; null otherwise.
    const PageDevice* device() const { return m_device.get(); }

protected:
    DeviceContext* openPage(const Page& page) override;
    void closePage() override;
    void closeScene(bool complete) override;
    void closeAll() override;

private:
    std::unique_ptr<PageDevice> m_device;
};
