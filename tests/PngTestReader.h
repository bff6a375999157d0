#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <png.h>
#include <string>
#include <vector>

// A PNG file as libpng's own reader decodes it, without transformations:
// the header fields, the sBIT chunk and the rows as stored.
struct DecodedPng {
    bool ok = false;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    int compression = 0;
    int filter = 0;
    bool hasSbit = false;
    png_color_8 sbit{};
    std::vector<std::vector<uint8_t>> rows;
};

// ok is false when the file is missing or no readable PNG.
inline DecodedPng readPng(const std::string& path)
{
    DecodedPng out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return DecodedPng{};
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_get_IHDR(png, info, &out.width, &out.height, &out.bitDepth, &out.colourType, &out.interlace,
                 &out.compression, &out.filter);
    png_color_8p sbit = nullptr;
    if (png_get_sBIT(png, info, &sbit) && sbit) {
        out.hasSbit = true;
        out.sbit = *sbit;
    }
    const png_size_t rowBytes = png_get_rowbytes(png, info);
    out.rows.assign(out.height, std::vector<uint8_t>(rowBytes));
    for (png_uint_32 y = 0; y < out.height; ++y)
        png_read_row(png, out.rows[y].data(), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    out.ok = true;
    return out;
}
