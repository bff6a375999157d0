#include "render/EncodedPage.h"

#include "fc/FCPathName.h"
#include "platform/FileFaults.h"
#include "platform/NativePath.h"
#include "platform/PngWriter.h"
#include "platform/StagedFile.h"
#include "platform/Trace.h"
#include "render/BmpWriter.h"
#include "render/FCVSurface.h"

#include <unistd.h>
#include <utility>

EncodedPage::EncodedPage() = default;

EncodedPage::~EncodedPage()
{
    removeTemporary();
}

EncodedPage::EncodedPage(EncodedPage&& other) noexcept
    : m_staged(std::exchange(other.m_staged, std::string())), m_bytes(std::move(other.m_bytes)),
      m_width(other.m_width), m_height(other.m_height), m_png(other.m_png),
      m_encoded(std::exchange(other.m_encoded, false))
{
}

EncodedPage& EncodedPage::operator=(EncodedPage&& other) noexcept
{
    if (this != &other) {
        removeTemporary();
        m_staged = std::exchange(other.m_staged, std::string());
        m_bytes = std::move(other.m_bytes);
        m_width = other.m_width;
        m_height = other.m_height;
        m_png = other.m_png;
        m_encoded = std::exchange(other.m_encoded, false);
    }
    return *this;
}

void EncodedPage::removeTemporary()
{
    if (!m_staged.empty())
        ::unlink(m_staged.c_str());
    m_staged.clear();
}

EncodedPage EncodedPage::encode(const FCVSurface& page, bool png, const std::string& stagingFolder)
{
    // The file is put together in the thread's own buffer, which keeps its
    // memory from page to page.
    thread_local std::vector<uint8_t> file;
    EncodedPage encoded;
    encoded.m_png = png;
    encoded.m_width = page.width();
    encoded.m_height = page.height();
    if (png) {
        // The surface keeps its rows bottom-up; the file wants them from the
        // top.
        encoded.m_encoded =
            PngWriter::encodeGrey(page.width(), page.height(), page.pixel(0, 0),
                                  -static_cast<std::ptrdiff_t>(page.stride()), file);
    } else {
        BmpWriter::encodeGrey(page.width(), page.height(), page.bits(),
                              static_cast<std::size_t>(page.stride()), file);
        encoded.m_encoded = true;
    }
    if (!encoded.m_encoded)
        return encoded;
    // With the file layer's faults armed (tests), the page goes the file
    // layer's way when it is filed, so that the faults apply.
    if (stagingFolder.empty() || FileFaults::armed() ||
        StagedFile::write(stagingFolder, TemporaryPrefix, file.data(), file.size(),
                          encoded.m_staged) != StagedFile::Written) {
        encoded.m_staged.clear();
        encoded.m_bytes = file;
    }
    return encoded;
}

bool EncodedPage::save(const char* path)
{
    if (!path)
        return false;
    FCPathName file(path);
    file.replaceExtension(m_png ? ".png" : ".bmp");
    const std::string name = file.string().toStdString();
    if (!m_staged.empty()) {
        // A PNG page replaces a file there, as the encoder's own files do; a
        // BMP file there is written over in place, as the file layer does.
        std::string native;
        if (NativePath::fromCp932(name, native) == 0 &&
            StagedFile::tryPlace(m_staged, native, m_png) == StagedFile::Written) {
            m_staged.clear();
            return true;
        }
        m_encoded = StagedFile::read(m_staged, m_bytes);
        removeTemporary();
    }
    if (!m_png) {
        const std::size_t stride = (static_cast<std::size_t>(m_width) + 3) & ~std::size_t(3);
        const std::size_t rowBytes = stride * static_cast<std::size_t>(m_height);
        return m_encoded && m_bytes.size() >= rowBytes &&
               BmpWriter::writeGrey(file.text(), m_width, m_height,
                                    m_bytes.data() + (m_bytes.size() - rowBytes), stride);
    }
    const int result =
        m_encoded ? PngWriter::writeEncoded(name, m_bytes, true) : PngWriter::EncoderFailed;
    if (result != PngWriter::Written) {
        // PNG failures are not put to the user; the trace keeps them visible.
        Trace::write("savePng: cannot write " + name + ", result " + std::to_string(result) + "\n");
        return false;
    }
    return true;
}
