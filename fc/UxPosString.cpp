#include "fc/UxPosString.h"

UxPosString::UxPosString(const char* text, int32_t x, int32_t y) : FCString(text), m_x(x), m_y(y) {}

UxPosString::~UxPosString() = default;
