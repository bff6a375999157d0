#pragma once

#include "platform/Prompt.h"

// A prompt that shows nothing: it answers every question with the choice
// that gives up (Cancel, No; Ok for a plain notice) and remembers that it
// was asked. Work done on a worker thread installs it for that thread
// (Prompt::ThreadScope); when it was asked, the work is done again on the
// thread that may talk to the user, which then asks exactly as before.
class SilentPrompt : public Prompt {
public:
    Answer ask(const std::string& title, const std::string& text, Buttons buttons) override;

    bool asked() const { return m_asked; }

private:
    bool m_asked = false;
};
