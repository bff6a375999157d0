#include "platform/CupsPrinter.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <cups/cups.h>
#include <cups/raster.h>
#include <utility>
#include <vector>

// The page travels as PWG raster: every IPP Everywhere printer takes it, and
// libcups writes it without any other library.
//
// A failed step is named after the spooler call it stands for in the
// renderer's traces:
//   "OpenPrinter"  finding the destination on the server;
//   "CreateDC"     asking it for its capabilities, and a page that cannot be
//                  described (no pixels, no size);
//   "StartDoc"     creating the job and starting its document;
//   "EndDoc"       sending the page and closing the document.

namespace {

constexpr int defaultDotsPerInch = 600;
// ISO A4 in hundredths of a millimetre.
constexpr int a4Width = 21000;
constexpr int a4Length = 29700;
// Hundredths of a millimetre in an inch: the unit of CUPS media sizes.
constexpr long long mediaUnitsPerInch = 2540;

// The number a failed CUPS call leaves: its IPP status, or errno when the
// status says nothing (a broken connection), never 0.
int lastFailure(int savedErrno)
{
    const ipp_status_t status = cupsLastError();
    if (status > IPP_STATUS_OK_CONFLICTING)
        return static_cast<int>(status);
    return savedErrno != 0 ? savedErrno : EIO;
}

int statusOrErrno(ipp_status_t status, int savedErrno)
{
    if (status > IPP_STATUS_OK_CONFLICTING)
        return static_cast<int>(status);
    return lastFailure(savedErrno);
}

// Queue names never hold a "/": one separates the queue from an lpoptions
// instance of it, whose options (its media) then apply.
std::string queueOf(const std::string& name)
{
    return name.substr(0, name.find('/'));
}

// A destination of the default server, described; everything is let go
// with the object. All requests go over libcups' connection to the default
// server: the destinations it lists name their printer URIs after the host
// name the server knows itself by, and a connection of our own to that host
// would be taken for one straight to the device.
class Destination {
public:
    Destination() = default;
    ~Destination()
    {
        if (m_info)
            cupsFreeDestInfo(m_info);
        if (m_dest)
            cupsFreeDests(1, m_dest);
    }
    Destination(const Destination&) = delete;
    Destination& operator=(const Destination&) = delete;

    // Finds the named destination ("queue" or "queue/instance"); 0 or an
    // error number.
    int open(const std::string& name)
    {
        const std::string queue = queueOf(name);
        const std::size_t slash = name.find('/');
        const std::string instance = slash == std::string::npos ? "" : name.substr(slash + 1);
        errno = 0;
        m_dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(),
                                  instance.empty() ? nullptr : instance.c_str());
        if (!m_dest)
            return lastFailure(errno);
        return 0;
    }

    // Asks the destination for its capabilities and defaults.
    int describe()
    {
        errno = 0;
        m_info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, m_dest);
        if (!m_info)
            return lastFailure(errno);
        return 0;
    }

    http_t* http() const { return CUPS_HTTP_DEFAULT; }
    cups_dest_t* dest() const { return m_dest; }
    cups_dinfo_t* info() const { return m_info; }

private:
    cups_dest_t* m_dest = nullptr;
    cups_dinfo_t* m_info = nullptr;
};

// The default resolution in dots per inch (the horizontal one where the two
// differ, as the page is scaled by it), 0 when the printer gives none.
int defaultResolution(const Destination& destination)
{
    ipp_attribute_t* attribute = cupsFindDestDefault(destination.http(), destination.dest(),
                                                     destination.info(), "printer-resolution");
    if (!attribute || ippGetValueTag(attribute) != IPP_TAG_RESOLUTION)
        return 0;
    int yres = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int xres = ippGetResolution(attribute, 0, &yres, &units);
    if (xres <= 0)
        return 0;
    if (units == IPP_RES_PER_CM)
        return static_cast<int>(std::lround(xres * 2.54));
    return xres;
}

