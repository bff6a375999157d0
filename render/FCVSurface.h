#pragma once

#include "fc/FCRect.h"

#include <cstdint>
#include <memory>
#include <vector>

class DeviceContext;

// An 8-bit grey drawing surface: one byte per pixel (a grey level, 0 black,
// 255 white; palette entry i is RGB(i, i, i)), rows stored bottom-up, each
// row padded to a multiple of 4 bytes, as a Windows DIB section.
class FCVSurface {
public:
    FCVSurface();                                // 16 x 16, pixels left as created
    FCVSurface(int width, int height, int fill); // fill 0-255, or -1
    virtual ~FCVSurface();
    FCVSurface(const FCVSurface&) = delete;
    FCVSurface& operator=(const FCVSurface&) = delete;

    // Discards the old pixels. When the width is not a multiple of 4 the
    // whole buffer starts at 0 (so row tails are 0); a fill below 256 then
    // sets every pixel.
    virtual void create(int width, int height, int fill);
    void fill(uint8_t value);
    void fill(uint8_t value, const FCRect& rect);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int stride() const { return m_stride; }
    // Pixel (x, y), y counted from the top.
    uint8_t* pixel(int x, int y) { return m_bits.data() + rowOffset(y) + x; }
    const uint8_t* pixel(int x, int y) const { return m_bits.data() + rowOffset(y) + x; }
    uint8_t* bits() { return m_bits.data(); }
    const uint8_t* bits() const { return m_bits.data(); }
    std::size_t byteSize() const { return m_bits.size(); }

    // The drawing context over this surface, created on first use, at the
    // screen's 96 dots per inch; valid while the surface lives.
    DeviceContext& lockDC();
    // A surface drawn at another resolution (a printer page) says so here
    // before lockDC is first called.
    void setResolution(int dotsPerInch);
    int resolution() const { return m_dotsPerInch; }

    // Writes the surface as an 8-bit BMP file through BmpWriter; the
    // extension is forced to ".bmp". Returns false when the file cannot be
    // written (the file layer has then put the failure to the user).
    bool saveBmp(const char* path) const;

    // The surface turned 90 degrees clockwise: pixel (x, y) lands at
    // (height - 1 - y, x).
    std::unique_ptr<FCVSurface> turnedClockwise() const;

private:
    std::size_t rowOffset(int y) const
    {
        return static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height - 1 - y);
    }

    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    int m_dotsPerInch = 96;
    std::vector<uint8_t> m_bits;
    std::unique_ptr<DeviceContext> m_dc;
};
