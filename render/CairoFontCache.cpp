#include "render/CairoFontCache.h"

#include "platform/FontHandle.h"
#include "platform/Trace.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <memory>
#include <vector>

namespace {

// What a cairo face owns besides itself: the FreeType face and the font
// bytes it reads from, freed when cairo lets the face go.
struct FaceSource {
    std::vector<unsigned char> data;
    FT_Face face = nullptr;
};

cairo_user_data_key_t sourceKey;

// FreeType lets faces of one library be used on several threads, but not
// made or done with at the same time.
std::mutex& libraryMutex()
{
    static std::mutex* mutex = new std::mutex();
    return *mutex;
}

void doneFace(FT_Face face)
{
    std::lock_guard<std::mutex> lock(libraryMutex());
    FT_Done_Face(face);
}

void destroySource(void* data)
{
    auto* source = static_cast<FaceSource*>(data);
    doneFace(source->face);
    delete source;
}

} // namespace

CairoFontCache& CairoFontCache::instance()
{
    // Never destroyed: cairo may still hold faces of it when the process
    // ends.
    static CairoFontCache* cache = new CairoFontCache();
    return *cache;
}

CairoFontCache::CairoFontCache()
{
    if (FT_Init_FreeType(&m_library) != 0) {
        m_library = nullptr;
        Trace::write("CairoFontCache: FreeType cannot be started\n");
    }
}

cairo_font_face_t* CairoFontCache::faceFor(const FontHandle& handle)
{
    const std::string key = handle.fontKey() + (handle.isSyntheticBold() ? "\nbold" : "\nregular");
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
        if (it->key == key) {
            m_kept.splice(m_kept.begin(), m_kept, it);
            return cairo_font_face_reference(it->face);
        }
    }
    if (!m_library)
        return nullptr;

    auto source = std::make_unique<FaceSource>();
    source->data = handle.fontData();
    if (source->data.empty())
        return nullptr;
    FT_Error opened = 0;
    {
        std::lock_guard<std::mutex> library(libraryMutex());
        opened = FT_New_Memory_Face(m_library, source->data.data(),
                                    static_cast<FT_Long>(source->data.size()), handle.faceIndex(),
                                    &source->face);
    }
    if (opened != 0) {
        Trace::write("CairoFontCache: cannot open a copy of " + handle.family() + "\n");
        return nullptr;
    }
    // The pages are drawn unhinted, as the raster glyphs are.
    cairo_font_face_t* face =
        cairo_ft_font_face_create_for_ft_face(source->face, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        doneFace(source->face);
        return nullptr;
    }
    if (handle.isSyntheticBold())
        cairo_ft_font_face_set_synthesize(face, CAIRO_FT_SYNTHESIZE_BOLD);
    FaceSource* owned = source.get();
    if (cairo_font_face_set_user_data(face, &sourceKey, owned, destroySource) !=
        CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        doneFace(owned->face);
        return nullptr;
    }
    source.release();

    m_kept.push_front({key, face});
    while (m_kept.size() > KeptFaces) {
        cairo_font_face_destroy(m_kept.back().face);
        m_kept.pop_back();
    }
    return cairo_font_face_reference(face);
}