// The default media's size in hundredths of a millimetre; false when the
// printer (and the user's options) name none that is known.
bool defaultMedia(const Destination& destination, int& width, int& length)
{
    cups_dest_t* dest = destination.dest();
    ipp_attribute_t* attribute =
        cupsFindDestDefault(destination.http(), dest, destination.info(), "media");
    const char* userMedia = cupsGetOption("media", dest->num_options, dest->options);
    if (!attribute && !userMedia)
        return false;

    cups_size_t size{};
    if (cupsGetDestMediaDefault(destination.http(), dest, destination.info(),
                                CUPS_MEDIA_FLAGS_DEFAULT, &size) &&
        size.width > 0 && size.length > 0) {
        width = size.width;
        length = size.length;
        return true;
    }
    // A printer that lists no media of its own still names its default by a
    // standard name.
    const char* name = userMedia ? userMedia : ippGetString(attribute, 0, nullptr);
    if (!name)
        return false;
    pwg_media_t* media = pwgMediaForPWG(name);
    if (!media)
        media = pwgMediaForLegacy(name);
    if (!media)
        media = pwgMediaForPPD(name);
    if (!media || media->width <= 0 || media->length <= 0)
        return false;
    width = media->width;
    length = media->length;
    return true;
}

int pixelsFor(int mediaUnits, int dotsPerInch)
{
    // Truncated as libcups sizes a raster page for the same media.
    const long long pixels = static_cast<long long>(mediaUnits) * dotsPerInch / mediaUnitsPerInch;
    return pixels > 0x7fffffffLL ? 0x7fffffff : static_cast<int>(pixels);
}

// The raster writer's output: the open document's request body.
ssize_t writeToDocument(void* context, unsigned char* buffer, size_t length)
{
    auto* http = static_cast<http_t*>(context);
    if (cupsWriteRequestData(http, reinterpret_cast<const char*>(buffer), length) !=
        HTTP_STATUS_CONTINUE)
        return -1;
    return static_cast<ssize_t>(length);
}

// Writes the page as a one-page PWG raster stream; 0 or an error number.
int writeRaster(http_t* http, const CupsPrinter::PageGeometry& geometry, const uint8_t* pixels,
                int stride)
{
    const int dpi = geometry.dotsPerInch;
    const int width = geometry.widthPixels;
    const int height = geometry.heightPixels;

    cups_page_header2_t header;
    std::memset(&header, 0, sizeof header);
    // The media named in the header is the standard size nearest the page;
    // the page's own pixel size is what the raster carries.
    const auto mediaWidth = static_cast<int>(std::lround(width * 2540.0 / dpi));
    const auto mediaLength = static_cast<int>(std::lround(height * 2540.0 / dpi));
    pwg_media_t* media = pwgMediaForSize(mediaWidth, mediaLength);
    if (!media ||
        !cupsRasterInitPWGHeader(&header, media, "sgray_8", dpi, dpi, "one-sided", nullptr))
        return EINVAL;
    header.cupsWidth = static_cast<unsigned>(width);
    header.cupsHeight = static_cast<unsigned>(height);
    header.cupsBytesPerLine = static_cast<unsigned>(width);
    header.PageSize[0] = static_cast<unsigned>(std::lround(width * 72.0 / dpi));
    header.PageSize[1] = static_cast<unsigned>(std::lround(height * 72.0 / dpi));
    header.cupsInteger[0] = 1; // TotalPageCount

    errno = 0;
    cups_raster_t* raster = cupsRasterOpenIO(writeToDocument, http, CUPS_RASTER_WRITE_PWG);
    if (!raster)
        return errno != 0 ? errno : EIO;
    int result = 0;
    errno = 0;
    if (!cupsRasterWriteHeader2(raster, &header)) {
        result = lastFailure(errno);
    } else {
        // The writer wants a buffer it may touch.
        std::vector<unsigned char> row(static_cast<std::size_t>(width));
        for (int y = 0; y < height && result == 0; ++y) {
            std::memcpy(row.data(),
                        pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride),
                        row.size());
            errno = 0;
            if (cupsRasterWritePixels(raster, row.data(), static_cast<unsigned>(row.size())) !=
                row.size())
                result = lastFailure(errno);
        }
    }
    cupsRasterClose(raster);
    return result;
}

} // namespace

