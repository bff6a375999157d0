#include "render/CairoDeviceContext.h"

#include "platform/FontEngine.h"
#include "platform/FontHandle.h"
#include "render/CairoFontCache.h"
#include "render/FCFont.h"
#include "render/FCVSurface.h"
#include "render/GlyphWalk.h"

#include <algorithm>
#include <cairo.h>
#include <cassert>
#include <climits>
#include <cmath>

namespace {

double unit(uint8_t grey)
{
    return grey / 255.0;
}

} // namespace

CairoDeviceContext::CairoDeviceContext(cairo_t* cr, int width, int height, int dotsPerInch)
    : m_cr(cr), m_width(width), m_height(height), m_dotsPerInch(dotsPerInch)
{
    assert(cr && "CairoDeviceContext needs a cairo context");
    assert(dotsPerInch > 0 && "CairoDeviceContext needs a positive resolution");
}

CairoDeviceContext::~CairoDeviceContext()
{
    for (auto& [font, known] : m_cairoFaces)
        cairo_font_face_destroy(known.second);
}

cairo_font_face_t* CairoDeviceContext::cairoFaceOf(const std::shared_ptr<FontHandle>& font)
{
    auto found = m_cairoFaces.find(font.get());
    if (found != m_cairoFaces.end())
        return found->second.second;
    cairo_font_face_t* face = CairoFontCache::instance().faceFor(*font);
    m_cairoFaces.emplace(font.get(), std::make_pair(font, face));
    return face;
}

int CairoDeviceContext::logPixelsX() const
{
    return m_dotsPerInch;
}

int CairoDeviceContext::logPixelsY() const
{
    return m_dotsPerInch;
}

FCFont* CairoDeviceContext::selectFont(FCFont* font)
{
    return m_font.select(font);
}

const std::shared_ptr<FontHandle>& CairoDeviceContext::font()
{
    return m_font.face(m_dotsPerInch);
}

bool CairoDeviceContext::textOut(int x, int y, std::string_view text)
{
    return drawText(x, y, text, true);
}

bool CairoDeviceContext::inkOut(int x, int y, std::string_view text)
{
    return drawText(x, y, text, false);
}

bool CairoDeviceContext::uprightOut(int x, int y, std::string_view text, int cell)
{
    const std::shared_ptr<FontHandle>& face = font();
    if (!face)
        return false;
    if (!cairoFaceOf(face))
        return drawText(x, y, text, true); // no vector form: as the text lies
    const FontHandle::Metrics& metrics = face->metrics();
    Line line;
    line.x = x;
    line.y = y;
    line.end = static_cast<long long>(x) + cell;
    GlyphWalk::upright(*face, text, x, y, cell,
                       [&](int code, double originX, double originY, double scale) {
                           const FontHandle::Shaping shaped = face->shaping(code);
                           line.utf8 += shaped.utf8;
                           if (shaped.glyphs.empty())
                               return;
                           if (line.runs.empty() || line.runs.back().scale != scale)
                               line.runs.push_back({face, true, scale, {}, {}, {}});
                           Run& run = line.runs.back();
                           // The glyph's origin on its baseline, turned as
                           // the vertical forms are.
                           for (const FontHandle::ShapedGlyph& glyph : shaped.glyphs) {
                               run.ids.push_back(glyph.id);
                               run.xs.push_back(originX + (metrics.ascent - glyph.y) * scale);
                               run.ys.push_back(originY - glyph.x * scale);
                           }
                       });
    addLine(std::move(line), true);
    return true;
}

