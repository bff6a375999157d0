#include "fc/Diagnostic.h"

#include "platform/Prompt.h"

Diagnostic::Diagnostic(const char* caption, const char* message)
    : m_caption(caption ? caption : ""), m_message(message ? message : "")
{
}

void Diagnostic::show(void*) const
{
    Prompt::current().ask(caption(), message(), Prompt::Buttons::Ok);
}

void Diagnostic::show() const
{
    show(nullptr);
}

void Diagnostic::setCaption(const char* caption)
{
    if (caption)
        m_caption = caption;
}

void Diagnostic::setMessage(const char* message)
{
    if (message)
        m_message = message;
}

void Diagnostic::appendMessage(const char* text)
{
    if (!text || !*text)
        return;
    std::string combined = message() + text;
    setMessage(combined.c_str());
}
