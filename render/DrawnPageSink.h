#pragma once

#include "render/PageDevice.h"
#include "render/PageSink.h"

#include <memory>
#include <vector>

// The pages of a scene drawn away from the run's sink, on a thread of their
// own: each page is drawn on a blank page image as a page image sink draws
// it, turned as it is to be written, and kept with its description, to be
// handed to the run's page image sink in order later (PageImageSink::putDrawn).
// Nothing is written here, and nothing is lost.
class DrawnPageSink : public PageSink {
public:
    struct Drawn {
        Page page;
        std::unique_ptr<PageDevice> device;
    };

    DrawnPageSink();
    ~DrawnPageSink() override;

    // The pages drawn to the end, in the order they were begun.
    std::vector<Drawn>& drawn() { return m_drawn; }

protected:
    DeviceContext* openPage(const Page& page) override;
    void closePage() override;
    void closeScene(bool complete) override;
    void closeAll() override;

private:
    std::vector<Drawn> m_drawn;
    Drawn m_open; // the page being drawn
};
