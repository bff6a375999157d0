#include "render/PageDevice.h"

#include "fc/FCPathName.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/PngWriter.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "platform/Trace.h"
#include "render/BmpWriter.h"
#include "render/FCVSurface.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

// The name a missing default printer stands under, as the profile lookup
// gives it.
constexpr const char* noPrinter = "Not";

// More jobs than this are not listed.
constexpr int jobListLimit = 99;

// A printer page is one byte per pixel; a page of more than this is taken
// for a broken answer rather than allocated (A0 at 1200 dpi stays below).
constexpr long long largestPrinterPage = 1LL << 31;

} // namespace

PageDevice::PageDevice() = default;

PageDevice::~PageDevice()
{
    release();
}

void PageDevice::open(bool landscape, bool image)
{
    if (image) {
        release();
        m_pageSurface = std::make_unique<FCVSurface>(ImageWidth, ImageHeight, 255);
        m_turnOnSave = !landscape;
        m_turnedNow = false;
        return;
    }
    openPrinter(landscape);
    if (!m_printerPage) {
        if (!m_printerOpen)
            traceFailure("CreateDC", ENODEV);
        else if (!createPrinterPage())
            traceFailure("CreateDC", ENOMEM);
    }
}

void PageDevice::openPrinter(bool landscape)
{
    // The default printer is looked up for each page, as the page device
    // lives for one page only; image pages never ask for it.
    if (m_printerName.isEmpty()) {
        std::string name;
        m_hasDefault = CupsPrinter::defaultPrinter(name) && !name.empty();
        m_printerName = FCString(std::string_view(m_hasDefault ? name : std::string(noPrinter)));
    }
    if (m_printerOpen)
        return;
    CupsPrinter::PageGeometry geometry;
    if (!m_hasDefault || !CupsPrinter::pageGeometry(m_printerName.toStdString(), geometry) ||
        geometry.dotsPerInch <= 0 || geometry.widthPixels <= 0 || geometry.heightPixels <= 0) {
        traceFailure("OpenPrinter", ENODEV);
        return;
    }
    if (landscape)
        std::swap(geometry.widthPixels, geometry.heightPixels);
    m_deviceMode = geometry;
    m_printerOpen = true;
}

bool PageDevice::createPrinterPage()
{
    const long long pixels =
        static_cast<long long>(m_deviceMode.widthPixels) * m_deviceMode.heightPixels;
    if (pixels > largestPrinterPage)
        return false;
    try {
        auto page =
            std::make_unique<FCVSurface>(m_deviceMode.widthPixels, m_deviceMode.heightPixels, 255);
        page->setResolution(m_deviceMode.dotsPerInch);
        m_printerPage = std::move(page);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const NotEnoughMemoryException&) {
        return false;
    }
    return true;
}

DeviceContext* PageDevice::deviceContext()
{
    if (m_pageSurface)
        return &m_pageSurface->lockDC();
    if (m_printerPage)
        return &m_printerPage->lockDC();
    return nullptr;
}

void PageDevice::logJobs()
{
    if (!m_printerOpen)
        return;
    int jobs = CupsPrinter::jobCount(m_printerName.toStdString());
    if (jobs < 0) {
        // One trace call is one line of the debugger output.
        Trace::write(std::string(Sjis::of("EnumJobs しっぱい")) + "\n");
        return;
    }
    if (jobs > jobListLimit)
        jobs = jobListLimit;
    Trace::write("EnumJobs: Job's number = " + std::to_string(jobs) + "\n");
}

void PageDevice::startDocument(const FCString& title, const char* output)
{
    if (m_pageSurface)
        return;
    m_documentTitle = title;
    m_outputFile = FCString(output ? output : "");
    if (!m_printerPage) {
        traceFailure("StartDoc", ENODEV);
        return;
    }
    m_documentOpen = true;
}

void PageDevice::turnNow()
{
    if (!m_pageSurface || !m_turnOnSave)
        return;
    m_pageSurface = m_pageSurface->turnedClockwise();
    m_turnOnSave = false;
    m_turnedNow = true;
}

bool PageDevice::save(const char* path, bool asPng, PngWriter::Pipeline* pipeline)
{
    if (!m_pageSurface || !path)
        return false;
    FCPathName file(path);
    file.replaceExtension(asPng ? ".png" : ".bmp");
    std::unique_ptr<FCVSurface> turned = m_turnOnSave ? m_pageSurface->turnedClockwise() : nullptr;
    // A page turned already goes to the pipeline as a turned copy would.
    if (m_turnedNow && asPng && pipeline)
        turned = std::move(m_pageSurface);
    const FCVSurface& page = turned ? *turned : *m_pageSurface;
    if (!asPng) {
        // The surface keeps its rows bottom-up, as the file wants them.
        return BmpWriter::writeGrey(file.text(), page.width(), page.height(), page.bits(),
                                    static_cast<std::size_t>(page.stride()));
    }
    // The grey page goes to the encoder as it is; the encoder widens each
    // row to RGB.
    const std::ptrdiff_t rowStep = -static_cast<std::ptrdiff_t>(page.stride());
    if (pipeline && turned) {
        // The turned copy is the pipeline's now; the device keeps its page.
        const uint8_t* top = page.pixel(0, 0);
        pipeline->queueGrey(file.string().toStdString(), page.width(), page.height(), top, rowStep,
                            true, std::shared_ptr<const FCVSurface>(turned.release()));
        return true;
    }
    int result = PngWriter::writeGrey(file.string().toStdString(), page.width(), page.height(),
                                      page.pixel(0, 0), rowStep, true);
    if (result != 0) {
        // PNG failures are not put to the user; the trace keeps them visible.
        Trace::write("savePng: cannot write ");
        Trace::write(file.string().view());
        Trace::write(", result " + std::to_string(result) + "\n");
        return false;
    }
    return true;
}

void PageDevice::endDocument()
{
    if (!m_documentOpen)
        return;
    m_documentOpen = false;
    if (!m_printerPage)
        return;
    const FCVSurface& page = *m_printerPage;
    const int width = page.width();
    const int height = page.height();
    // The surface keeps its rows bottom-up; the printer takes them from the top.
    std::vector<uint8_t> rows;
    try {
        rows.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        traceFailure("EndDoc", ENOMEM);
        return;
    }
    for (int y = 0; y < height; ++y)
        std::memcpy(rows.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                    page.pixel(0, y), static_cast<std::size_t>(width));
    std::string call;
    const int error = CupsPrinter::printPage(m_printerName.toStdString(),
                                             TextCodec::toUtf8(m_documentTitle.view()),
                                             m_deviceMode, rows.data(), width, call);
    if (error != 0)
        traceFailure(call.empty() ? "EndDoc" : call.c_str(), error);
}

void PageDevice::release()
{
    m_pageSurface.reset();
    endDocument();
    m_printerPage.reset();
    m_deviceMode = CupsPrinter::PageGeometry();
    m_printerOpen = false;
}

void PageDevice::traceFailure(const char* call, int error) const
{
    std::string text(call);
    text += " DocTitle:";
    text += m_documentTitle.view();
    text += " filename:";
    text += m_outputFile.view();
    text += " error:" + std::to_string(error) + "\n";
    Trace::write(text);
}
