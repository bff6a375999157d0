#pragma once

#include <string>

// Base of every exception the foundation raises. It carries a caption and a
// message (CP932) and can show itself in a box. Raised and copied by value.
class Diagnostic {
public:
    Diagnostic(const char* caption, const char* message);
    virtual ~Diagnostic() = default;

    // A box with the message as text and the caption as title, OK only. The
    // owner is a window handle in the GUI and unused headless.
    virtual void show(void* owner) const;
    virtual void show() const;
    virtual const std::string& caption() const { return m_caption; }
    virtual void setCaption(const char* caption);
    virtual const std::string& message() const { return m_message; }
    virtual void setMessage(const char* message);
    virtual void appendMessage(const char* text);

private:
    std::string m_caption;
    std::string m_message;
};
