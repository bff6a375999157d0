#include "platform/FontHandle.h"

#include "platform/FaceLibrary.h"
#include "platform/TextCodec.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <hb-ft.h>

namespace {

// Ascent and descent of the text cell in font units. GDI builds the cell from
// the Windows metrics of the OS/2 table; fonts without them fall back to the
// horizontal header.
struct CellUnits {
    long ascent = 0;
    long descent = 0;
};

CellUnits cellUnits(FT_Face face)
{
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        return {static_cast<long>(os2->usWinAscent), static_cast<long>(os2->usWinDescent)};
    return {face->ascender, -static_cast<long>(face->descender)};
}

int scaled(long units, int em, long unitsPerEm)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * em / unitsPerEm));
}

// The em square's bottom below the baseline, in pixels. CJK fonts put the
// ideographic em box between the typographic ascender and descender; where
// those do not span the font's height, the em is shared out between ascender
// and descender in their proportion.
int emBottomOf(FT_Face face, int em, int fallback)
{
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    long ascender = face->ascender;
    long descender = face->descender;
    if (os2 && os2->version != 0xFFFF && os2->sTypoAscender - os2->sTypoDescender > 0) {
        ascender = os2->sTypoAscender;
        descender = os2->sTypoDescender;
    }
    if (ascender - descender <= 0)
        return fallback;
    return static_cast<int>(std::lround(static_cast<double>(-descender) * em /
                                        static_cast<double>(ascender - descender)));
}

} // namespace

FontHandle::FontHandle(FT_Face face, int em, bool vertical, bool syntheticBold, std::string family,
                       std::shared_ptr<FaceLibrary> library)
    : m_library(std::move(library)), m_face(face), m_vertical(vertical),
      m_syntheticBold(syntheticBold), m_family(std::move(family))
{
    assert(face && "FontHandle needs a face");
    assert(em > 0 && "FontHandle needs a positive em size");
    m_metrics.em = em;
    if (FT_IS_SCALABLE(face)) {
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
        CellUnits units = cellUnits(face);
        long unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000;
        // Rounded up: the rasteriser rounds a glyph's top upwards too, and a
        // glyph reaching the ascender must not ink above the cell.
        m_metrics.ascent =
            static_cast<int>(std::ceil(static_cast<double>(units.ascent) * em / unitsPerEm - 1e-9));
        m_metrics.descent = scaled(units.descent, em, unitsPerEm);
        // Outlines are drawn unhinted: hinting would be turned with the
        // vertical glyphs and snap them along the wrong axis.
        m_loadFlags = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    } else {
        // A bitmap-only face: the strike nearest to the asked size.
        int best = 0;
        for (int i = 1; i < face->num_fixed_sizes; ++i) {
            if (std::abs(face->available_sizes[i].height - em) <
                std::abs(face->available_sizes[best].height - em))
                best = i;
        }
        if (face->num_fixed_sizes > 0)
            FT_Select_Size(face, best);
        m_metrics.ascent = static_cast<int>(face->size->metrics.ascender >> 6);
        m_metrics.descent = static_cast<int>(-face->size->metrics.descender >> 6);
        m_loadFlags = FT_LOAD_DEFAULT;
        m_syntheticBold = false; // no outlines to thicken
    }
    if (m_metrics.ascent + m_metrics.descent <= 0) {
        // A face without usable vertical metrics: an em-high cell.
        m_metrics.ascent = em - em / 8;
        m_metrics.descent = em / 8;
    }
    m_metrics.cellHeight = m_metrics.ascent + m_metrics.descent;
    m_emBottom = emBottomOf(face, em, m_metrics.descent);

    m_hbFont = hb_ft_font_create_referenced(face);
    hb_ft_font_set_load_flags(m_hbFont, m_loadFlags);
    m_buffer = hb_buffer_create();
}

