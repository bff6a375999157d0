#include "fc/FCIdString.h"

FCIdString::FCIdString(int32_t id, const char* text) : FCString(text), m_id(id) {}

FCIdString::FCIdString(int32_t id, const FCString& text) : FCString(text), m_id(id) {}

FCIdString::~FCIdString() = default;

void FCIdString::set(int32_t id, const char* text)
{
    // The text first: if it cannot be stored, the pair stays as it was.
    create(256, text);
    m_id = id;
}

void FCIdString::set(int32_t id, const FCString& text)
{
    FCString::operator=(text);
    m_id = id;
}
