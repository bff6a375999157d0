#pragma once

#include "fc/FCString.h"
#include "platform/CupsPrinter.h"

#include <memory>

class DeviceContext;
class FCVSurface;
namespace PngWriter {
class Pipeline;
}

// Where one page goes: the default printer, or a page image that is turned
// and written as a BMP or PNG file. The page sinks make one per page:
// open, logJobs, startDocument, draw on deviceContext, (image) save,
// endDocument, release.
//
// A printer page is drawn on a grey surface of the printer's portrait page
// at its resolution and sent as one job when the document ends. Failures of
// the printer path are traced, never shown: without a printer the page is
// drawn nowhere and lost, and the run goes on.
class PageDevice {
public:
    // The page image: portrait, 96 dots per inch, white.
    static constexpr int ImageWidth = 864;
    static constexpr int ImageHeight = 1152;

    PageDevice();
    virtual ~PageDevice();
    PageDevice(const PageDevice&) = delete;
    PageDevice& operator=(const PageDevice&) = delete;

    // image: releases anything held and creates a white page image, turned
    // clockwise on save unless landscape. Printer: looks up the default
    // printer and its page, and creates the page to draw on.
    void open(bool landscape, bool image);
    // The page image's context, else the printer page's; null when neither
    // exists.
    DeviceContext* deviceContext();
    // Printer only: traces the number of jobs the printer holds.
    void logJobs();
    // Printer only: the document that becomes the page's job; output may be
    // null.
    void startDocument(const FCString& title, const char* output);
    // Image only: writes the page (turned when asked at open) to path, its
    // extension forced to ".bmp" or ".png". False when there is no page image
    // or the file could not be written. Given a pipeline, a turned PNG page
    // is only queued there (true): the file is in place when the pipeline
    // has finished, and a failure is traced and counted there.
    bool save(const char* path, bool asPng, PngWriter::Pipeline* pipeline = nullptr);
    // Image only: turns the page now, when save would turn it, so that the
    // thread that drew it does the turning; the context drawn on is gone
    // then. save writes a page turned now as it is, and hands it to a
    // pipeline itself (the device no longer holds it afterwards).
    void turnNow();
    // Printer only: sends the page drawn since startDocument as one job.
    // Ending a document that is not open does nothing.
    void endDocument();
    // Ends an open document and lets everything go.
    void release();

    const FCString& printerName() const { return m_printerName; }
    bool isPrinterOpen() const { return m_printerOpen; }
    const FCString& documentTitle() const { return m_documentTitle; }
    const FCVSurface* pageSurface() const { return m_pageSurface.get(); }
    const FCVSurface* printerSurface() const { return m_printerPage.get(); }

private:
    void openPrinter(bool landscape);
    bool createPrinterPage();
    // call + " DocTitle:" + title + " filename:" + output + " error:" + n.
    void traceFailure(const char* call, int error) const;

    FCString m_printerName;
    bool m_printerOpen = false; // the printer was found and answered
    bool m_hasDefault = false;
    // The printer's "device context": the page drawn for it.
    std::unique_ptr<FCVSurface> m_printerPage;
    // The printer's settings (resolution and page), asked for once.
    CupsPrinter::PageGeometry m_deviceMode;
    FCString m_documentTitle;
    FCString m_outputFile;
    bool m_documentOpen = false;
    std::unique_ptr<FCVSurface> m_pageSurface;
    bool m_turnOnSave = false;
    bool m_turnedNow = false;
};
