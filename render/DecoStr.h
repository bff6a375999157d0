#pragma once

#include "fc/FCRect.h"
#include "fc/FCXList.h"
#include "fc/UxPosString.h"

#include <string_view>

// One shaded comment block of a page: consecutive emphasised comment lines,
// each with the point it is drawn at, and the rectangle that holds them all
// (the union of their measured text cells, in device pixels).
class DecoStr {
public:
    DecoStr() = default;
    virtual ~DecoStr() = default;
    DecoStr(const DecoStr&) = delete;
    DecoStr& operator=(const DecoStr&) = delete;

    // Adds a line drawn at (x, y) whose text cell is cx wide and cy high; the
    // rectangle grows to hold it.
    void add(std::string_view line, int x, int y, int cx, int cy);

    const FCXList<UxPosString>& lines() const { return m_lines; }
    const FCRect& rect() const { return m_rect; }

private:
    FCXList<UxPosString> m_lines;
    FCRect m_rect;
};
