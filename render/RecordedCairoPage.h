#pragma once

#include "fc/FCRect.h"
#include "render/DeviceContext.h"

#include <cstdint>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_font_face cairo_font_face_t;

// What a vector page sends to cairo, in the form the drawing context
// (CairoDeviceContext) gathers it: fills, each as one piece, and the page's
// text lines, their glyphs shaped and placed, each run of them with the
// cairo face that draws it. The context either paints each piece at once or
// keeps it here, in order, so that the page can be painted later, on
// another thread, onto the context of a document drawn in order there:
// paint() makes exactly the cairo calls the context would have made, so the
// document comes out the same byte for byte.
//
// A kept page holds a reference to every face its runs use, and nothing of
// the fonts of the thread that drew it.
class RecordedCairoPage {
public:
    // A rectangle filled with a grey or with a tile of greys repeated from
    // the page's origin; the rectangle lies within the page and is not
    // empty.
    struct Fill {
        FCRect rect;
        DeviceContext::BrushKind kind = DeviceContext::BrushKind::Solid;
        uint8_t grey = 0;
        // Pattern: the tile, row after row (none when the brush had none).
        int tileWidth = 0;
        int tileHeight = 0;
        std::vector<uint8_t> tile;
    };
    // Glyphs of one face in one orientation, drawn by one cairo call.
    struct Run {
        cairo_font_face_t* face = nullptr; // not null
        double em = 0;                     // the em in page pixels
        bool syntheticBold = false;
        bool turned = false;
        double scale = 1.0; // of the font's em, for the run's grouping
        std::vector<uint32_t> ids;
        std::vector<double> xs;
        std::vector<double> ys;
    };
    // Coverage of a glyph whose font cairo cannot draw: painted as a mask.
    struct Mask {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<uint8_t> pixels;
    };
    // One line of text: its runs and masks, and its text (UTF-8), which
    // goes with its first run.
    struct Line {
        int x = 0;
        int y = 0;
        std::string utf8;
        std::vector<Run> runs;
        std::vector<Mask> masks;
        long long end = 0; // the pen after its last character
    };

    RecordedCairoPage() = default;
    ~RecordedCairoPage();
    RecordedCairoPage(const RecordedCairoPage&) = delete;
    RecordedCairoPage& operator=(const RecordedCairoPage&) = delete;

    void addFill(Fill fill);
    // The text of the page as the context draws it at its end.
    void addText(std::vector<Line> lines);

    // Paints the page, piece after piece as kept.
    void paint(cairo_t* cr) const;

    // The cairo calls of one piece.
    static void paintFill(cairo_t* cr, const Fill& fill);
    static void paintText(cairo_t* cr, const std::vector<Line>& lines);

private:
    struct Piece {
        bool text = false;
        Fill fill;
        std::vector<Line> lines;
    };
    static void paintLine(cairo_t* cr, const Line& line);
    static void paintRun(cairo_t* cr, const Run& run, const std::string& utf8);
    static void paintMask(cairo_t* cr, const Mask& mask);
    static bool emboldensFlipped(cairo_t* cr);

    std::vector<Piece> m_pieces;
    std::vector<cairo_font_face_t*> m_faces; // referenced once each
};
