#include "platform/FontHandle.h"
#include "platform/TextCodec.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <cmath>
#include <hb.h>

namespace {

bool isControl(int code)
{
    return code < 0x20 || code == 0x7F;
}

// The glyph's coverage upright, rows top to bottom, whatever FreeType's
// bitmap format; false when there is none.
bool uprightCoverage(const FT_Bitmap& bitmap, std::vector<uint8_t>& out)
{
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    if (width <= 0 || rows <= 0 || !bitmap.buffer)
        return false;
    out.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), 0);
    // A negative pitch means the rows are stored bottom-up from the buffer.
    const unsigned char* top = bitmap.buffer;
    if (bitmap.pitch < 0)
        top -= static_cast<std::ptrdiff_t>(bitmap.pitch) * (rows - 1);
    for (int r = 0; r < rows; ++r) {
        const unsigned char* row = top + static_cast<std::ptrdiff_t>(bitmap.pitch) * r;
        uint8_t* dst = out.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(width);
        switch (bitmap.pixel_mode) {
        case FT_PIXEL_MODE_GRAY: {
            const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
            for (int c = 0; c < width; ++c)
                dst[c] = levels == 255 ? row[c] : static_cast<uint8_t>(row[c] * 255 / levels);
            break;
        }
        case FT_PIXEL_MODE_MONO:
            for (int c = 0; c < width; ++c)
                dst[c] = (row[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
            break;
        case FT_PIXEL_MODE_BGRA:
            // Colour glyphs are drawn in black like the others: their alpha.
            for (int c = 0; c < width; ++c)
                dst[c] = row[4 * c + 3];
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

std::unique_ptr<FontHandle::Glyph> FontHandle::makeGlyph(int code)
{
    auto made = std::make_unique<Glyph>();
    const bool doubleByte = code > 0xFF;
    const bool turned = m_vertical && doubleByte;

    std::string utf8;
    if (!doubleByte && isControl(code)) {
        // Control characters leave no ink and take the place of a space.
        utf8 = " ";
    } else {
        std::string bytes;
        if (doubleByte)
            bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
        utf8 = TextCodec::toUtf8(bytes);
    }

    int advance26 = 0;
    std::vector<Shaped> glyphs = shape(utf8, turned, advance26);
    made->advance = turned ? m_metrics.em : static_cast<int>(std::lround(advance26 / 64.0));
    // A face drawn bolder than it is gets thicker strokes and, as Windows'
    // text output gives it, one more pixel of advance per character.
    if (m_syntheticBold)
        made->advance += 1;
    if (utf8 == " ")
        return made;
    for (const Shaped& shaped : glyphs) {
        Coverage piece;
        if (rasterise(shaped, turned, piece))
            made->pieces.push_back(std::move(piece));
    }
    return made;
}

std::vector<FontHandle::Shaped> FontHandle::shape(const std::string& utf8, bool vertical,
                                                  int& advance26)
{
    hb_buffer_clear_contents(m_buffer);
    const int length = static_cast<int>(utf8.size());
    hb_buffer_add_utf8(m_buffer, utf8.data(), length, 0, length);
    // Lines are laid out left to right whatever the face; the vertical
    // forms come from the feature alone and are turned afterwards.
    hb_buffer_set_direction(m_buffer, HB_DIRECTION_LTR);
    hb_buffer_set_language(m_buffer, hb_language_from_string("ja", 2));
    hb_buffer_guess_segment_properties(m_buffer);
    hb_feature_t vert{HB_TAG('v', 'e', 'r', 't'), 1, HB_FEATURE_GLOBAL_START,
                      HB_FEATURE_GLOBAL_END};
    hb_shape(m_hbFont, m_buffer, vertical ? &vert : nullptr, vertical ? 1u : 0u);

    unsigned int count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(m_buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(m_buffer, &count);
    std::vector<Shaped> shaped;
    shaped.reserve(count);
    int pen = 0;
    for (unsigned int i = 0; i < count; ++i) {
        shaped.push_back({infos[i].codepoint, pen + positions[i].x_offset, positions[i].y_offset});
        pen += positions[i].x_advance;
    }
    advance26 = pen;
    return shaped;
}

bool FontHandle::rasterise(const Shaped& shaped, bool turned, Coverage& out)
{
    if (FT_Load_Glyph(m_face, shaped.id, m_loadFlags) != 0)
        return false;
    FT_GlyphSlot slot = m_face->glyph;
    if (m_syntheticBold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // FreeType's usual emboldening strength (as FT_GlyphSlot_Embolden):
        // a 24th of the em, spread over both sides of every stroke, so that
        // the glyph stays centred on its advance.
        FT_Pos strength = FT_MulFix(m_face->units_per_EM, m_face->size->metrics.y_scale) / 24;
        FT_Outline_EmboldenXY(&slot->outline, strength, strength);
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    std::vector<uint8_t> upright;
    if (!uprightCoverage(slot->bitmap, upright))
        return false;

    const int width = static_cast<int>(slot->bitmap.width);
    const int rows = static_cast<int>(slot->bitmap.rows);
    // Bitmap origin relative to the pen on the baseline, y upwards.
    const int left = slot->bitmap_left + static_cast<int>(std::lround(shaped.x26 / 64.0));
    const int top = slot->bitmap_top + static_cast<int>(std::lround(shaped.y26 / 64.0));
    if (!turned) {
        out.left = left;
        out.top = m_metrics.ascent - top;
        out.width = width;
        out.height = rows;
        out.pixels = std::move(upright);
        return true;
    }

    // Turned 90 degrees counter-clockwise about the em square, which then
    // lies across the advance with its top on the top of the text cell:
    // upright pixel (c, r) lands at (r, width - 1 - c) of the turned image.
    const int em = m_metrics.em;
    out.left = em - m_emBottom - top;
    out.top = em - left - width;
    out.width = rows;
    out.height = width;
    out.pixels.assign(upright.size(), 0);
    for (int r = 0; r < rows; ++r) {
        const uint8_t* src = upright.data() + static_cast<std::size_t>(r) * width;
        for (int c = 0; c < width; ++c)
            out.pixels[static_cast<std::size_t>(width - 1 - c) * rows + r] = src[c];
    }
    return true;
}
