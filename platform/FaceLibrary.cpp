#include "platform/FaceLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H

std::shared_ptr<FaceLibrary> FaceLibrary::create()
{
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0)
        return nullptr;
    std::shared_ptr<FaceLibrary> library(new FaceLibrary);
    library->m_library = made;
    return library;
}

FaceLibrary::~FaceLibrary()
{
    if (m_library)
        FT_Done_FreeType(m_library);
}

FT_Face FaceLibrary::openFace(const char* file, long index)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    FT_Face face = nullptr;
    if (FT_New_Face(m_library, file, index, &face) != 0)
        return nullptr;
    return face;
}
