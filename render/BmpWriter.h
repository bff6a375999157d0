#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Writes grey page images as 8-bit BMP files: the file and info headers, the
// grey palette (entry i is RGB(i, i, i)) and the rows bottom-up, each padded
// to a multiple of 4 bytes, as a grey surface keeps them. The head and the
// rows go out in one gathered write, so nothing is copied.
//
// The file layer opens the file and puts its failures to the user (Retry or
// Cancel). A write that fails leaves no empty or cut page under the name:
// what the write created or changed goes again; a file that could not even
// be opened is left as it was.
namespace BmpWriter {

// path: CP932; its extension is forced to ".bmp". rows: the bottom row
// first, stride bytes apart, stride * height bytes in all. False when the
// file could not be written.
bool writeGrey(const char* path, int width, int height, const uint8_t* rows, std::size_t stride);
// The bytes writeGrey writes, put together in file (whose memory is reused).
void encodeGrey(int width, int height, const uint8_t* rows, std::size_t stride,
                std::vector<uint8_t>& file);

} // namespace BmpWriter
