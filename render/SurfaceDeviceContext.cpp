#include "render/SurfaceDeviceContext.h"

#include "platform/FontEngine.h"
#include "platform/FontHandle.h"
#include "render/FCFont.h"
#include "render/FCVSurface.h"
#include "render/GlyphWalk.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cmath>

SurfaceDeviceContext::SurfaceDeviceContext(FCVSurface& surface) : m_surface(surface) {}

int SurfaceDeviceContext::logPixelsX() const
{
    return m_surface.resolution();
}

int SurfaceDeviceContext::logPixelsY() const
{
    return m_surface.resolution();
}

FCFont* SurfaceDeviceContext::selectFont(FCFont* font)
{
    return m_font.select(font);
}

FontHandle* SurfaceDeviceContext::font()
{
    return m_font.face(m_surface.resolution()).get();
}

bool SurfaceDeviceContext::textOut(int x, int y, std::string_view text)
{
    FontHandle* face = font();
    if (!face)
        return false;
    GlyphWalk::coverage(*face, text, x, y,
                        [&](long long left, long long top, const FontHandle::Coverage& piece) {
                            drawCoverage(left, top, piece.width, piece.height, piece.pixels.data());
                        });
    return true;
}

bool SurfaceDeviceContext::uprightOut(int x, int y, std::string_view text, int cell)
{
    FontHandle* face = font();
    if (!face)
        return false;
    GlyphWalk::upright(*face, text, x, y, cell,
                       [&](int code, double originX, double originY, double scale) {
                           // Copied: the next glyph() may empty the cache.
                           const FontHandle::Glyph glyph = face->glyph(code);
                           for (const FontHandle::Coverage& piece : glyph.pieces)
                               drawTurnedCoverage(originX, originY, scale, piece);
                       });
    return true;
}

void SurfaceDeviceContext::drawTurnedCoverage(double originX, double originY, double scale,
                                              const FontHandle::Coverage& piece)
{
    if (piece.width <= 0 || piece.height <= 0 || !(scale > 0))
        return;
    // The pixels the turned piece covers, each taking the coverage of the
    // piece's pixel under its centre.
    const double left = originX + piece.top * scale;
    const double right = originX + (piece.top + piece.height) * scale;
    const double top = originY - (piece.left + piece.width) * scale;
    const double bottom = originY - piece.left * scale;
    const long long x0 = std::max(0LL, static_cast<long long>(std::floor(left)));
    const long long x1 =
        std::min<long long>(m_surface.width(), static_cast<long long>(std::ceil(right)));
    const long long y0 = std::max(0LL, static_cast<long long>(std::floor(top)));
    const long long y1 =
        std::min<long long>(m_surface.height(), static_cast<long long>(std::ceil(bottom)));
    for (long long py = y0; py < y1; ++py) {
        const auto column =
            static_cast<long long>(std::floor((originY - (py + 0.5)) / scale)) - piece.left;
        if (column < 0 || column >= piece.width)
            continue;
        uint8_t* row = m_surface.pixel(0, static_cast<int>(py));
        for (long long px = x0; px < x1; ++px) {
            const auto line =
                static_cast<long long>(std::floor((px + 0.5 - originX) / scale)) - piece.top;
            if (line < 0 || line >= piece.height)
                continue;
            const unsigned ink =
                piece.pixels[static_cast<std::size_t>(line * piece.width + column)];
            if (ink)
                row[px] = static_cast<uint8_t>(row[px] * (255u - ink) / 255u);
        }
    }
}

void SurfaceDeviceContext::drawCoverage(long long left, long long top, int width, int height,
                                        const uint8_t* coverage)
{
    const long long surfaceWidth = m_surface.width();
    const long long surfaceHeight = m_surface.height();
    const long long c0 = std::max(0LL, -left);
    const long long c1 = std::min<long long>(width, surfaceWidth - left);
    const long long r0 = std::max(0LL, -top);
    const long long r1 = std::min<long long>(height, surfaceHeight - top);
    if (c0 >= c1 || r0 >= r1)
        return;
    const int count = static_cast<int>(c1 - c0);
    for (long long r = r0; r < r1; ++r) {
        const uint8_t* src = coverage + r * width + c0;
        uint8_t* dst = m_surface.pixel(static_cast<int>(left + c0), static_cast<int>(top + r));
        for (int c = 0; c < count; ++c) {
            const unsigned ink = src[c];
            if (ink)
                dst[c] = static_cast<uint8_t>(dst[c] * (255u - ink) / 255u);
        }
    }
}

bool SurfaceDeviceContext::textExtent(std::string_view text, int& cx, int& cy)
{
    return m_font.textExtent(text, m_surface.resolution(), cx, cy);
}

void SurfaceDeviceContext::fillRect(const FCRect& rect, const Brush& brush)
{
    switch (brush.kind) {
    case BrushKind::None:
        return;
    case BrushKind::Solid:
        m_surface.fill(brush.grey, rect);
        return;
    case BrushKind::Pattern:
        break;
    }
    assert(brush.pattern && "a pattern brush needs its tile");
    if (!brush.pattern)
        return;
    const FCVSurface& tile = *brush.pattern;
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, m_surface.width());
    const int bottom = std::min(rect.bottom, m_surface.height());
    // Tile pixel (x mod width, y mod height): the pattern is aligned to the
    // surface's origin, not to the rectangle, so neighbouring fills join up.
    for (int y = top; y < bottom; ++y) {
        const uint8_t* tileRow = tile.pixel(0, y % tile.height());
        uint8_t* dst = m_surface.pixel(0, y);
        for (int x = left; x < right; ++x)
            dst[x] = tileRow[x % tile.width()];
    }
}
