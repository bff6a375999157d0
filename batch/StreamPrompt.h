#pragma once

#include "platform/Prompt.h"

#include <iosfwd>

// The foundation's message boxes during a batch command: the tool's name,
// title and text in UTF-8 on the error stream, answered as nobody is there to press a button
// (Cancel to Retry/Cancel, so a file error gives up at once). Counts the
// boxes that reported a failure, so that the command can tell a failure
// from a cancel.
class StreamPrompt : public Prompt {
public:
    explicit StreamPrompt(std::ostream& err);

    Answer ask(const std::string& title, const std::string& text, Buttons buttons) override;

    // Retry/Cancel boxes so far: each is a file that could not be used.
    int failures() const { return m_failures; }

private:
    std::ostream& m_err;
    int m_failures = 0;
};
