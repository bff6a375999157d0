#include "render/PageDevice.h"

#include "fc/CannotOpenException.h"
#include "fc/CannotWriteException.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/NativePath.h"
#include "platform/PngWriter.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "platform/Trace.h"
#include "render/FCVSurface.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
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

// What a file looked like: enough to tell whether a failed write touched it.
struct FileState {
    bool exists = false;
    ino_t inode = 0;
    long long seconds = 0;
    long nanoseconds = 0;
    off_t size = 0;
    bool operator==(const FileState&) const = default;
};

FileState stateOf(const std::string& native)
{
    FileState state;
    struct stat status {};
    if (native.empty() || ::lstat(native.c_str(), &status) != 0)
        return state;
    state = {true, status.st_ino, status.st_mtim.tv_sec, status.st_mtim.tv_nsec, status.st_size};
    return state;
}

constexpr uint32_t BmpFileHeaderSize = 14;
constexpr uint32_t BmpInfoHeaderSize = 40;
constexpr uint32_t BmpPixelOffset = BmpFileHeaderSize + BmpInfoHeaderSize + 256 * 4;

void put16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value)
{
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

// The 8-bit BMP head of a grey page: file and info headers and the grey
// palette (entry i is RGB(i, i, i)).
std::array<uint8_t, BmpPixelOffset> bmpHead(const FCVSurface& page)
{
    std::array<uint8_t, BmpPixelOffset> head{};
    head[0] = 'B';
    head[1] = 'M';
    put32(&head[2], static_cast<uint32_t>(page.byteSize() + BmpPixelOffset));
    put32(&head[10], BmpPixelOffset);
    uint8_t* info = &head[BmpFileHeaderSize];
    put32(info, BmpInfoHeaderSize);
    put32(info + 4, static_cast<uint32_t>(page.width()));
    put32(info + 8, static_cast<uint32_t>(page.height())); // positive: rows bottom-up
    put16(info + 12, 1);                                   // planes
    put16(info + 14, 8);                                   // bits per pixel
    uint8_t* palette = info + BmpInfoHeaderSize;
    for (int i = 0; i < 256; ++i)
        palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<uint8_t>(i);
    return head;
}

// The page as an 8-bit BMP file, the same bytes FCVSurface::saveBmp writes,
// in one gathered write of the head and the page's own pixels (the surface
// keeps its rows bottom-up, as the file wants them), so nothing is copied.
// The file layer opens the file and asks the user about its failures: an
// empty write through it first lets it fail the write as it would fail any
// other, and whatever the gathered write did not take goes through it too,
// so that a real failure is put to the user like every other. False when
// the file could not be written.
bool writeBmp(const FCVSurface& page, const char* path)
{
    const std::array<uint8_t, BmpPixelOffset> head = bmpHead(page);
    try {
        FCFile file(path, FCFile::WriteDisposition, FCFile::WriteAccess, FCFile::Share,
                    FCFile::Attributes);
        if (!file.isOpen() || file.write(head.data(), 0) != 0)
            return false;
        const std::size_t total = head.size() + page.byteSize();
        std::size_t done = 0;
        iovec parts[2] = {{const_cast<uint8_t*>(head.data()), head.size()},
                          {const_cast<uint8_t*>(page.bits()), page.byteSize()}};
        ssize_t taken;
        do
            taken = ::writev(file.handle(), parts, 2);
        while (taken < 0 && errno == EINTR);
        if (taken > 0)
            done = static_cast<std::size_t>(taken);
        while (done < total) {
            const bool inHead = done < head.size();
            const uint8_t* from = inHead ? head.data() + done : page.bits() + (done - head.size());
            const std::size_t left = inHead ? head.size() - done : total - done;
            const uint32_t part = static_cast<uint32_t>(std::min<std::size_t>(left, 1u << 30));
            const uint32_t wrote = file.write(from, part);
            if (wrote != part)
                return false;
            done += wrote;
        }
        // The file is opened without truncation: cut what an older, longer
        // file left behind.
        file.setEndOfFile();
        return true;
    } catch (const CannotOpenException&) {
        return false;
    } catch (const CannotWriteException&) {
        return false;
    }
}

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

bool PageDevice::save(const char* path, bool asPng)
{
    if (!m_pageSurface || !path)
        return false;
    FCPathName file(path);
    file.replaceExtension(asPng ? ".png" : ".bmp");
    if (!asPng) {
        // A failed write (a full disk, say) must not leave an empty or cut
        // page under the page's name: what this write created or changed
        // goes again. A file it could not even open is left as it was.
        std::string native;
        if (NativePath::fromCp932(file.string().view(), native) != 0)
            native.clear();
        const FileState before = stateOf(native);
        const std::unique_ptr<FCVSurface> turned =
            m_turnOnSave ? m_pageSurface->turnedClockwise() : nullptr;
        const bool written = writeBmp(turned ? *turned : *m_pageSurface, file.text());
        if (!written && !native.empty()) {
            const FileState after = stateOf(native);
            if (after.exists && !(after == before))
                ::unlink(native.c_str());
        }
        return written;
    }
    // The grey page goes to the encoder as it is; the encoder widens each
    // row to RGB.
    std::unique_ptr<FCVSurface> turned = m_turnOnSave ? m_pageSurface->turnedClockwise() : nullptr;
    const FCVSurface& page = turned ? *turned : *m_pageSurface;
    const std::ptrdiff_t rowStep = -static_cast<std::ptrdiff_t>(page.stride());
    if (PngWriter::Pipeline* pipeline = PngWriter::Pipeline::current(); pipeline && turned) {
        // The turned copy is the pipeline's now; the device keeps its page.
        const uint8_t* top = page.pixel(0, 0);
        pipeline->queueGrey(file.string().toStdString(), page.width(), page.height(), top, rowStep,
                            true, std::shared_ptr<const FCVSurface>(std::move(turned)));
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