bool CupsPrinter::defaultPrinter(std::string& name)
{
    name.clear();
    // The default as libcups decides it: LPDEST and PRINTER, the lpoptions
    // files, then the server's default, on the server CUPS_SERVER or
    // client.conf names.
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!dest)
        return false;
    if (dest->name) {
        name = dest->name;
        if (dest->instance && *dest->instance)
            name += std::string("/") + dest->instance;
    }
    cupsFreeDests(1, dest);
    return !name.empty();
}

bool CupsPrinter::pageGeometry(const std::string& printer, PageGeometry& geometry)
{
    Destination destination;
    if (destination.open(printer) != 0 || destination.describe() != 0)
        return false;

    PageGeometry result;
    const int dpi = defaultResolution(destination);
    result.dotsPerInch = dpi > 0 ? dpi : defaultDotsPerInch;

    int width = 0;
    int length = 0;
    if (!defaultMedia(destination, width, length)) {
        width = a4Width;
        length = a4Length;
    }
    // Printed sheets are portrait whatever way round the media is named.
    if (width > length)
        std::swap(width, length);
    result.widthPixels = pixelsFor(width, result.dotsPerInch);
    result.heightPixels = pixelsFor(length, result.dotsPerInch);
    if (result.widthPixels <= 0 || result.heightPixels <= 0)
        return false;
    geometry = result;
    return true;
}

int CupsPrinter::jobCount(const std::string& printer)
{
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queueOf(printer).c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
    if (jobs)
        cupsFreeJobs(count, jobs);
    return count < 0 ? -1 : count;
}

int CupsPrinter::printPage(const std::string& printer, const std::string& title,
                           const PageGeometry& geometry, const uint8_t* pixels, int stride,
                           std::string& call)
{
    call.clear();
    if (geometry.dotsPerInch <= 0 || geometry.widthPixels <= 0 || geometry.heightPixels <= 0 ||
        !pixels || stride < geometry.widthPixels) {
        call = "CreateDC";
        return EINVAL;
    }

    Destination destination;
    if (const int error = destination.open(printer); error != 0) {
        call = "OpenPrinter";
        return error;
    }
    if (const int error = destination.describe(); error != 0) {
        call = "CreateDC";
        return error;
    }
    http_t* http = destination.http();
    cups_dest_t* dest = destination.dest();
    cups_dinfo_t* info = destination.info();

    int jobId = 0;
    errno = 0;
    ipp_status_t status = cupsCreateDestJob(http, dest, info, &jobId, title.c_str(), 0, nullptr);
    if (status > IPP_STATUS_OK_CONFLICTING || jobId <= 0) {
        call = "StartDoc";
        return statusOrErrno(status, errno);
    }
    errno = 0;
    if (cupsStartDestDocument(http, dest, info, jobId, title.c_str(), "image/pwg-raster", 0,
                              nullptr, 1) != HTTP_STATUS_CONTINUE) {
        const int error = lastFailure(errno);
        // A job without its document would wait on the printer for ever.
        cupsCancelDestJob(http, dest, jobId);
        call = "StartDoc";
        return error;
    }

    const int writeError = writeRaster(http, geometry, pixels, stride);
    errno = 0;
    status = cupsFinishDestDocument(http, dest, info);
    const int finishError = status > IPP_STATUS_OK_CONFLICTING ? statusOrErrno(status, errno) : 0;
    if (writeError != 0 || finishError != 0) {
        // Half a page is not printed: the job goes.
        cupsCancelDestJob(http, dest, jobId);
        call = "EndDoc";
        return writeError != 0 ? writeError : finishError;
    }
    return 0;
}
