#pragma once

#include "render/EncodedPage.h"
#include "render/PageDevice.h"
#include "render/PageSink.h"

#include <memory>
#include <string>
#include <vector>

// The pages of a scene drawn away from the run's sink, on a thread of their
// own: each page is drawn on a blank page image as a page image sink draws
// it, turned as it is to be written and made into its PNG or BMP file at
// once, under a temporary name in the staging folder (EncodedPage), and kept
// with its description, to be handed to the run's page image sink in order
// later (PageImageSink::putEncoded). No page file takes its name here, and
// nothing is lost.
class DrawnPageSink : public PageSink {
public:
    struct Drawn {
        Page page;
        EncodedPage file;
    };

    // png: PNG files, else BMP; stagingFolder: native, empty to keep the
    // files' bytes in memory.
    DrawnPageSink(bool png, std::string stagingFolder);
    ~DrawnPageSink() override;

    // The pages drawn to the end, in the order they were begun.
    std::vector<Drawn>& drawn() { return m_drawn; }

protected:
    DeviceContext* openPage(const Page& page) override;
    void closePage() override;
    void closeScene(bool complete) override;
    void closeAll() override;

private:
    bool m_png;
    std::string m_staging;
    std::vector<Drawn> m_drawn;
    Page m_page;                          // the page being drawn
    std::unique_ptr<PageDevice> m_device; // and what it is drawn on
};