bool CairoDeviceContext::drawText(int x, int y, std::string_view text, bool withText)
{
    const std::shared_ptr<FontHandle>& face = font();
    if (!face)
        return false;
    cairo_font_face_t* cairoFace = cairoFaceOf(face);
    const FontHandle::Metrics& metrics = face->metrics();

    Line line;
    line.x = x;
    line.y = y;
    if (!cairoFace) {
        // No vector form of the font: its coverage, as the raster page has
        // it (no text to search, but the same ink).
        GlyphWalk::coverage(*face, text, x, y,
                            [&](long long left, long long top, const FontHandle::Coverage& piece) {
                                line.masks.push_back({static_cast<int>(left), static_cast<int>(top),
                                                      piece.width, piece.height, piece.pixels});
                            });
        line.end = GlyphWalk::characters(text, x, [&](int code, long long) {
            line.utf8 += face->shaping(code).utf8;
            return face->advance(code);
        });
        if (!withText)
            line.utf8.clear();
        addLine(std::move(line), false);
        m_continuable = m_continuable && withText;
        return true;
    }
    line.end = GlyphWalk::characters(text, x, [&](int code, long long pen) {
        const FontHandle::Shaping shaped = face->shaping(code);
        line.utf8 += shaped.utf8;
        if (!shaped.glyphs.empty()) {
            if (line.runs.empty() || line.runs.back().turned != shaped.turned)
                line.runs.push_back({face, shaped.turned, 1.0, {}, {}, {}});
            Run& run = line.runs.back();
            for (const FontHandle::ShapedGlyph& glyph : shaped.glyphs) {
                run.ids.push_back(glyph.id);
                if (shaped.turned) {
                    // Turned counter-clockwise about the em square, whose
                    // top lies on the top of the cell: the glyph's baseline
                    // runs upwards, em - emBottom right of the pen, and its
                    // origin sits one em below the cell's top. The shaping
                    // offsets turn with the glyph.
                    run.xs.push_back(static_cast<double>(pen) + metrics.em - face->emBottom() -
                                     glyph.y);
                    run.ys.push_back(static_cast<double>(y) + metrics.em - glyph.x);
                } else {
                    run.xs.push_back(static_cast<double>(pen) + glyph.x);
                    run.ys.push_back(static_cast<double>(y) + metrics.ascent - glyph.y);
                }
            }
        }
        return shaped.advance;
    });
    if (!withText)
        line.utf8.clear();
    addLine(std::move(line), false);
    // What continues a line is its text: ink alone ends the chance.
    m_continuable = m_continuable && withText;
    return true;
}

void CairoDeviceContext::addLine(Line line, bool upright)
{
    if (m_continuable && (upright || m_lastWasUpright) && m_lastLine < m_lines.size()) {
        Line& last = m_lines[m_lastLine];
        if (last.y == line.y && last.end == line.x) {
            last.utf8 += line.utf8;
            last.end = line.end;
            for (Run& run : line.runs)
                last.runs.push_back(std::move(run));
            for (Mask& mask : line.masks)
                last.masks.push_back(std::move(mask));
            m_lastWasUpright = upright;
            return;
        }
    }
    insertInReadingOrder(std::move(line));
    m_lastWasUpright = upright;
}

void CairoDeviceContext::insertInReadingOrder(Line line)
{
    const bool shaded = m_hasShading && line.x >= m_lastShading.left &&
                        line.x < m_lastShading.right && line.y >= m_lastShading.top &&
                        line.y < m_lastShading.bottom;
    auto at = m_lines.end();
    if (shaded) {
        at = std::find_if(m_lines.begin(), m_lines.end(), [&](const Line& earlier) {
            return earlier.x == line.x && earlier.y > line.y;
        });
    }
    m_lastLine = static_cast<std::size_t>(at - m_lines.begin());
    m_continuable = true;
    m_lines.insert(at, std::move(line));
}

bool CairoDeviceContext::textExtent(std::string_view text, int& cx, int& cy)
{
    return m_font.textExtent(text, m_dotsPerInch, cx, cy);
}

void CairoDeviceContext::fillRect(const FCRect& rect, const Brush& brush)
{
    m_continuable = false;
    m_hasShading = true;
    m_lastShading = rect;
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, m_width);
    const int bottom = std::min(rect.bottom, m_height);
    if (brush.kind == BrushKind::None || left >= right || top >= bottom)
        return;

    cairo_save(m_cr);
    cairo_rectangle(m_cr, left, top, right - left, bottom - top);
    if (brush.kind == BrushKind::Solid) {
        cairo_set_source_rgb(m_cr, unit(brush.grey), unit(brush.grey), unit(brush.grey));
        cairo_fill(m_cr);
        cairo_restore(m_cr);
        return;
    }
    assert(brush.pattern && "a pattern brush needs its tile");
    if (!brush.pattern || brush.pattern->width() <= 0 || brush.pattern->height() <= 0) {
        cairo_new_path(m_cr);
        cairo_restore(m_cr);
        return;
    }
    // The tile repeats from the page's origin, as on the raster page, pixel
    // for pixel.
    const FCVSurface& tile = *brush.pattern;
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, tile.width(), tile.height());
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int ty = 0; data && ty < tile.height(); ++ty) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(ty) * stride);
        for (int tx = 0; tx < tile.width(); ++tx) {
            const uint32_t grey = *tile.pixel(tx, ty);
            row[tx] = (grey << 16) | (grey << 8) | grey;
        }
    }
    cairo_surface_mark_dirty(image);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_set_source(m_cr, pattern);
    cairo_fill(m_cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(image);
    cairo_restore(m_cr);
}

