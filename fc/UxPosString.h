#pragma once

#include "fc/FCString.h"

#include <cstdint>

// A text with the position it is drawn at.
class UxPosString : public FCString {
public:
    UxPosString() = default;
    UxPosString(const char* text, int32_t x, int32_t y);
    ~UxPosString() override;

    int32_t x() const { return m_x; }
    int32_t y() const { return m_y; }
    void setPosition(int32_t x, int32_t y)
    {
        m_x = x;
        m_y = y;
    }

private:
    int32_t m_x = 0;
    int32_t m_y = 0;
};
