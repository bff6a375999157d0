#pragma once

#include "PngTestReader.h"

#include <string>

// The pixels of a PNG page image: its size and its rows, decoded, as one
// string ("" when the file is no readable PNG). Two pages look the same
// exactly when these are equal, however the encoder compressed them.
inline std::string pngPixels(const std::string& path)
{
    const DecodedPng png = readPng(path);
    if (!png.ok)
        return {};
    std::string pixels = std::to_string(png.width) + "x" + std::to_string(png.height) + ":";
    for (const std::vector<uint8_t>& row : png.rows)
        pixels.append(row.begin(), row.end());
    return pixels;
}
