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

CairoDeviceContext::CairoDeviceContext(cairo_t* cr, int width, int height, int dotsPerInch)
    : m_cr(cr), m_width(width), m_height(height), m_dotsPerInch(dotsPerInch)
{
    assert(cr && "CairoDeviceContext needs a cairo context");
    assert(dotsPerInch > 0 && "CairoDeviceContext needs a positive resolution");
}

CairoDeviceContext::CairoDeviceContext(RecordedCairoPage& record, int width, int height,
                                       int dotsPerInch)
    : m_cr(nullptr), m_record(&record), m_width(width), m_height(height), m_dotsPerInch(dotsPerInch)
{
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

CairoDeviceContext::Run CairoDeviceContext::runOf(const std::shared_ptr<FontHandle>& face,
                                                  bool turned, double scale)
{
    Run run;
    run.face = cairoFaceOf(face);
    run.em = face->metrics().em * scale;
    run.syntheticBold = face->isSyntheticBold();
    run.turned = turned;
    run.scale = scale;
    return run;
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
                               line.runs.push_back(runOf(face, true, scale));
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
                line.runs.push_back(runOf(face, shaped.turned, 1.0));
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

    RecordedCairoPage::Fill fill;
    fill.rect = FCRect{left, top, right, bottom};
    fill.kind = brush.kind;
    fill.grey = brush.grey;
    if (brush.kind == BrushKind::Pattern) {
        assert(brush.pattern && "a pattern brush needs its tile");
        const FCVSurface* tile = brush.pattern;
        if (tile && tile->width() > 0 && tile->height() > 0) {
            fill.tileWidth = tile->width();
            fill.tileHeight = tile->height();
            fill.tile.reserve(static_cast<std::size_t>(fill.tileWidth) * fill.tileHeight);
            for (int ty = 0; ty < fill.tileHeight; ++ty)
                fill.tile.insert(fill.tile.end(), tile->pixel(0, ty),
                                 tile->pixel(0, ty) + fill.tileWidth);
        }
    }
    if (m_record)
        m_record->addFill(std::move(fill));
    else
        RecordedCairoPage::paintFill(m_cr, fill);
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
    if (m_record)
        m_record->addText(std::move(m_lines));
    else
        RecordedCairoPage::paintText(m_cr, m_lines);
    m_lines.clear();
    m_hasShading = false;
    m_continuable = false;
}
