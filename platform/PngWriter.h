#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes true-colour page images as PNG files: 8-bit RGB, no alpha, not
// interlaced, default compression and filter methods, sBIT 8 per channel,
// rows top to bottom. The rows are stored unfiltered at zlib level 1, which
// is several times faster than libpng's defaults and makes smaller files of
// mostly white pages.
//
// The file is written under a temporary name in the same folder and put in
// place only when complete, so a failure never leaves a partial image under
// the final name (nor spoils an existing one).
class PngWriter {
public:
    static constexpr int Written = 0;
    static constexpr int Exists = -1;        // the file exists and overwrite is false
    static constexpr int CannotOpen = -2;    // the path has no native form or cannot be created
    static constexpr int EncoderFailed = -3; // libpng or the disk failed while writing
    static constexpr int CannotPlace = -4;   // the finished file could not be put in place

    // path: CP932, absolute. top: the first byte of the top row; rows are
    // rowStep bytes apart (negative for bottom-up storage). Each pixel is 4
    // bytes: blue, green, red and a byte that is not written.
    static int writeBgrx(const std::string& path, int width, int height, const uint8_t* top,
                         std::ptrdiff_t rowStep, bool overwrite);
};
