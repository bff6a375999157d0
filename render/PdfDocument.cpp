#include "render/PdfDocument.h"

#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/TextCodec.h"
#include "platform/Trace.h"
#include "platform/WinError.h"
#include "render/CairoDeviceContext.h"
#include "render/RecordedCairoPage.h"

#include <atomic>
#include <cairo-pdf.h>
#include <cairo.h>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

// PDF user space is in points; the pages are laid out in 1/96 inch.
constexpr double pointsPerUnit = 72.0 / PdfDocument::DotsPerInch;

} // namespace

struct PdfDocument::Writer {
    static cairo_status_t write(void* closure, const unsigned char* data, unsigned length);
};

PdfDocument::PdfDocument() = default;

PdfDocument::~PdfDocument()
{
    abandon();
}

bool PdfDocument::open(const FCString& path, std::string_view title)
{
    return open(path, title, std::string());
}

bool PdfDocument::open(const FCString& path, std::string_view title,
                       const std::string& temporaryFolder)
{
    abandon();
    m_path = path;
    m_pages = 0;
    m_complete = false;
    m_pendingOutline.clear();
    m_outline.clear();
    m_error = Error::None;
    m_systemError = 0;

    static std::atomic<unsigned> counter{0};
    // Beside the final name (or in a folder the caller knows to be on the
    // same file system), so that the rename stays within one file system.
    const std::string unique = std::to_string(::getpid()) + "-" + std::to_string(counter++);
    std::string folder = temporaryFolder;
    if (folder.empty()) {
        const std::string_view full = path.view();
        const std::size_t slash = full.find_last_of('/');
        folder = slash == std::string_view::npos ? std::string()
                                                 : std::string(full.substr(0, slash + 1));
    }
    m_temporary = folder + std::string(TemporaryPrefix) + unique + ".pdf.part";
    const uint32_t error =
        FileSystem::open(m_temporary, FileSystem::CreateAlways, FileSystem::GenericWrite,
                         FileSystem::ShareRead, FileSystem::AttributeNormal, m_handle);
    if (error != WinError::Success) {
        m_handle = -1;
        m_temporary.clear();
        fail(Error::CannotCreate, error);
        return false;
    }

    m_surface = cairo_pdf_surface_create_for_stream(
        &PdfDocument::Writer::write, this, SheetWidth * pointsPerUnit, SheetHeight * pointsPerUnit);
    if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) {
        fail(Error::Drawing, 0);
        release();
        removeTemporary();
        return false;
    }
    const std::string utf8Title = TextCodec::toUtf8(title);
    cairo_pdf_surface_set_metadata(m_surface, CAIRO_PDF_METADATA_TITLE, utf8Title.c_str());
    cairo_pdf_surface_set_metadata(m_surface, CAIRO_PDF_METADATA_CREATOR, "Quillon");
    m_cr = cairo_create(m_surface);
    return true;
}

cairo_status_t PdfDocument::Writer::write(void* closure, const unsigned char* data, unsigned length)
{
    auto* document = static_cast<PdfDocument*>(closure);
    // An abandoned document has let its file go: what cairo still has to
    // say is dropped, and cairo stops at the first refusal.
    if (document->m_handle < 0)
        return CAIRO_STATUS_WRITE_ERROR;
    while (length > 0) {
        uint32_t done = 0;
        const uint32_t error = FileSystem::write(document->m_handle, data, length, done);
        if (error != WinError::Success || done == 0) {
            document->fail(Error::CannotWrite,
                           error != WinError::Success ? error : WinError::DiskFull);
            return CAIRO_STATUS_WRITE_ERROR;
        }
        data += done;
        length -= done;
    }
    return CAIRO_STATUS_SUCCESS;
}

void PdfDocument::fail(Error error, uint32_t systemError)
{
    // The first failure is the one to tell; what follows from it is not.
    if (m_error != Error::None)
        return;
    m_error = error;
    m_systemError = systemError;
    Trace::write("PdfDocument: " + std::string(m_path.view()) + " failed, error " +
                 std::to_string(static_cast<int>(error)) + " system " +
                 std::to_string(systemError) + "\n");
}

void PdfDocument::addOutlineEntry(std::string_view title)
{
    if (m_cr)
        m_pendingOutline.emplace_back(title);
}

DeviceContext* PdfDocument::beginPage()
{
    if (!startPage())
        return nullptr;
    m_page = std::make_unique<CairoDeviceContext>(m_cr, DrawingWidth, DrawingHeight, DotsPerInch);
    return m_page.get();
}

bool PdfDocument::endPage()
{
    if (!m_cr || !m_page)
        return m_error == Error::None;
    m_page->flush();
    m_page.reset();
    return finishPage();
}

bool PdfDocument::putPage(const RecordedCairoPage& page)
{
    if (!startPage())
        return false;
    page.paint(m_cr);
    return finishPage();
}

