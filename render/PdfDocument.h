#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CairoDeviceContext;
class DeviceContext;
class RecordedCairoPage;
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// One PDF file of script pages, added one by one.
//
// Each page shows what the page image of the same page shows: the renderer
// draws the page as it draws it for an image (864 x 1152 device pixels at
// 96 dots per inch, text lines left to right), and the PDF page is the
// saved image's landscape sheet, 1152 x 864 units of 1/96 inch (864 x 648
// points), with the drawing turned 90 degrees clockwise by the page's
// transform. The page is landscape in the file itself rather than a
// portrait page with a /Rotate entry, so that every reader, printer driver
// and rasteriser shows the same sheet as the image, without a viewer
// option deciding.
//
// The file is written under a temporary name beside its final name and
// takes that name only when close() has written all of it; a document that
// fails or is abandoned leaves no file under the name (an older file there
// stays as it was). The folder must exist.
//
// A file can also be written on one thread and named on another: complete()
// writes all of it under the temporary name, which may then lie in another
// folder of the same file system, and close() later only gives it its name.
class PdfDocument {
public:
    // The sheet, as the page image is saved.
    static constexpr int SheetWidth = 1152;
    static constexpr int SheetHeight = 864;
    // The drawing the renderer makes, before the turn.
    static constexpr int DrawingWidth = 864;
    static constexpr int DrawingHeight = 1152;
    static constexpr int DotsPerInch = 96;

    enum class Error {
        None,
        CannotCreate,  // the temporary file could not be made
        CannotWrite,   // writing or flushing it failed (disk full, ...)
        CannotReplace, // it could not take the final name
        Drawing,       // cairo refused (out of memory, ...)
    };

    // The temporary file is named this, the process number, "-", a count
    // and ".pdf.part", so that a later run can tell the leftovers of a
    // process that ended (StagedFile::removeLeftovers).
    static constexpr std::string_view TemporaryPrefix = ".quillon-";

    PdfDocument();
    // An unfinished document is abandoned.
    virtual ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // Starts the file for path (absolute, CP932) with the title in its
    // metadata (CP932), its temporary file in path's folder. False when the
    // temporary file cannot be made; the document then takes no pages.
    [[nodiscard]] bool open(const FCString& path, std::string_view title);
    // The same with the temporary file in the folder given (ending with
    // "/", CP932) rather than in the final name's own folder.
    [[nodiscard]] bool open(const FCString& path, std::string_view title,
                            const std::string& temporaryFolder);
    bool isOpen() const { return m_cr != nullptr; }

    // An outline entry with the title (CP932) that leads to the next page
    // begun; entries without a page after them are dropped.
    void addOutlineEntry(std::string_view title);

    // A new page: the context to draw it on, null when the document is not
    // open or has failed. Valid until endPage.
    DeviceContext* beginPage();
    // Finishes the page begun last. False when the document has failed.
    bool endPage();
    // A whole page drawn elsewhere (see RecordedCairoPage), added as
    // beginPage, drawing and endPage would have added it. False when the
    // document is not open or has failed.
    bool putPage(const RecordedCairoPage& page);

    // Writes the rest of the file and gives it its name. True when the file
    // is complete under its name, or when there was no page at all (then no
    // file is written). False after any failure: nothing is left under the
    // name or the temporary one.
    [[nodiscard]] bool close();
    // Whether complete() waits until the file is on the disk, or leaves that
    // to sync(): a thread that writes several files syncs them after the
    // last, when the disk has had the time to write most of them.
    enum class Sync {
        Now,
        Later,
    };
    // Writes the rest of the file under its temporary name, where it stays
    // until close() gives it its name; the document takes no more pages.
    // False after any failure (the temporary file is gone then), or when
    // there was no page.
    [[nodiscard]] bool complete(Sync sync = Sync::Now);
    // Waits until a completed file is on the disk (close() does it first
    // when it has not been done). False when it is not (the temporary file
    // is gone then), or when the document is not complete.
    [[nodiscard]] bool sync();
    bool isComplete() const { return m_complete; }
    // Drops the document and its temporary file.
    void abandon();

    int pageCount() const { return m_pages; }
    const FCString& path() const { return m_path; }
    Error error() const { return m_error; }
    // The Windows error number of the failed file call (0 for cairo's own
    // failures).
    uint32_t systemError() const { return m_systemError; }
    // The outline entries written so far (CP932) and their 1-based pages.
    struct OutlineEntry {
        std::string title;
        int page = 0;
    };
    const std::vector<OutlineEntry>& outline() const { return m_outline; }

private:
    // cairo's write callback (cairo's types stay out of this header).
    struct Writer;
    // The turned page's set-up on the context, and its end.
    bool startPage();
    bool finishPage();
    // Writes out the file under its temporary name; closes it once on the
    // disk, or keeps it open for sync().
    void writeRest(Sync sync);
    void fail(Error error, uint32_t systemError);
    void release();
    void removeTemporary();

    FCString m_path;
    std::string m_temporary; // CP932
    int m_handle = -1;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
    std::unique_ptr<CairoDeviceContext> m_page;
    int m_pages = 0;
    bool m_complete = false; // written to its end under the temporary name
    std::vector<std::string> m_pendingOutline;
    std::vector<OutlineEntry> m_outline;
    Error m_error = Error::None;
    uint32_t m_systemError = 0;
};
