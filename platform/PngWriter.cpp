#include "platform/PngWriter.h"

#include "platform/DeflateStream.h"
#include "platform/NativePath.h"
#include "platform/RowExpansion.h"
#include "platform/StagedFile.h"
#include "platform/Trace.h"

#include <algorithm>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <png.h>
#include <thread>
#include <vector>

namespace {

[[noreturn]] void failEncoding(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// libpng writes into memory: the whole file is put together there and then
// goes to the disk in one write.
void appendBytes(png_structp png, png_bytep data, std::size_t size)
{
    auto* file = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    file->insert(file->end(), data, data + size);
}

void flushNothing(png_structp) {}

// What an encoding thread keeps from page to page: the compressor, the file
// being put together and a few rows widened to RGB.
struct Encoder {
    DeflateStream deflate;
    std::vector<uint8_t> file;
    std::vector<uint8_t> rows;
};

Encoder& encoderOfThisThread()
{
    thread_local Encoder encoder;
    return encoder;
}

// Rows go to the compressor this many at a time: few enough that the
// widened rows stay in the processor's cache on their way.
constexpr int RowsPerPiece = 16;

void putBigEndian(uint8_t* at, uint32_t value)
{
    at[0] = uint8_t(value >> 24);
    at[1] = uint8_t(value >> 16);
    at[2] = uint8_t(value >> 8);
    at[3] = uint8_t(value);
}

// The signature, IHDR and sBIT, by libpng, at the end of file. Everything
// libpng touches sits in this function, with no object that needs
// destroying between the setjmp and the calls that may jump back to it.
bool writeHead(std::vector<uint8_t>& file, int width, int height)
{
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failEncoding, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &file, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = 8;
    significant.green = 8;
    significant.blue = 8;
    png_set_sBIT(png, info, &significant);
    png_write_info(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The IEND chunk, by libpng.
bool writeEnd(std::vector<uint8_t>& file)
{
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failEncoding, ignoreWarning);
    if (!png)
        return false;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    png_set_write_fn(png, &file, appendBytes, flushNothing);
    static const png_byte iend[5] = "IEND";
    png_write_chunk(png, iend, nullptr, 0);
    png_destroy_write_struct(&png, nullptr);
    return true;
}

// The image data as one IDAT chunk: each row is a filter byte 0 (rows are
// stored unfiltered, which costs nothing and compresses mostly white pages
// well) and the row's RGB triples, all in one zlib stream.
bool writeImageData(Encoder& encoder, int width, int height, const uint8_t* top,
                    std::ptrdiff_t rowStep, bool grey)
{
    std::vector<uint8_t>& file = encoder.file;
    const std::size_t chunkStart = file.size();
    file.resize(chunkStart + 8);
    std::memcpy(file.data() + chunkStart + 4, "IDAT", 4);

    const std::size_t rowBytes = 1 + std::size_t(width) * 3;
    encoder.rows.resize(rowBytes * RowsPerPiece);
    encoder.deflate.start(file);
    for (int y = 0; y < height;) {
        const int count = std::min(RowsPerPiece, height - y);
        uint8_t* row = encoder.rows.data();
        for (int k = 0; k < count; ++k, ++y, row += rowBytes) {
            const uint8_t* src = top + rowStep * y;
            row[0] = 0; // filter: none
            if (grey)
                RowExpansion::greyToRgb(src, std::size_t(width), row + 1);
            else
                RowExpansion::bgrxToRgb(src, std::size_t(width), row + 1);
        }
        if (!encoder.deflate.add(encoder.rows.data(), rowBytes * std::size_t(count), y == height))
            return false;
    }

    const std::size_t dataSize = file.size() - chunkStart - 8;
    if (dataSize > 0x7FFFFFFFu)
        return false; // larger than a chunk may be
    putBigEndian(file.data() + chunkStart, static_cast<uint32_t>(dataSize));
    // The CRC covers the chunk type and the data.
    const uint32_t crc = DeflateStream::crc32(0, file.data() + chunkStart + 4, dataSize + 4);
    file.resize(file.size() + 4);
    putBigEndian(file.data() + file.size() - 4, crc);
    return true;
}

// The whole file, in memory: signature, IHDR, sBIT, IDAT, IEND.
bool encode(Encoder& encoder, int width, int height, const uint8_t* top, std::ptrdiff_t rowStep,
            bool grey)
{
    encoder.file.clear();
    return writeHead(encoder.file, width, height) &&
           writeImageData(encoder, width, height, top, rowStep, grey) && writeEnd(encoder.file);
}

// The encoded image in a fresh temporary beside native; Written with the
// temporary's name, or why not (nothing is left behind then).
int writeTemporary(const std::string& native, const std::vector<uint8_t>& file,
                   std::string& temporary)
{
    return StagedFile::write(NativePath::parentOf(native), PngWriter::TemporaryPrefix, file.data(),
                             file.size(), temporary);
}

int encodeToTemporary(const std::string& native, int width, int height, const uint8_t* top,
                      std::ptrdiff_t rowStep, bool grey, std::string& temporary)
{
    Encoder& encoder = encoderOfThisThread();
    if (!encode(encoder, width, height, top, rowStep, grey))
        return PngWriter::EncoderFailed;
    return writeTemporary(native, encoder.file, temporary);
}

int writeFile(const std::string& path, int width, int height, const uint8_t* top,
              std::ptrdiff_t rowStep, bool overwrite, bool grey)
{
    if (width <= 0 || height <= 0 || !top)
        return PngWriter::EncoderFailed;
    std::string native;
    if (NativePath::fromCp932(path, native) != 0)
        return PngWriter::CannotOpen;
    if (!overwrite && StagedFile::exists(native))
        return PngWriter::Exists;
    std::string temporary;
    const int result = encodeToTemporary(native, width, height, top, rowStep, grey, temporary);
    if (result != PngWriter::Written)
        return result;
    return StagedFile::place(temporary, native, overwrite);
}

} // namespace

int PngWriter::writeBgrx(const std::string& path, int width, int height, const uint8_t* top,
                         std::ptrdiff_t rowStep, bool overwrite)
{
    return writeFile(path, width, height, top, rowStep, overwrite, false);
}

int PngWriter::writeGrey(const std::string& path, int width, int height, const uint8_t* top,
                         std::ptrdiff_t rowStep, bool overwrite)
{
    return writeFile(path, width, height, top, rowStep, overwrite, true);
}

bool PngWriter::encodeGrey(int width, int height, const uint8_t* top, std::ptrdiff_t rowStep,
                           std::vector<uint8_t>& file)
{
    if (width <= 0 || height <= 0 || !top)
        return false;
    // The thread's compressor and rows, with the caller's buffer for the
    // file.
    Encoder& encoder = encoderOfThisThread();
    std::swap(encoder.file, file);
    const bool encoded = encode(encoder, width, height, top, rowStep, true);
    std::swap(encoder.file, file);
    return encoded;
}

int PngWriter::writeEncoded(const std::string& path, const std::vector<uint8_t>& file,
                            bool overwrite)
{
    std::string native;
    if (NativePath::fromCp932(path, native) != 0)
        return CannotOpen;
    if (!overwrite && StagedFile::exists(native))
        return Exists;
    std::string temporary;
    const int result = writeTemporary(native, file, temporary);
    if (result != Written)
        return result;
    return StagedFile::place(temporary, native, overwrite);
}

struct PngWriter::Pipeline::Work {
    struct Page {
        uint64_t number = 0; // in queue order
        std::string path;    // CP932, for the trace
        std::string native;
        int width = 0;
        int height = 0;
        const uint8_t* top = nullptr;
        std::ptrdiff_t rowStep = 0;
        bool overwrite = true;
        std::shared_ptr<const void> keep;
    };

    std::mutex mutex;
    std::condition_variable queued; // a page to encode, or the end
    std::condition_variable placed; // a page took its name
    std::deque<Page> pages;
    uint64_t nextNumber = 0; // of the next page queued
    uint64_t nextPlaced = 0; // of the page whose turn it is to take its name
    std::size_t limit = 2;   // pages queued or being encoded at most
    int failures = 0;
    bool ending = false;
    std::vector<std::thread> workers;

    void run()
    {
        for (;;) {
            Page page;
            {
                std::unique_lock<std::mutex> lock(mutex);
                queued.wait(lock, [&] { return ending || !pages.empty(); });
                if (pages.empty())
                    return;
                page = std::move(pages.front());
                pages.pop_front();
            }
            std::string temporary;
            int result = !page.overwrite && StagedFile::exists(page.native)
                             ? PngWriter::Exists
                             : encodeToTemporary(page.native, page.width, page.height, page.top,
                                                 page.rowStep, true, temporary);
            page.keep.reset();

            std::unique_lock<std::mutex> lock(mutex);
            placed.wait(lock, [&] { return nextPlaced == page.number; });
            // In queue order, so the files appear as they would one by one.
            if (result == PngWriter::Written)
                result = StagedFile::place(temporary, page.native, page.overwrite);
            if (result != PngWriter::Written) {
                ++failures;
                Trace::write("savePng: cannot write " + page.path + ", result " +
                             std::to_string(result) + "\n");
            }
            ++nextPlaced;
            placed.notify_all();
        }
    }
};

PngWriter::Pipeline::Pipeline()
    : Pipeline(std::max(1u, std::min(4u, std::thread::hardware_concurrency())))
{
}

PngWriter::Pipeline::Pipeline(unsigned workers) : m_work(std::make_unique<Work>())
{
    workers = std::max(1u, workers);
    m_work->limit = 2 * workers;
    for (unsigned i = 0; i < workers; ++i)
        m_work->workers.emplace_back([work = m_work.get()] { work->run(); });
}

PngWriter::Pipeline::~Pipeline()
{
    finish();
    {
        std::lock_guard<std::mutex> lock(m_work->mutex);
        m_work->ending = true;
    }
    m_work->queued.notify_all();
    for (std::thread& worker : m_work->workers)
        worker.join();
}

void PngWriter::Pipeline::queueGrey(const std::string& path, int width, int height,
                                    const uint8_t* top, std::ptrdiff_t rowStep, bool overwrite,
                                    std::shared_ptr<const void> keep)
{
    Work::Page page;
    page.path = path;
    page.width = width;
    page.height = height;
    page.top = top;
    page.rowStep = rowStep;
    page.overwrite = overwrite;
    page.keep = std::move(keep);
    // What cannot even begin fails at once, as writeGrey would.
    if (width <= 0 || height <= 0 || !top || NativePath::fromCp932(path, page.native) != 0) {
        std::lock_guard<std::mutex> lock(m_work->mutex);
        ++m_work->failures;
        Trace::write("savePng: cannot write " + path + "\n");
        return;
    }
    std::unique_lock<std::mutex> lock(m_work->mutex);
    m_work->placed.wait(lock,
                        [&] { return m_work->nextNumber - m_work->nextPlaced < m_work->limit; });
    page.number = m_work->nextNumber++;
    m_work->pages.push_back(std::move(page));
    m_work->queued.notify_one();
}

void PngWriter::Pipeline::finish()
{
    std::unique_lock<std::mutex> lock(m_work->mutex);
    m_work->placed.wait(lock, [&] { return m_work->nextPlaced == m_work->nextNumber; });
}

int PngWriter::Pipeline::failures() const
{
    std::lock_guard<std::mutex> lock(m_work->mutex);
    return m_work->failures;
}
