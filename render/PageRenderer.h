#pragma once

#include "fc/FCString.h"
#include "fc/FCXList.h"
#include "render/DecoStr.h"
#include "render/FCFont.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class DeviceContext;
class ScriptLayout;
class ScriptPrinter;

// Draws one page of a loaded ScriptPrinter onto a drawing context: the page
// header up the left edge, the page's printed lines (the printer's layout of
// the script) in the faces their flags words choose, and the shaded comment
// blocks over their backgrounds (the printer's faces, sizes and comment
// background). The fonts are built for the context when drawing starts and
// live as long as the renderer, so a renderer made before the page's context
// outlives it.
class PageRenderer {
public:
    enum class Style { General, Target, Comment, CommentBlock };

    // Lengths in device pixels for a context's resolution.
    struct Geometry {
        double sx = 1.0;
        double sy = 1.0;
        int x0 = 0;         // left edge of every text line
        int y0 = 0;         // top of the first text line
        int pitch = 0;      // distance between lines
        int headerSize = 0; // header cell
    };

    // The fixed face of the page header.
    static constexpr int HeaderFontSize = 10;
    static constexpr int HeaderWeight = 700;

    explicit PageRenderer(const ScriptPrinter& printer);
    virtual ~PageRenderer();
    PageRenderer(const PageRenderer&) = delete;
    PageRenderer& operator=(const PageRenderer&) = delete;

    // The style of a printed line with flags word `flags` in the script of
    // character slot `target` (-1 for the director's copy).
    static Style styleOf(uint32_t flags, int target);
    static Geometry geometryFor(const DeviceContext& dc, int linePitch);
    // Scene name, the character (or the director's caption), page and page
    // count, mapped to full width.
    static FCString headerText(const ScriptLayout& layout, int target, int page);
    // trunc(value), held within the int range.
    static int truncated(double value);

    // Draws page `page` (0-based) of the script for character slot target
    // (-1: the director's copy). False, with nothing drawn, for a target
    // outside the table or a page without lines.
    bool draw(DeviceContext& dc, int target, int page);

    const Geometry& geometry() const { return m_geometry; }

private:
    void buildFonts(const DeviceContext& dc);
    void drawHeader(DeviceContext& dc, const ScriptLayout& layout, int target, int page);
    void drawLines(DeviceContext& dc, const ScriptLayout& layout, int target, int firstLine,
                   std::size_t start);
    void drawBlocks(DeviceContext& dc);
    // Draws a printed line with the selected font of `style`: its upright
    // cells turned, and its readings noted for drawReadings.
    void drawText(DeviceContext& dc, int x, int y, std::string_view text, int line, Style style);
    // The readings of the page, after everything else, at half the height of
    // their lines' font beside their bases.
    void drawReadings(DeviceContext& dc);
    FCFont& fontOf(Style style);
    void closeBlock();

    const ScriptPrinter& m_printer;
    Geometry m_geometry;
    FCFont m_generalFont;
    FCFont m_targetFont;
    FCFont m_commentFont;
    FCFont m_headerFont;
    // Half the text height, one for each face; built only for a layout with
    // readings.
    FCFont m_generalRuby;
    FCFont m_targetRuby;
    FCFont m_commentRuby;
    struct Reading {
        int x = 0; // the base's left end
        int y = 0; // the top of its line
        int width = 0;
        Style style = Style::General;
        std::string text;
    };
    std::vector<Reading> m_readings;
    // The printed line of each line gathered into the blocks, in order.
    std::vector<int> m_blockLines;
    FCXList<DecoStr> m_blocks;
    std::unique_ptr<DecoStr> m_openBlock; // the block being gathered
};
