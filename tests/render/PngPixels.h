#pragma once

#include <csetjmp>
#include <cstdio>
#include <png.h>
#include <string>

// The pixels of a PNG page image: its size and its rows, decoded, as one
// string ("" when the file is no readable PNG). Two pages look the same
// exactly when these are equal, however the encoder compressed them.
inline std::string pngPixels(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::string pixels;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return {};
    }
    png_init_io(png, file);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const png_size_t rowBytes = png_get_rowbytes(png, info);
    pixels = std::to_string(width) + "x" + std::to_string(height) + ":";
    const std::size_t start = pixels.size();
    pixels.resize(start + rowBytes * height);
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(png, reinterpret_cast<png_bytep>(pixels.data() + start + y * rowBytes),
                     nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return pixels;
}
