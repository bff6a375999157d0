#include "render/SelectedFont.h"

#include "platform/FontEngine.h"
#include "platform/FontHandle.h"
#include "render/FCFont.h"
#include "render/GlyphWalk.h"

#include <algorithm>
#include <climits>

FCFont* SelectedFont::select(FCFont* font)
{
    if (font && !font->isCreated())
        return nullptr;
    FCFont* previous = m_selected;
    m_selected = font;
    m_face = font ? font->handle() : nullptr;
    return previous;
}

const std::shared_ptr<FontHandle>& SelectedFont::face(int dotsPerInch)
{
    if (m_face)
        return m_face;
    if (!m_stockFace) {
        const int em = std::max(1, FontEngine::DefaultEm * dotsPerInch / 96);
        m_stockFace = FontEngine::instance().open("", -em, 400, FCFont::ShiftJisCharset);
    }
    return m_stockFace;
}

bool SelectedFont::textExtent(std::string_view text, int dotsPerInch, int& cx, int& cy)
{
    const std::shared_ptr<FontHandle>& font = face(dotsPerInch);
    if (!font)
        return false;
    // The width is where the pen ends when the text is drawn from 0.
    const long long width =
        GlyphWalk::characters(text, 0, [&](int code, long long) { return font->advance(code); });
    cx = static_cast<int>(std::clamp<long long>(width, INT_MIN, INT_MAX));
    cy = font->metrics().cellHeight;
    return true;
}