bool PdfDocument::startPage()
{
    if (!m_cr || m_error != Error::None)
        return false;
    if (m_page)
        endPage();
    if (m_error != Error::None)
        return false;
    ++m_pages;
    // The entries reach cairo only when the file is closed (see close).
    for (const std::string& title : m_pendingOutline)
        m_outline.push_back({title, m_pages});
    m_pendingOutline.clear();

    cairo_save(m_cr);
    cairo_scale(m_cr, pointsPerUnit, pointsPerUnit);
    // The drawing turned 90 degrees clockwise onto the sheet, as the page
    // image is turned: drawing point (x, y) lands at (SheetWidth - y, x).
    cairo_matrix_t turn;
    cairo_matrix_init(&turn, 0, 1, -1, 0, SheetWidth, 0);
    cairo_transform(m_cr, &turn);
    return true;
}

bool PdfDocument::finishPage()
{
    cairo_restore(m_cr);
    cairo_show_page(m_cr);
    const cairo_status_t status = cairo_status(m_cr);
    if (status != CAIRO_STATUS_SUCCESS)
        fail(status == CAIRO_STATUS_WRITE_ERROR ? Error::CannotWrite : Error::Drawing, 0);
    return m_error == Error::None;
}

bool PdfDocument::close()
{
    if (!m_complete && !complete())
        return m_error == Error::None;
    if (!sync())
        return false;
    m_complete = false;
    std::string nativeTemporary;
    std::string nativeTarget;
    uint32_t error = NativePath::fromCp932(m_temporary, nativeTemporary);
    if (error == WinError::Success)
        error = NativePath::fromCp932(m_path.view(), nativeTarget);
    if (error == WinError::Success &&
        std::rename(nativeTemporary.c_str(), nativeTarget.c_str()) != 0)
        error = NativePath::errorFor(errno, nativeTarget);
    if (error != WinError::Success)
        fail(Error::CannotReplace, error);
    else
        m_temporary.clear();
    removeTemporary();
    return m_error == Error::None;
}

bool PdfDocument::complete(Sync sync)
{
    if (m_complete)
        return true;
    if (!m_cr) {
        abandon();
        return false;
    }
    if (m_page)
        endPage();
    if (m_pages == 0 || m_error != Error::None) {
        abandon();
        return false;
    }
    writeRest(sync);
    if (m_error != Error::None) {
        removeTemporary();
        return false;
    }
    m_complete = true;
    return true;
}

bool PdfDocument::sync()
{
    if (!m_complete)
        return false;
    // Closed already: it was put on the disk then.
    if (m_handle < 0)
        return true;
    if (::fsync(m_handle) != 0)
        fail(Error::CannotWrite, WinError::fromErrno(errno));
    FileSystem::close(m_handle);
    m_handle = -1;
    if (m_error == Error::None)
        return true;
    m_complete = false;
    removeTemporary();
    return false;
}

void PdfDocument::writeRest(Sync sync)
{
    // The outline is handed to cairo only now, on a surface that has not
    // failed: cairo 1.16 crashes when it finishes or destroys a PDF surface
    // that holds outline entries after a write of its stream has failed
    // (a full disk half-way through a bundle), and a failed document is
    // destroyed above without them.
    if (cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS) {
        for (const OutlineEntry& entry : m_outline) {
            // The title goes to cairo as text of its own, never into the
            // link's attributes, so quotes, slashes or brackets in it stay
            // text.
            const std::string utf8 = TextCodec::toUtf8(entry.title);
            const std::string link = "page=" + std::to_string(entry.page);
            cairo_pdf_surface_add_outline(m_surface, CAIRO_PDF_OUTLINE_ROOT, utf8.c_str(),
                                          link.c_str(), static_cast<cairo_pdf_outline_flags_t>(0));
        }
    }
    cairo_destroy(m_cr);
    m_cr = nullptr;
    cairo_surface_finish(m_surface);
    const cairo_status_t status = cairo_surface_status(m_surface);
    if (status != CAIRO_STATUS_SUCCESS)
        fail(status == CAIRO_STATUS_WRITE_ERROR ? Error::CannotWrite : Error::Drawing, 0);
    cairo_surface_destroy(m_surface);
    m_surface = nullptr;

    // On disk before it takes the name, so that a crash cannot leave a cut
    // file there.
    if (m_error == Error::None && sync == Sync::Later)
        return;
    if (m_error == Error::None && ::fsync(m_handle) != 0)
        fail(Error::CannotWrite, WinError::fromErrno(errno));
    FileSystem::close(m_handle);
    m_handle = -1;
}

void PdfDocument::abandon()
{
    m_complete = false;
    release();
    removeTemporary();
}

void PdfDocument::release()
{
    m_page.reset();
    if (m_cr) {
        cairo_destroy(m_cr);
        m_cr = nullptr;
    }
    if (m_surface) {
        // Finishing would write the rest of the file for nothing: the
        // stream is cut off first.
        cairo_surface_t* surface = m_surface;
        m_surface = nullptr;
        const int handle = m_handle;
        m_handle = -1;
        cairo_surface_destroy(surface);
        if (handle >= 0)
            FileSystem::close(handle);
    }
    if (m_handle >= 0) {
        FileSystem::close(m_handle);
        m_handle = -1;
    }
    m_pendingOutline.clear();
}

void PdfDocument::removeTemporary()
{
    if (m_temporary.empty())
        return;
    if (FileSystem::deleteFile(m_temporary) != WinError::Success)
        Trace::write("PdfDocument: cannot remove " + m_temporary + "\n");
    m_temporary.clear();
}
