#include "render/RecordedCairoPage.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace {

double unit(uint8_t grey)
{
    return grey / 255.0;
}

} // namespace

RecordedCairoPage::~RecordedCairoPage()
{
    for (cairo_font_face_t* face : m_faces)
        cairo_font_face_destroy(face);
}

void RecordedCairoPage::addFill(Fill fill)
{
    Piece piece;
    piece.fill = std::move(fill);
    m_pieces.push_back(std::move(piece));
}

void RecordedCairoPage::addText(std::vector<Line> lines)
{
    for (const Line& line : lines) {
        for (const Run& run : line.runs) {
            if (std::find(m_faces.begin(), m_faces.end(), run.face) == m_faces.end())
                m_faces.push_back(cairo_font_face_reference(run.face));
        }
    }
    Piece piece;
    piece.text = true;
    piece.lines = std::move(lines);
    m_pieces.push_back(std::move(piece));
}

void RecordedCairoPage::paint(cairo_t* cr) const
{
    for (const Piece& piece : m_pieces) {
        if (piece.text)
            paintText(cr, piece.lines);
        else
            paintFill(cr, piece.fill);
    }
}

void RecordedCairoPage::paintFill(cairo_t* cr, const Fill& fill)
{
    const FCRect& rect = fill.rect;
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (fill.kind == DeviceContext::BrushKind::Solid) {
        cairo_set_source_rgb(cr, unit(fill.grey), unit(fill.grey), unit(fill.grey));
        cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    if (fill.tileWidth <= 0 || fill.tileHeight <= 0) {
        cairo_new_path(cr);
        cairo_restore(cr);
        return;
    }
    // The tile repeats from the page's origin, as on the raster page, pixel
    // for pixel.
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, fill.tileWidth, fill.tileHeight);
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int ty = 0; data && ty < fill.tileHeight; ++ty) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(ty) * stride);
        for (int tx = 0; tx < fill.tileWidth; ++tx) {
            const uint32_t grey = fill.tile[static_cast<std::size_t>(ty) * fill.tileWidth + tx];
            row[tx] = (grey << 16) | (grey << 8) | grey;
        }
    }
    cairo_surface_mark_dirty(image);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(image);
    cairo_restore(cr);
}

void RecordedCairoPage::paintText(cairo_t* cr, const std::vector<Line>& lines)
{
    if (lines.empty())
        return;
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    // Outlines as they are, with the advances the context gives them.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    for (const Line& line : lines)
        paintLine(cr, line);
    cairo_restore(cr);
}

void RecordedCairoPage::paintLine(cairo_t* cr, const Line& line)
{
    for (const Mask& mask : line.masks)
        paintMask(cr, mask);
    // The line's text goes with its first run; the others draw glyphs only.
    bool textGiven = false;
    for (const Run& run : line.runs) {
        paintRun(cr, run, textGiven ? std::string() : line.utf8);
        textGiven = true;
    }
}

bool RecordedCairoPage::emboldensFlipped(cairo_t* cr)
{
    // On vector surfaces cairo writes an emboldened face as a font program
    // of its own, built from outlines it loads flipped upside down (font
    // space grows upwards, cairo's downwards); the extra stroke width then
    // grows below the strokes instead of above them, as FreeType and the
    // raster page grow it.
    switch (cairo_surface_get_type(cairo_get_target(cr))) {
    case CAIRO_SURFACE_TYPE_PDF:
    case CAIRO_SURFACE_TYPE_PS:
    case CAIRO_SURFACE_TYPE_SVG:
        return true;
    default:
        return false;
    }
}

void RecordedCairoPage::paintRun(cairo_t* cr, const Run& run, const std::string& utf8)
{
    if (!run.face || run.ids.empty())
        return;
    const double em = run.em;
    // Raised by the added width (FreeType's strength, a 24th of the em) so
    // that the strokes cover what they cover on the raster page; upwards in
    // the glyph is leftwards on the page for a turned glyph.
    double raiseX = 0;
    double raiseY = 0;
    if (run.syntheticBold && emboldensFlipped(cr))
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
    cairo_set_font_face(cr, run.face);
    cairo_set_font_matrix(cr, &matrix);

    std::vector<cairo_glyph_t> glyphs(run.ids.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        glyphs[i] = {run.ids[i], run.xs[i] - raiseX, run.ys[i] - raiseY};
    // One cluster for the whole run: its glyphs stand for the text together.
    // A run with text but without glyphs cannot happen (runs hold glyphs);
    // a run without text is allowed and maps its glyphs to nothing.
    cairo_text_cluster_t cluster{static_cast<int>(utf8.size()), static_cast<int>(glyphs.size())};
    cairo_show_text_glyphs(cr, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                           static_cast<int>(glyphs.size()), &cluster, 1,
                           static_cast<cairo_text_cluster_flags_t>(0));
}

void RecordedCairoPage::paintMask(cairo_t* cr, const Mask& mask)
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
    cairo_mask_surface(cr, image, mask.left, mask.top);
    cairo_surface_destroy(image);
}