std::vector<CairoDeviceContext::PendingText> CairoDeviceContext::pendingTexts() const
{
    std::vector<PendingText> out;
    out.reserve(m_lines.size());
    for (const Line& line : m_lines)
        out.push_back({line.x, line.y, line.utf8});
    return out;
}

void CairoDeviceContext::flush()
{
    if (m_lines.empty())
        return;
    cairo_save(m_cr);
    cairo_set_source_rgb(m_cr, 0, 0, 0);
    // Outlines as they are, with the advances the context gives them.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(m_cr, options);
    cairo_font_options_destroy(options);
    for (const Line& line : m_lines)
        drawLine(line);
    cairo_restore(m_cr);
    m_lines.clear();
    m_hasShading = false;
    m_continuable = false;
}

void CairoDeviceContext::drawLine(const Line& line)
{
    for (const Mask& mask : line.masks)
        drawMask(mask);
    // The line's text goes with its first run; the others draw glyphs only.
    bool textGiven = false;
    for (const Run& run : line.runs) {
        drawRun(run, textGiven ? std::string() : line.utf8);
        textGiven = true;
    }
}

bool CairoDeviceContext::emboldensFlipped() const
{
    // On vector surfaces cairo writes an emboldened face as a font program
    // of its own, built from outlines it loads flipped upside down (font
    // space grows upwards, cairo's downwards); the extra stroke width then
    // grows below the strokes instead of above them, as FreeType and the
    // raster page grow it.
    switch (cairo_surface_get_type(cairo_get_target(m_cr))) {
    case CAIRO_SURFACE_TYPE_PDF:
    case CAIRO_SURFACE_TYPE_PS:
    case CAIRO_SURFACE_TYPE_SVG:
        return true;
    default:
        return false;
    }
}

void CairoDeviceContext::drawRun(const Run& run, const std::string& utf8)
{
    cairo_font_face_t* face = cairoFaceOf(run.font);
    if (!face || run.ids.empty())
        return;
    const double em = run.font->metrics().em * run.scale;
    // Raised by the added width (FreeType's strength, a 24th of the em) so
    // that the strokes cover what they cover on the raster page; upwards in
    // the glyph is leftwards on the page for a turned glyph.
    double raiseX = 0;
    double raiseY = 0;
    if (run.font->isSyntheticBold() && emboldensFlipped())
        (run.turned ? raiseX : raiseY) = em / 24.0;
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, em, em);
    if (run.turned) {
        // Glyph space turned a quarter counter-clockwise: the baseline runs
        // upwards on the page (y grows downwards).
        cairo_matrix_t turn;
        cairo_matrix_init_rotate(&turn, -M_PI / 2);
        cairo_matrix_multiply(&matrix, &matrix, &turn);
    }
    cairo_set_font_face(m_cr, face);
    cairo_set_font_matrix(m_cr, &matrix);

    std::vector<cairo_glyph_t> glyphs(run.ids.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        glyphs[i] = {run.ids[i], run.xs[i] - raiseX, run.ys[i] - raiseY};
    // One cluster for the whole run: its glyphs stand for the text together.
    // A run with text but without glyphs cannot happen (runs hold glyphs);
    // a run without text is allowed and maps its glyphs to nothing.
    cairo_text_cluster_t cluster{static_cast<int>(utf8.size()), static_cast<int>(glyphs.size())};
    cairo_show_text_glyphs(m_cr, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                           static_cast<int>(glyphs.size()), &cluster, 1,
                           static_cast<cairo_text_cluster_flags_t>(0));
}

void CairoDeviceContext::drawMask(const Mask& mask)
{
    if (mask.width <= 0 || mask.height <= 0)
        return;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_A8, mask.width, mask.height);
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int r = 0; data && r < mask.height; ++r)
        std::copy_n(mask.pixels.data() + static_cast<std::size_t>(r) * mask.width, mask.width,
                    data + static_cast<std::ptrdiff_t>(r) * stride);
    cairo_surface_mark_dirty(image);
    cairo_mask_surface(m_cr, image, mask.left, mask.top);
    cairo_surface_destroy(image);
}
