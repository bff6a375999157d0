#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct FT_FaceRec_* FT_Face;
typedef struct hb_font_t hb_font_t;
typedef struct hb_buffer_t hb_buffer_t;
class FaceLibrary;

// One created font: a FreeType face at one pixel size with the metrics the
// drawing context needs, and a cache of every character's glyph. Characters
// are CP932 codes as Cp932::codeAt gives them (the byte of a single-byte
// character, lead * 256 + trail of a double-byte one).
//
// Each character is shaped (HarfBuzz) and rasterised (FreeType) once, the
// first time it is asked for; later requests are a table look-up. In a
// vertical ("@") font a double-byte character takes its vertical form (the
// 'vert' feature) and its coverage is stored already turned 90 degrees
// counter-clockwise, advancing by one em; single-byte characters stay upright
// with their horizontal advance.
//
// A font is used by one thread at a time: the engine gives each thread fonts
// of its own.
class FontHandle {
public:
    // Coverage of one glyph: 0 no ink, 255 full ink, width x height bytes,
    // rows top to bottom. left/top place its top-left pixel relative to the
    // pen position and the top of the text cell.
    struct Coverage {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<uint8_t> pixels;
    };
    struct Glyph {
        int advance = 0;
        // Usually one; a character the font shapes into several glyphs has
        // one coverage per glyph.
        std::vector<Coverage> pieces;
    };

    struct Metrics {
        int ascent = 0;     // cell top to baseline
        int descent = 0;    // baseline to cell bottom
        int cellHeight = 0; // ascent + descent
        int em = 0;         // pixels per em
    };

    // Takes the face and sizes it to em pixels per em; the handle owns the
    // face from now on. vertical: the face was asked for with "@". library:
    // the library that opened the face, closed under its lock (may be null).
    FontHandle(FT_Face face, int em, bool vertical, bool syntheticBold, std::string family,
               std::shared_ptr<FaceLibrary> library = nullptr);
    virtual ~FontHandle();
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;

    const Metrics& metrics() const { return m_metrics; }
    bool isVertical() const { return m_vertical; }
    bool isSyntheticBold() const { return m_syntheticBold; }
    // The family fontconfig matched (UTF-8).
    const std::string& family() const { return m_family; }

    // The glyph of a character. The reference stays valid until the next
    // call of glyph (the cache may be emptied when it grows too big).
    const Glyph& glyph(int code);
    int advance(int code) { return glyph(code).advance; }

    // A character as the raster path shapes it, for contexts that draw the
    // glyphs themselves (a vector page): the glyph ids and their offsets from
    // the pen, rounded to whole pixels as the coverages are placed.
    struct ShapedGlyph {
        uint32_t id = 0;
        int x = 0; // pixels along the advance
        int y = 0; // pixels upwards
    };
    struct Shaping {
        // The character's text (UTF-8); a control character reads as " ".
        std::string utf8;
        // Empty for a space or a control character, which leave no ink.
        std::vector<ShapedGlyph> glyphs;
        // The same advance as glyph(code).advance.
        int advance = 0;
        // A vertical form: drawn turned 90 degrees counter-clockwise about
        // the em square (see emBottom).
        bool turned = false;
    };
    // Shapes the character afresh (nothing is cached); the glyph cache is
    // left alone.
    Shaping shaping(int code);

    // The em square's bottom edge below the baseline, in pixels: the turned
    // glyphs lie with their em square across the advance, its top on the top
    // of the text cell.
    int emBottom() const { return m_emBottom; }
    // The font the face was read from, for a second, independent FT_Face of
    // the same font (one that another library may size and transform without
    // touching this handle): the whole font file's bytes (empty when the face
    // is no sfnt font or cannot be read), the face's index in it, and a key
    // that tells fonts apart (family, style, index, glyph count, file size).
    std::vector<unsigned char> fontData() const;
    long faceIndex() const;
    std::string fontKey() const;

    // Bytes of coverage the cache holds; the cache starts over beyond the
    // budget, so that a long run over many faces and sizes stays bounded.
    std::size_t cachedBytes() const { return m_cachedBytes; }
    static constexpr std::size_t CacheBudget = 48u << 20;

    // The em size (pixels) whose text cell, ascent plus descent, comes
    // nearest to cellHeight pixels: what a positive LOGFONT height asks for.
    static int emForCellHeight(FT_Face face, int cellHeight);

private:
    using GlyphPage = std::array<std::unique_ptr<Glyph>, 256>;

    // A glyph of a shaped character and its pen offset, 26.6 pixels.
    struct Shaped {
        uint32_t id = 0;
        int x26 = 0;
        int y26 = 0;
    };

    std::unique_ptr<Glyph> makeGlyph(int code);
    // Shapes one character (UTF-8); advance26 receives its advance.
    std::vector<Shaped> shape(const std::string& utf8, bool vertical, int& advance26);
    // False when the glyph has no ink (a space) or cannot be loaded.
    bool rasterise(const Shaped& shaped, bool turned, Coverage& out);
    void clearCache();

    std::shared_ptr<FaceLibrary> m_library; // outlives the face
    FT_Face m_face = nullptr;
    hb_font_t* m_hbFont = nullptr;
    hb_buffer_t* m_buffer = nullptr;
    Metrics m_metrics;
    bool m_vertical = false;
    bool m_syntheticBold = false;
    std::string m_family;
    // The bottom edge of the em square, in pixels below the baseline, for
    // the turned glyphs.
    int m_emBottom = 0;
    int m_loadFlags = 0;
    std::array<std::unique_ptr<GlyphPage>, 256> m_pages;
    std::size_t m_cachedBytes = 0;
};
