#include "render/DecoStr.h"

#include <memory>

void DecoStr::add(std::string_view line, int x, int y, int cx, int cy)
{
    auto text = std::make_unique<UxPosString>();
    // Built from the bytes, not as a C string: a line may hold a NUL.
    text->create(256, line);
    text->setPosition(x, y);
    m_lines.append(text.release(), true);

    // Extents are never negative, so the cell is normalised; a line that
    // measured as nothing still places the block where the first line is.
    FCRect cell{x, y, x + (cx > 0 ? cx : 0), y + (cy > 0 ? cy : 0)};
    if (m_lines.count() == 1)
        m_rect = cell;
    else
        m_rect = m_rect.united(cell);
}
