#include "render/FCFont.h"

#include "platform/FontEngine.h"
#include "platform/FontHandle.h"

#include <cstring>

FCFont::~FCFont()
{
    release();
}

void FCFont::reset()
{
    release();
    height = 0;
    width = 0;
    escapement = 0;
    orientation = 0;
    weight = 0;
    italic = false;
    underline = false;
    strikeOut = false;
    charset = 0;
    outPrecision = 0;
    clipPrecision = 0;
    quality = 0;
    pitchAndFamily = 0;
    face.clear();
}

void FCFont::setHeight(int h)
{
    // Written so that the most negative int, whose magnitude has no int form,
    // stays as it is instead of overflowing.
    height = h < 0 ? h : -h;
}

void FCFont::setFace(const std::string& cp932)
{
    // A LOGFONT face is a C string: it ends at the first NUL.
    const std::size_t length = std::strlen(cp932.c_str());
    if (length < FaceNameSize)
        face.assign(cp932, 0, length);
    else
        face.clear();
}

bool FCFont::create()
{
    release();
    // The face as a LOGFONT would hold it, whoever filled the field in.
    std::string logFace(face.c_str());
    if (logFace.size() >= FaceNameSize)
        logFace.clear();
    m_handle = FontEngine::instance().open(logFace, height, weight, charset);
    return m_handle != nullptr;
}

void FCFont::release()
{
    m_handle.reset();
}
