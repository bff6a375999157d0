#include "render/FCVSurface24.h"

#include "fc/FCPathName.h"
#include "platform/PngWriter.h"
#include "render/FCVSurface.h"

#include <cassert>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

FCVSurface24::FCVSurface24(int width, int height)
{
    create(width, height);
}

FCVSurface24::FCVSurface24(const FCVSurface& grey)
{
    create(grey.width(), grey.height());
    // Palette entry i of a grey surface is (i, i, i).
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* src = grey.pixel(0, y);
        uint8_t* dst = pixel(0, y);
        for (int x = 0; x < m_width; ++x, dst += 4) {
            dst[0] = src[x];
            dst[1] = src[x];
            dst[2] = src[x];
            dst[3] = 0;
        }
    }
}

void FCVSurface24::create(int width, int height)
{
    assert(width > 0 && height > 0 && "FCVSurface24::create needs a positive size");
    m_width = width;
    m_height = height;
    m_bits.assign(4 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

uint8_t* FCVSurface24::pixel(int x, int y)
{
    return m_bits.data() + static_cast<std::size_t>(stride()) * (m_height - 1 - y) + 4 * x;
}

const uint8_t* FCVSurface24::pixel(int x, int y) const
{
    return m_bits.data() + static_cast<std::size_t>(stride()) * (m_height - 1 - y) + 4 * x;
}

std::unique_ptr<FCVSurface24> FCVSurface24::turnedClockwise() const
{
    auto turned = std::make_unique<FCVSurface24>(m_height, m_width);
    // Both surfaces store their rows bottom-up: source pixel (x, y) in
    // stored row m = height - 1 - y lands in stored row width - 1 - x of the
    // turned surface, at column m. A transpose of whole 4-byte pixels with the
    // destination rows reversed, in 4 x 4 blocks.
    const uint8_t* src = m_bits.data();
    uint8_t* dst = turned->m_bits.data();
    const std::size_t srcStride = static_cast<std::size_t>(stride());
    const std::size_t dstStride = static_cast<std::size_t>(turned->stride());
    auto srcPixel = [&](int m, int x) { return src + m * srcStride + 4 * x; };
    auto dstPixel = [&](int x, int m) { return dst + (m_width - 1 - x) * dstStride + 4 * m; };
    const int width4 = m_width & ~3;
    const int height4 = m_height & ~3;
    for (int m0 = 0; m0 < height4; m0 += 4) {
        for (int x0 = 0; x0 < width4; x0 += 4) {
#if defined(__SSE2__)
            __m128i r[4];
            for (int k = 0; k < 4; ++k)
                r[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(srcPixel(m0 + k, x0)));
            const __m128i t0 = _mm_unpacklo_epi32(r[0], r[1]);
            const __m128i t1 = _mm_unpacklo_epi32(r[2], r[3]);
            const __m128i t2 = _mm_unpackhi_epi32(r[0], r[1]);
            const __m128i t3 = _mm_unpackhi_epi32(r[2], r[3]);
            const __m128i columns[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1),
                                        _mm_unpacklo_epi64(t2, t3), _mm_unpackhi_epi64(t2, t3)};
            for (int i = 0; i < 4; ++i)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dstPixel(x0 + i, m0)), columns[i]);
#else
            for (int i = 0; i < 4; ++i)
                for (int k = 0; k < 4; ++k)
                    std::memcpy(dstPixel(x0 + i, m0 + k), srcPixel(m0 + k, x0 + i), 4);
#endif
        }
    }
    for (int m = 0; m < height4; ++m)
        for (int x = width4; x < m_width; ++x)
            std::memcpy(dstPixel(x, m), srcPixel(m, x), 4);
    for (int m = height4; m < m_height; ++m)
        for (int x = 0; x < m_width; ++x)
            std::memcpy(dstPixel(x, m), srcPixel(m, x), 4);
    return turned;
}

int FCVSurface24::savePng(const char* path, bool overwrite) const
{
    // Relative names are taken against the current folder, as files are.
    FCPathName target(path ? path : "");
    // Row 0 (the top) is stored last; each row below it lies one stride
    // lower in memory.
    return PngWriter::writeBgrx(target.string().toStdString(), m_width, m_height, pixel(0, 0),
                                -static_cast<std::ptrdiff_t>(stride()), overwrite);
}