FontHandle::~FontHandle()
{
    hb_buffer_destroy(m_buffer);
    // The face may be let go on another thread than the one that drew with
    // it: closing it changes its library, which another face of that
    // library may be opening at the same time.
    std::unique_lock<std::mutex> lock;
    if (m_library)
        lock = m_library->lock();
    hb_font_destroy(m_hbFont); // drops the reference it took on the face
    FT_Done_Face(m_face);
}

int FontHandle::emForCellHeight(FT_Face face, int cellHeight)
{
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)
        return cellHeight;
    CellUnits units = cellUnits(face);
    long cellUnitsTotal = units.ascent + units.descent;
    if (cellUnitsTotal <= 0)
        return cellHeight;
    int em = scaled(cellHeight, face->units_per_EM, cellUnitsTotal);
    return em > 0 ? em : 1;
}

const FontHandle::Glyph& FontHandle::glyph(int code)
{
    assert(code >= 0 && code <= 0xFFFF && "FontHandle::glyph: not a CP932 character code");
    std::unique_ptr<GlyphPage>& page = m_pages[static_cast<std::size_t>(code >> 8)];
    if (page) {
        if (const std::unique_ptr<Glyph>& known = (*page)[static_cast<std::size_t>(code & 0xFF)])
            return *known;
    }
    std::unique_ptr<Glyph> made = makeGlyph(code);
    std::size_t bytes = 0;
    for (const Coverage& piece : made->pieces)
        bytes += piece.pixels.size();
    if (m_cachedBytes + bytes > CacheBudget)
        clearCache();
    m_cachedBytes += bytes;
    if (!page)
        page = std::make_unique<GlyphPage>();
    std::unique_ptr<Glyph>& slot = (*page)[static_cast<std::size_t>(code & 0xFF)];
    slot = std::move(made);
    return *slot;
}

void FontHandle::clearCache()
{
    for (std::unique_ptr<GlyphPage>& page : m_pages)
        page.reset();
    m_cachedBytes = 0;
}

FontHandle::Shaping FontHandle::shaping(int code)
{
    assert(code >= 0 && code <= 0xFFFF && "FontHandle::shaping: not a CP932 character code");
    // The same text, features and rounding as the coverages of glyph(code),
    // so that a vector page puts every glyph where the raster page has it.
    Shaping out;
    const bool doubleByte = code > 0xFF;
    out.turned = m_vertical && doubleByte;
    if (!doubleByte && (code < 0x20 || code == 0x7F)) {
        out.utf8 = " ";
    } else {
        std::string bytes;
        if (doubleByte)
            bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
        out.utf8 = TextCodec::toUtf8(bytes);
    }
    int advance26 = 0;
    const std::vector<Shaped> glyphs = shape(out.utf8, out.turned, advance26);
    out.advance = out.turned ? m_metrics.em : static_cast<int>(std::lround(advance26 / 64.0));
    if (m_syntheticBold)
        out.advance += 1;
    if (out.utf8 == " ")
        return out;
    out.glyphs.reserve(glyphs.size());
    for (const Shaped& glyph : glyphs)
        out.glyphs.push_back({glyph.id, static_cast<int>(std::lround(glyph.x26 / 64.0)),
                              static_cast<int>(std::lround(glyph.y26 / 64.0))});
    return out;
}

std::vector<unsigned char> FontHandle::fontData() const
{
    // Tag 0 reads the whole file the face came from, a collection's header
    // included, so that the face index stays valid for the copy.
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(m_face, 0, 0, nullptr, &length) != 0 || length == 0)
        return {};
    std::vector<unsigned char> data(length);
    if (FT_Load_Sfnt_Table(m_face, 0, 0, data.data(), &length) != 0)
        return {};
    data.resize(length);
    return data;
}

long FontHandle::faceIndex() const
{
    return m_face->face_index;
}

std::string FontHandle::fontKey() const
{
    std::string key = m_face->family_name ? m_face->family_name : "";
    key += '\n';
    key += m_face->style_name ? m_face->style_name : "";
    key += '\n' + std::to_string(m_face->face_index) + '\n' + std::to_string(m_face->num_glyphs);
    key += '\n' + std::to_string(m_face->stream ? m_face->stream->size : 0);
    return key;
}
