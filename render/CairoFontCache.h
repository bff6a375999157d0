#pragma once

#include <cstddef>
#include <list>
#include <mutex>
#include <string>

class FontHandle;
typedef struct _cairo_font_face cairo_font_face_t;
typedef struct FT_LibraryRec_* FT_Library;

// The cairo faces that draw the fonts of the raster pages on vector pages.
//
// cairo sizes and transforms the FreeType face it is given whenever it
// needs a glyph, so it never gets a FontHandle's own face: each font is
// opened a second time, from the same font file's bytes and with the same
// face index, in a FreeType library of this cache's own. The glyph ids the
// handle shapes are thus the glyph ids cairo draws. A face asked for 600 or
// more without a bold style is emboldened by cairo as the raster path
// emboldens it.
//
// The process has one cache; it is safe to use from several threads. The
// faces it makes share its FreeType library, so a face is opened and let go
// (by whichever thread drops cairo's last reference) under one lock.
class CairoFontCache {
public:
    static CairoFontCache& instance();

    // A new reference to the cairo face of the handle's font (the caller
    // destroys it), or null when the font cannot be handed to cairo (a face
    // that is no sfnt font, or memory ran out).
    cairo_font_face_t* faceFor(const FontHandle& handle);

    // Faces kept for later requests; older ones are let go beyond this
    // (cairo keeps a face alive as long as a page still uses it).
    static constexpr std::size_t KeptFaces = 8;

private:
    CairoFontCache();
    ~CairoFontCache() = default;

    struct Kept {
        std::string key;
        cairo_font_face_t* face = nullptr;
    };

    std::mutex m_mutex;
    FT_Library m_library = nullptr;
    std::list<Kept> m_kept; // most recently asked first
};
