#include "render/RecordingDeviceContext.h"

#include "render/FCFont.h"

#include <cstdlib>

namespace {

RecordingDeviceContext::Font describe(const FCFont& font)
{
    return {font.face, font.height, font.weight};
}

} // namespace

RecordingDeviceContext::RecordingDeviceContext(DeviceContext* target, int dotsPerInch)
    : m_target(target), m_dotsPerInch(dotsPerInch)
{
}

int RecordingDeviceContext::logPixelsX() const
{
    return m_target ? m_target->logPixelsX() : m_dotsPerInch;
}

int RecordingDeviceContext::logPixelsY() const
{
    return m_target ? m_target->logPixelsY() : m_dotsPerInch;
}

RecordingDeviceContext::Operation RecordingDeviceContext::inForce(Kind kind) const
{
    Operation op;
    op.kind = kind;
    op.hasFont = m_selected != nullptr;
    op.font = m_selectedFont;
    return op;
}

FCFont* RecordingDeviceContext::selectFont(FCFont* font)
{
    Operation op;
    op.kind = Kind::SelectFont;
    op.hasFont = font != nullptr;
    if (font)
        op.font = describe(*font);

    FCFont* previous = m_selected;
    if (m_target) {
        // The real context refuses fonts that were not created; the record
        // follows what it kept.
        previous = m_target->selectFont(font);
        op.ok = font && font->isCreated();
    } else {
        // Drawing nowhere, any font described will do: the geometry does not
        // depend on which faces are installed.
        op.ok = font != nullptr;
    }
    if (op.ok) {
        m_selected = font;
        m_selectedFont = op.font;
    }
    m_operations.push_back(op);
    return op.ok ? previous : nullptr;
}

bool RecordingDeviceContext::recordText(Kind kind, int x, int y, std::string_view text, int cell,
                                        bool drawn)
{
    Operation op = inForce(kind);
    op.x = x;
    op.y = y;
    op.text = std::string(text);
    op.cell = cell;
    op.ok = drawn;
    m_operations.push_back(op);
    return op.ok;
}

bool RecordingDeviceContext::textOut(int x, int y, std::string_view text)
{
    return recordText(Kind::TextOut, x, y, text, 0, !m_target || m_target->textOut(x, y, text));
}

bool RecordingDeviceContext::uprightOut(int x, int y, std::string_view text, int cell)
{
    return recordText(Kind::UprightOut, x, y, text, cell,
                      !m_target || m_target->uprightOut(x, y, text, cell));
}

bool RecordingDeviceContext::inkOut(int x, int y, std::string_view text)
{
    return recordText(Kind::InkOut, x, y, text, 0, !m_target || m_target->inkOut(x, y, text));
}

bool RecordingDeviceContext::textExtent(std::string_view text, int& cx, int& cy)
{
    Operation op = inForce(Kind::TextExtent);
    op.text = std::string(text);
    if (m_target) {
        op.ok = m_target->textExtent(text, cx, cy);
    } else {
        const int height = m_selected ? std::abs(m_selectedFont.height) : 16;
        cx = static_cast<int>(text.size()) * (height / 2);
        cy = height;
        op.ok = true;
    }
    op.cx = cx;
    op.cy = cy;
    m_operations.push_back(op);
    return op.ok;
}

void RecordingDeviceContext::fillRect(const FCRect& rect, const Brush& brush)
{
    Operation op = inForce(Kind::FillRect);
    op.rect = rect;
    op.brush = brush;
    if (m_target)
        m_target->fillRect(rect, brush);
    m_operations.push_back(op);
}

std::vector<RecordingDeviceContext::Operation> RecordingDeviceContext::operations(Kind kind) const
{
    std::vector<Operation> out;
    for (const Operation& op : m_operations) {
        if (op.kind == kind)
            out.push_back(op);
    }
    return out;
}
