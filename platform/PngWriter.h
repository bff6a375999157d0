#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Writes true-colour page images as PNG files: 8-bit RGB, no alpha, not
// interlaced, default compression and filter methods, sBIT 8 per channel,
// rows top to bottom. libpng writes the file's chunks around the image data;
// the rows are stored unfiltered in one IDAT chunk, compressed by
// DeflateStream, which is many times faster than libpng's defaults and makes
// files of mostly white pages no larger. The file is put together in memory
// and written at once.
//
// The file is written under a temporary name in the same folder and put in
// place only when complete, so a failure never leaves a partial image under
// the final name (nor spoils an existing one).
namespace PngWriter {

inline constexpr int Written = 0;
inline constexpr int Exists = -1;        // the file exists and overwrite is false
inline constexpr int CannotOpen = -2;    // the path has no native form or cannot be created
inline constexpr int EncoderFailed = -3; // libpng or the disk failed while writing
inline constexpr int CannotPlace = -4;   // the finished file could not be put in place

// The temporaries' names begin so (see StagedFile).
inline constexpr std::string_view TemporaryPrefix = ".quillon-png-";

// path: CP932, absolute. top: the first byte of the top row; rows are
// rowStep bytes apart (negative for bottom-up storage). Each pixel is 4
// bytes: blue, green, red and a byte that is not written.
int writeBgrx(const std::string& path, int width, int height, const uint8_t* top,
              std::ptrdiff_t rowStep, bool overwrite);
// The same file from a grey image, one byte per pixel: each pixel is
// written as the RGB pixel (g, g, g).
int writeGrey(const std::string& path, int width, int height, const uint8_t* top,
              std::ptrdiff_t rowStep, bool overwrite);
// The bytes of the file writeGrey would write, put together in file (whose
// memory is reused); false when the encoder failed.
bool encodeGrey(int width, int height, const uint8_t* top, std::ptrdiff_t rowStep,
                std::vector<uint8_t>& file);
// Writes a file encodeGrey put together as writeGrey writes its file.
int writeEncoded(const std::string& path, const std::vector<uint8_t>& file, bool overwrite);

// Grey pages written in the background, for whoever holds the pipeline (the
// PNG page sink): worker threads (one per processor) encode the queued pages
// side by side, and each file takes its name in the order the pages were
// queued, so the files appear exactly as one page after the other would make
// them. Closing the pipeline waits until every queued page is on disk.
// Before its first page in a folder, the pipeline removes the temporaries
// that processes which ended left there.
// Failures are traced, as those of writeGrey are put nowhere else either.
class Pipeline {
public:
    // As many workers as processors, up to four.
    Pipeline();
    // workers workers (at least one).
    explicit Pipeline(unsigned workers);
    // Waits for every queued page, then lets the workers go.
    ~Pipeline();
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // writeGrey in the background; keep owns the pixels and is let go once
    // they are encoded. Waits while the workers have enough queued.
    void queueGrey(const std::string& path, int width, int height, const uint8_t* top,
                   std::ptrdiff_t rowStep, bool overwrite, std::shared_ptr<const void> keep);
    // Waits until every page queued so far is on disk (or failed).
    void finish();
    // Pages that could not be written so far.
    int failures() const;

private:
    struct Work;
    std::unique_ptr<Work> m_work;
};

} // namespace PngWriter
