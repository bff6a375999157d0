#pragma once

#include "fc/FCString.h"

#include <cstdint>

// A text with a signed number attached to it, such as a message identifier or
// a list key; -1 until set.
class FCIdString : public FCString {
public:
    FCIdString() = default;
    FCIdString(int32_t id, const char* text);
    FCIdString(int32_t id, const FCString& text);
    ~FCIdString() override;

    int32_t id() const { return m_id; }
    void setId(int32_t id) { m_id = id; }

    // Replaces both the number and the text.
    void set(int32_t id, const char* text);
    void set(int32_t id, const FCString& text);

private:
    int32_t m_id = -1;
};
