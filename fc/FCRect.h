#pragma once

// A rectangle in device pixels. As in GDI, the right and bottom edges are
// outside the rectangle: a fill covers x in [left, right) and y in [top,
// bottom).
struct FCRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }

    // The smallest rectangle holding both (an empty rectangle adds nothing).
    FCRect united(const FCRect& other) const
    {
        if (isEmpty())
            return other;
        if (other.isEmpty())
            return *this;
        return {left < other.left ? left : other.left, top < other.top ? top : other.top,
                right > other.right ? right : other.right,
                bottom > other.bottom ? bottom : other.bottom};
    }
};
