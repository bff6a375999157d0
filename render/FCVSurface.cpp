#include "render/FCVSurface.h"

#include "render/BmpWriter.h"
#include "render/SurfaceDeviceContext.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The clockwise turn in terms of stored rows: both surfaces keep their rows
// bottom-up, so source pixel (x, y) in stored row m = height - 1 - y lands in
// stored row width - 1 - x of the turned surface, at column m. That is a
// transpose with the destination rows taken in reverse order, done here in
// 8 x 8 blocks (with SSE2 where there is SSE2) and byte by byte at the edges.
void transposeTurning(const uint8_t* src, int width, int height, int srcStride, uint8_t* dst,
                      int dstStride)
{
    auto dstRow = [&](int x) { return dst + static_cast<std::size_t>(width - 1 - x) * dstStride; };
    auto srcRow = [&](int m) { return src + static_cast<std::size_t>(m) * srcStride; };
    const int width8 = width & ~7;
    const int height8 = height & ~7;
    for (int m0 = 0; m0 < height8; m0 += 8) {
        for (int x0 = 0; x0 < width8; x0 += 8) {
#if defined(__SSE2__)
            __m128i r[8];
            for (int k = 0; k < 8; ++k)
                r[k] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(srcRow(m0 + k) + x0));
            const __m128i a0 = _mm_unpacklo_epi8(r[0], r[1]);
            const __m128i a1 = _mm_unpacklo_epi8(r[2], r[3]);
            const __m128i a2 = _mm_unpacklo_epi8(r[4], r[5]);
            const __m128i a3 = _mm_unpacklo_epi8(r[6], r[7]);
            const __m128i b0 = _mm_unpacklo_epi16(a0, a1);
            const __m128i b1 = _mm_unpackhi_epi16(a0, a1);
            const __m128i b2 = _mm_unpacklo_epi16(a2, a3);
            const __m128i b3 = _mm_unpackhi_epi16(a2, a3);
            // Each holds two source columns of the block: x0 + 2j, x0 + 2j + 1.
            const __m128i columns[4] = {_mm_unpacklo_epi32(b0, b2), _mm_unpackhi_epi32(b0, b2),
                                        _mm_unpacklo_epi32(b1, b3), _mm_unpackhi_epi32(b1, b3)};
            for (int j = 0; j < 4; ++j) {
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dstRow(x0 + 2 * j) + m0), columns[j]);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dstRow(x0 + 2 * j + 1) + m0),
                                 _mm_unpackhi_epi64(columns[j], columns[j]));
            }
#else
            uint8_t block[8][8];
            for (int k = 0; k < 8; ++k)
                std::memcpy(block[k], srcRow(m0 + k) + x0, 8);
            for (int i = 0; i < 8; ++i) {
                uint8_t* out = dstRow(x0 + i) + m0;
                for (int k = 0; k < 8; ++k)
                    out[k] = block[k][i];
            }
#endif
        }
    }
    // The edges the blocks leave: the last columns of every row, then the
    // last rows.
    for (int m = 0; m < height8; ++m)
        for (int x = width8; x < width; ++x)
            dstRow(x)[m] = srcRow(m)[x];
    for (int m = height8; m < height; ++m)
        for (int x = 0; x < width; ++x)
            dstRow(x)[m] = srcRow(m)[x];
}

} // namespace

FCVSurface::FCVSurface()
{
    create(16, 16, -1);
}

FCVSurface::FCVSurface(int width, int height, int fill)
{
    create(width, height, fill);
}

FCVSurface::~FCVSurface() = default;

void FCVSurface::create(int width, int height, int fill)
{
    assert(width > 0 && height > 0 && "FCVSurface::create needs a positive size");
    m_width = width;
    m_height = height;
    m_stride = (width + 3) & ~3;
    // The buffer starts at 0 everywhere, row tails included, as a fresh DIB
    // section does.
    m_bits.assign(static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(height), 0);
    if (fill >= 0 && fill < 256)
        this->fill(static_cast<uint8_t>(fill));
}

void FCVSurface::fill(uint8_t value)
{
    fill(value, FCRect{0, 0, m_width, m_height});
}

void FCVSurface::fill(uint8_t value, const FCRect& rect)
{
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, m_width);
    const int bottom = std::min(rect.bottom, m_height);
    if (left >= right || top >= bottom)
        return;
    for (int y = top; y < bottom; ++y)
        std::memset(pixel(left, y), value, static_cast<std::size_t>(right - left));
}

DeviceContext& FCVSurface::lockDC()
{
    if (!m_dc)
        m_dc = std::make_unique<SurfaceDeviceContext>(*this);
    return *m_dc;
}

void FCVSurface::setResolution(int dotsPerInch)
{
    assert(dotsPerInch > 0 && "FCVSurface::setResolution needs a positive resolution");
    m_dotsPerInch = dotsPerInch;
}

bool FCVSurface::saveBmp(const char* path) const
{
    // The rows are stored bottom-up already, as the file wants them.
    return BmpWriter::writeGrey(path, m_width, m_height, m_bits.data(),
                                static_cast<std::size_t>(m_stride));
}

std::unique_ptr<FCVSurface> FCVSurface::turnedClockwise() const
{
    auto turned = std::make_unique<FCVSurface>(m_height, m_width, -1);
    turned->setResolution(m_dotsPerInch);
    transposeTurning(m_bits.data(), m_width, m_height, m_stride, turned->bits(), turned->stride());
    return turned;
}
