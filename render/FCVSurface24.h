#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class FCVSurface;

// A true-colour surface: 32 bits per pixel (blue, green, red, a fourth byte),
// rows bottom-up, stride 4 x width.
class FCVSurface24 {
public:
    FCVSurface24(int width, int height);
    // A copy of a grey surface, every pixel taken through the grey palette.
    explicit FCVSurface24(const FCVSurface& grey);
    virtual ~FCVSurface24() = default;

    virtual void create(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int stride() const { return 4 * m_width; }
    // Pixel (x, y), y counted from the top: 4 bytes B, G, R, X.
    uint8_t* pixel(int x, int y);
    const uint8_t* pixel(int x, int y) const;

    std::unique_ptr<FCVSurface24> turnedClockwise() const;

    // Writes an 8-bit RGB PNG (no alpha, not interlaced, sBIT 8, rows top to
    // bottom). Without overwrite an existing file is left alone (-1). 0 on
    // success, a negative value when the file cannot be opened or the
    // encoder fails.
    int savePng(const char* path, bool overwrite) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_bits;
};
