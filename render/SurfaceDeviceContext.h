#pragma once

#include "platform/FontHandle.h"
#include "render/DeviceContext.h"
#include "render/SelectedFont.h"

#include <memory>

class FCVSurface;

// The drawing context over an 8-bit grey surface, at the surface's
// resolution. Text is black and anti-aliased: each glyph darkens the pixels
// under it by its coverage, over whatever is there. Before any font is
// selected, text uses the context's own default font, as a fresh GDI
// context uses its stock font.
class SurfaceDeviceContext : public DeviceContext {
public:
    explicit SurfaceDeviceContext(FCVSurface& surface);

    int logPixelsX() const override;
    int logPixelsY() const override;

    // Selecting null goes back to the default font (so that restoring the
    // "previous" font of a fresh context works); the previous font is
    // returned.
    FCFont* selectFont(FCFont* font) override;
    bool textOut(int x, int y, std::string_view text) override;
    bool uprightOut(int x, int y, std::string_view text, int cell) override;
    bool textExtent(std::string_view text, int& cx, int& cy) override;
    void fillRect(const FCRect& rect, const Brush& brush) override;

private:
    // The selected font's face, or the default font; null when there is no
    // font at all.
    FontHandle* font();
    void drawCoverage(long long left, long long top, int width, int height,
                      const uint8_t* coverage);
    // A glyph's coverage turned a quarter counter-clockwise and scaled, its
    // pixel (column c, row r) landing at (originX + r * scale, originY - c *
    // scale) as GlyphWalk::upright places it.
    void drawTurnedCoverage(double originX, double originY, double scale,
                            const FontHandle::Coverage& piece);

    FCVSurface& m_surface;
    SelectedFont m_font;
};
