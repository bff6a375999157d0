#include "fc/UxPairString.h"

UxPairString::UxPairString(const char* first, const char* second)
    : FCString(first), m_second(second)
{
}

UxPairString::~UxPairString() = default;

void UxPairString::set(const char* first, const char* second)
{
    // Both texts are built before either is replaced, so that a failure
    // leaves the pair as it was.
    FCString newFirst(first);
    FCString newSecond(second);
    FCString::operator=(newFirst);
    m_second = newSecond;
}

void UxPairString::set(const FCString& first, const FCString& second)
{
    // Copies first: either argument may be a part of this pair.
    FCString newFirst(first);
    FCString newSecond(second);
    FCString::operator=(newFirst);
    m_second = newSecond;
}
