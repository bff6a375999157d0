#include "batch/StreamPrompt.h"

#include "platform/HeadlessPrompt.h"
#include "platform/TextCodec.h"

#include <ostream>

StreamPrompt::StreamPrompt(std::ostream& err) : m_err(err) {}

Prompt::Answer StreamPrompt::ask(const std::string& title, const std::string& text, Buttons buttons)
{
    if (buttons == Buttons::RetryCancel)
        ++m_failures;
    m_err << "quillon-batch: " << TextCodec::toUtf8(title) << ": " << TextCodec::toUtf8(text)
          << "\n"
          << std::flush;
    return HeadlessPrompt::defaultAnswer(buttons);
}
