#include "ui/TextRequest.h"

#include "ui/UxDialogs.h"

TextRequest::TextRequest() = default;

TextRequest::TextRequest(std::string_view title, std::string_view text, std::string_view value,
                         int historySlot)
    : m_title(title), m_text(text), m_value(value), m_historySlot(historySlot)
{
}

TextRequest::~TextRequest() = default;

FCString TextRequest::effectiveTitle() const
{
    return m_title.isEmpty() ? FCString(UxDialogs::DefaultTitle) : m_title;
}
