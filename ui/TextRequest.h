#pragma once

#include "fc/FCString.h"

#include <string_view>

// What the notice, question and text-input dialogs are asked: a title, the
// text or prompt shown, the value (the input's start and, after OK, the
// result) and the input history slot whose entries the input offers. Texts
// are CP932.
class TextRequest {
public:
    TextRequest();
    TextRequest(std::string_view title, std::string_view text, std::string_view value = {},
                int historySlot = 0);
    virtual ~TextRequest();

    const FCString& title() const { return m_title; }
    void setTitle(std::string_view title) { m_title = FCString(title); }
    // The title the window shows: an empty one is the program's own
    // "quillon utility".
    FCString effectiveTitle() const;

    const FCString& text() const { return m_text; }
    void setText(std::string_view text) { m_text = FCString(text); }

    const FCString& value() const { return m_value; }
    void setValue(std::string_view value) { m_value = FCString(value); }

    int historySlot() const { return m_historySlot; }
    void setHistorySlot(int slot) { m_historySlot = slot; }

private:
    FCString m_title;
    FCString m_text;
    FCString m_value;
    int m_historySlot = 0;
};
