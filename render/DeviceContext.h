#pragma once

#include "fc/FCRect.h"

#include <cstdint>
#include <string_view>

class FCFont;
class FCVSurface;

// What the renderer draws through, in the manner of a GDI device context:
// device pixels, y growing downwards, lengths scaled by the resolution.
class DeviceContext {
public:
    enum class BrushKind { None, Solid, Pattern };
    struct Brush {
        BrushKind kind = BrushKind::None;
        uint8_t grey = 0;                    // Solid: the grey level, 0 black, 255 white
        const FCVSurface* pattern = nullptr; // Pattern: the tile, aligned to the origin
    };

    virtual ~DeviceContext() = default;

    // Dots per inch (LOGPIXELSX, LOGPIXELSY).
    virtual int logPixelsX() const = 0;
    virtual int logPixelsY() const = 0;

    // Selects a created font and returns the previously selected one (null
    // at first). Selecting a font that was not created fails: the previous
    // font stays selected and null is returned. Selecting null goes back to
    // the context's default font, so that restoring the "previous" font of a
    // fresh context works as in GDI.
    virtual FCFont* selectFont(FCFont* font) = 0;
    // The background is always transparent here: text is drawn over what is
    // there, in black.
    // Draws text (CP932) with the top of its text cell at y.
    virtual bool textOut(int x, int y, std::string_view text) = 0;
    // Draws one or two characters (half-width digits) upright in one cell,
    // `cell` pixels along the line from x: turned a quarter counter-clockwise
    // as the vertical forms are, side by side across the line and scaled
    // down when they do not fit. Where the context cannot turn them, they
    // are drawn as textOut draws them.
    virtual bool uprightOut(int x, int y, std::string_view text, int cell)
    {
        (void)cell;
        return textOut(x, y, text);
    }
    // Draws text as textOut does, as ink only: a context that keeps the
    // text of the page for its readers (a PDF page) leaves this out of it.
    virtual bool inkOut(int x, int y, std::string_view text) { return textOut(x, y, text); }
    // The sum of the advances and the cell height of the selected font.
    virtual bool textExtent(std::string_view text, int& cx, int& cy) = 0;
    // Fills [left, right) x [top, bottom); a None brush fills nothing.
    virtual void fillRect(const FCRect& rect, const Brush& brush) = 0;
};
