#pragma once

#include "platform/Cp932.h"
#include "platform/FontHandle.h"

#include <string_view>

// How a line of CP932 text is laid along the pen, the same for every drawing
// context, so that a raster page and its vector copy put each character in
// the same place. The pen starts at the line's x and moves right by each
// character's advance; (pen, y) is where a character's cell starts, y its
// top.
namespace GlyphWalk {

// Calls place(code, pen) for every character of text in order, code as
// Cp932::codeAt gives it; each call answers the character's advance, which
// moves the pen on for the next. Returns the pen after the last character.
template <typename Place> long long characters(std::string_view text, long long x, Place&& place)
{
    const char* p = text.data();
    const char* end = p + text.size();
    long long pen = x;
    while (p < end) {
        const int code = Cp932::codeAt(p, end);
        p += Cp932::charLength(p, end);
        pen += place(code, pen);
    }
    return pen;
}

// The ink of text in face: calls paint(left, top, piece) for every coverage
// piece of every character's glyph, left and top being where the piece's
// top-left pixel lands. Returns the pen after the last character.
template <typename Paint>
long long coverage(FontHandle& face, std::string_view text, long long x, long long y, Paint&& paint)
{
    return characters(text, x, [&](int code, long long pen) {
        const FontHandle::Glyph& glyph = face.glyph(code);
        for (const FontHandle::Coverage& piece : glyph.pieces)
            paint(pen + piece.left, y + piece.top, piece);
        return glyph.advance;
    });
}

// Where the characters of an upright cell go: one or two characters side by
// side across the line, each turned a quarter counter-clockwise as the
// vertical forms are, centred in the cell of `cell` pixels along the line
// from x and in the em across it from y, and scaled down when together they
// are wider than the em. Calls place(code, originX, originY, scale) for each
// character: the point of its upright text cell that lies `across` pixels
// right of its pen and `down` pixels below the cell's top lands on the page
// at (originX + down * scale, originY - across * scale).
template <typename Place>
void upright(FontHandle& face, std::string_view text, long long x, long long y, int cell,
             Place&& place)
{
    const FontHandle::Metrics& metrics = face.metrics();
    const long long width =
        characters(text, 0, [&](int code, long long) { return face.advance(code); });
    double scale = 1.0;
    if (width > metrics.em && width > 0)
        scale = static_cast<double>(metrics.em) / static_cast<double>(width);
    if (metrics.cellHeight * scale > cell && metrics.cellHeight > 0)
        scale = static_cast<double>(cell) / metrics.cellHeight;
    const double originX = static_cast<double>(x) + (cell - metrics.cellHeight * scale) / 2.0;
    // The first character lies lowest: turned back, the page reads it first.
    const double first = static_cast<double>(y) + metrics.em -
                         (metrics.em - static_cast<double>(width) * scale) / 2.0;
    characters(text, 0, [&](int code, long long pen) {
        place(code, originX, first - static_cast<double>(pen) * scale, scale);
        return face.advance(code);
    });
}

} // namespace GlyphWalk
