#pragma once

#include "render/DeviceContext.h"
#include "render/RecordedCairoPage.h"
#include "render/SelectedFont.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FontHandle;
typedef struct _cairo cairo_t;
typedef struct _cairo_font_face cairo_font_face_t;

// The drawing context over a cairo context: the same page as the raster
// context draws, as vectors. The cairo user space is the page in device
// pixels of the given resolution, y growing downwards (a PDF page maps it
// with a transform of its own).
//
// Text is drawn with the same fonts, glyph ids and glyph positions as the
// raster page: the characters are shaped by the FontHandle behind the
// selected FCFont, and its vertical forms are drawn turned 90 degrees
// counter-clockwise about the em square, exactly where the raster context
// puts their coverage. Every glyph keeps its text, so the page stays
// searchable: each line's text goes with its first run of glyphs (a PDF
// reader sees the whole line as one piece of text), the other runs of the
// line carry none. A line drawn in pieces (text, an upright cell, text
// again, each starting where the one before ended) is one line.
//
// Text is gathered and drawn by flush(), above every fill of the page, in
// reading order: text drawn inside the last shaded rectangle (the renderer
// draws a comment block's lines after the page's other lines, over their
// shading) goes back among the lines of the same left edge by its top.
//
// Drawn onto a recorded page instead of a cairo context, the context makes
// no cairo call itself: it keeps each fill and, at flush(), the text, ready
// to be painted by another thread (see RecordedCairoPage).
class CairoDeviceContext : public DeviceContext {
public:
    // width, height: the page in device pixels; fills are held inside it.
    CairoDeviceContext(cairo_t* cr, int width, int height, int dotsPerInch = 96);
    CairoDeviceContext(RecordedCairoPage& record, int width, int height, int dotsPerInch = 96);
    ~CairoDeviceContext() override;
    CairoDeviceContext(const CairoDeviceContext&) = delete;
    CairoDeviceContext& operator=(const CairoDeviceContext&) = delete;

    int logPixelsX() const override;
    int logPixelsY() const override;
    FCFont* selectFont(FCFont* font) override;
    bool textOut(int x, int y, std::string_view text) override;
    bool uprightOut(int x, int y, std::string_view text, int cell) override;
    bool inkOut(int x, int y, std::string_view text) override;
    bool textExtent(std::string_view text, int& cx, int& cy) override;
    void fillRect(const FCRect& rect, const Brush& brush) override;

    // Draws (or keeps) the text gathered so far; the page's drawing is
    // complete after it.
    void flush();

    // A gathered text line as flush() will draw it, for tests: its position
    // and its text (UTF-8), in drawing order.
    struct PendingText {
        int x = 0;
        int y = 0;
        std::string utf8;
    };
    std::vector<PendingText> pendingTexts() const;

private:
    using Run = RecordedCairoPage::Run;
    using Mask = RecordedCairoPage::Mask;
    using Line = RecordedCairoPage::Line;

    // The selected font's face, or the default font; null when there is no
    // font at all.
    const std::shared_ptr<FontHandle>& font();
    // The cairo face of a font, looked up once per context; null when cairo
    // cannot draw it.
    cairo_font_face_t* cairoFaceOf(const std::shared_ptr<FontHandle>& font);
    // textOut and inkOut; withText false leaves the text out of the page.
    bool drawText(int x, int y, std::string_view text, bool withText);
    void insertInReadingOrder(Line line);
    // Adds line to the last line drawn when it continues it: after an
    // upright cell, or an upright cell itself, at the same top where the
    // last one ended. Otherwise it is inserted as a line of its own.
    void addLine(Line line, bool upright);
    // A run of the face's glyphs, in one orientation and scale.
    Run runOf(const std::shared_ptr<FontHandle>& face, bool turned, double scale);

    cairo_t* m_cr;
    RecordedCairoPage* m_record = nullptr; // kept here instead, when set
    int m_width;
    int m_height;
    int m_dotsPerInch;
    SelectedFont m_font;
    std::vector<Line> m_lines;
    // Keyed by the handle, which is held here so that its address cannot
    // come back for another font while the context lives.
    std::map<const FontHandle*, std::pair<std::shared_ptr<FontHandle>, cairo_font_face_t*>>
        m_cairoFaces;
    bool m_hasShading = false;
    // The last line drawn, while a piece may still continue it.
    std::size_t m_lastLine = 0;
    bool m_continuable = false;
    bool m_lastWasUpright = false;
    FCRect m_lastShading;
};
