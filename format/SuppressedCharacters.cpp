#include "format/SuppressedCharacters.h"

SuppressedCharacters::SuppressedCharacters() = default;

SuppressedCharacters::~SuppressedCharacters() = default;

void SuppressedCharacters::rebuild(std::string_view text)
{
    m_names.clear();
    size_t start = 0;
    while (start < text.size()) {
        // Each name was stored followed by "\n" and never holds a line
        // break itself, so the bytes mark the ends even after a broken name.
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            m_names.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

bool SuppressedCharacters::contains(std::string_view name) const
{
    for (const FCString& suppressed : m_names) {
        if (suppressed.view() == name)
            return true;
    }
    return false;
}
