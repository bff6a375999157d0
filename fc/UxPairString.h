#pragma once

#include "fc/FCString.h"

// Two texts kept together, such as a name and its reading; the string itself
// is the first.
class UxPairString : public FCString {
public:
    UxPairString() = default;
    UxPairString(const char* first, const char* second);
    ~UxPairString() override;

    FCString& first() { return *this; }
    const FCString& first() const { return *this; }
    FCString& second() { return m_second; }
    const FCString& second() const { return m_second; }

    // Replaces both texts at once.
    void set(const char* first, const char* second);
    void set(const FCString& first, const FCString& second);

private:
    FCString m_second;
};
