#pragma once

#include "platform/Prompt.h"

// Writes title and text to stderr in UTF-8 and answers as nobody is there to
// press a button: Cancel to Retry/Cancel, No to Yes/No, OK to OK.
class HeadlessPrompt : public Prompt {
public:
    Answer ask(const std::string& title, const std::string& text, Buttons buttons) override;

    static Answer defaultAnswer(Buttons buttons);
};
