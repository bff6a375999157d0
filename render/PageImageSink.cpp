#include "render/PageImageSink.h"

#include "fc/FileHelpers.h"
#include "platform/NativePath.h"
#include "platform/PngWriter.h"
#include "platform/StagedFile.h"
#include "platform/WinError.h"
#include "render/PageDevice.h"
#include "render/PageFileName.h"

#include <unistd.h>

namespace {

// The stamp of a page file, links followed: a page written through a link
// has arrived.
FileStamp stampOf(const std::string& cp932)
{
    std::string native;
    if (cp932.empty() || NativePath::fromCp932(cp932, native) != WinError::Success)
        return {};
    return FileStamp::of(native, FileStamp::Link::Follow);
}

} // namespace

PageImageSink::PageImageSink(const FCString& destination, Format format)
    : m_destination(destination), m_format(format)
{
}

PageImageSink::~PageImageSink() = default;

FCString PageImageSink::pageFile(const Page& page) const
{
    return PageFileName::file(m_destination, page.pageName, page.scriptFile, page.page + 1,
                              page.pageCount, m_format == Format::Png);
}

const FCVSurface* PageImageSink::pageSurface() const
{
    return m_device ? m_device->pageSurface() : nullptr;
}

std::unique_ptr<PageDevice> PageImageSink::blankPage()
{
    auto device = std::make_unique<PageDevice>();
    device->open(false, true);
    return device;
}

std::string PageImageSink::stagingFolder()
{
    if (!m_staging.empty())
        return m_staging;
    std::string native;
    if (NativePath::fromCp932(m_destination.view(), native) != WinError::Success)
        return std::string();
    if (!StagedFile::exists(native)) {
        (void)createDirectories(m_destination.text());
        if (!StagedFile::exists(native))
            return std::string();
        m_madeDestination = true;
    }
    (void)StagedFile::removeLeftovers(native, EncodedPage::TemporaryPrefix);
    m_staging = native;
    return m_staging;
}

void PageImageSink::removePipelineLeftovers()
{
    // What an encoder pipeline of a process that ended (a crash) left in a
    // page folder goes before the first page is put there, however this
    // run encodes it; once a folder, as the pages of a folder come together.
    std::string native;
    if (NativePath::fromCp932(m_folder.view(), native) != WinError::Success)
        return;
    while (native.size() > 1 && native.back() == '/')
        native.pop_back();
    if (native == m_cleaned)
        return;
    (void)StagedFile::removeLeftovers(native, PngWriter::TemporaryPrefix);
    m_cleaned = std::move(native);
}

void PageImageSink::putEncoded(EncodedPage page)
{
    m_next = std::move(page);
}

DeviceContext* PageImageSink::openPage(const Page& page)
{
    m_path = pageFile(page);
    m_folder = PageFileName::folder(m_destination, page.pageName);
    m_files.push_back({m_path.toStdString(), stampOf(m_path.toStdString())});
    if (m_next) {
        m_encoded = std::move(m_next);
        m_next.reset();
        return nullptr;
    }
    m_device = blankPage();
    return m_device->deviceContext();
}

void PageImageSink::closePage()
{
    createDirectories(m_folder.text());
    removePipelineLeftovers();
    // A failure is told by the file check once the scene has ended.
    if (m_encoded) {
        (void)m_encoded->save(m_path.text());
        m_encoded.reset();
        return;
    }
    if (m_format == Format::Png && !m_pipeline)
        m_pipeline = std::make_unique<PngWriter::Pipeline>();
    (void)m_device->save(m_path.text(), m_format == Format::Png, m_pipeline.get());
    m_device.reset();
}

void PageImageSink::closeScene(bool)
{
    // A page whose drawing raised is not written.
    m_device.reset();
    m_encoded.reset();
    settleScene();
}

void PageImageSink::closeAll()
{
    m_device.reset();
    m_encoded.reset();
    settleScene();
    // A destination made for staging and never given a page goes again, as
    // a run that wrote no page makes none.
    if (m_madeDestination && pages() == 0)
        (void)::rmdir(m_staging.c_str());
    m_madeDestination = false;
}

void PageImageSink::settleScene()
{
    if (m_pipeline)
        m_pipeline->finish();
    int failed = 0;
    for (const File& file : m_files) {
        const FileStamp after = stampOf(file.path);
        if (!after.exists || after == file.before)
            ++failed;
    }
    if (failed > 0)
        addLost(scene(), failed);
    m_files.clear();
}
