#pragma once

#include "fc/FCString.h"
#include "platform/FileStamp.h"
#include "render/EncodedPage.h"
#include "render/PageSink.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class FCVSurface;
class PageDevice;
namespace PngWriter {
class Pipeline;
}

// Page images: one file per page, named as PageFileName says under the
// destination folder (which ends with "/"), in a folder of the scene's page
// name that is made as the first page goes in. Each page is drawn on a white
// portrait page at 96 dots per inch and written turned clockwise, as a BMP
// file or as a PNG file. PNG pages drawn here are encoded side by side in
// the background by the sink's own pipeline, started with the first of
// them; a scene's files are all in place once the scene has ended.
//
// A page counts as written when, once its scene has ended, its file is there
// and is not the one that was there before the page was begun: the PNG path
// only traces its failures, and a run that lost pages must not end as a
// success.
class PageImageSink : public PageSink {
public:
    enum class Format { Bmp, Png };

    PageImageSink(const FCString& destination, Format format);
    ~PageImageSink() override;

    Format format() const { return m_format; }
    FCString pageFile(const Page& page) const override;
    // The page being drawn, between beginPage and endPage; null otherwise.
    const FCVSurface* pageSurface() const;

    // A blank page as this sink draws on: white, portrait, turned when
    // written.
    static std::unique_ptr<PageDevice> blankPage();
    // Where pages drawn on other threads are staged (EncodedPage): the
    // destination folder, native, made now when it is not there (and taken
    // away again when the run ends without a page), with the temporaries
    // that ended runs left there removed. Empty when it cannot be used.
    std::string stagingFolder();
    // The next page begun is this one, drawn and encoded already (on
    // another thread, from blankPage): it is filed as a page drawn here
    // would be, and beginPage returns no context to draw on.
    void putEncoded(EncodedPage page);

protected:
    DeviceContext* openPage(const Page& page) override;
    void closePage() override;
    void closeScene(bool complete) override;
    void closeAll() override;

private:
    struct File {
        std::string path; // CP932
        FileStamp before;
    };
    // Waits for the pages in the background, then counts the files of the
    // scene that did not arrive.
    void settleScene();
    void removePipelineLeftovers();

    FCString m_destination;
    Format m_format;
    std::unique_ptr<PngWriter::Pipeline> m_pipeline;
    std::unique_ptr<PageDevice> m_device; // the page being drawn
    std::optional<EncodedPage> m_next;    // the next page, encoded already
    std::optional<EncodedPage> m_encoded; // the page being filed, encoded already
    std::string m_staging;                // native
    std::string m_cleaned;                // the page folder whose leftovers went last, native
    bool m_madeDestination = false;       // for the staging folder
    FCString m_folder;                    // and where it goes
    FCString m_path;
    std::vector<File> m_files; // of the scene
};
