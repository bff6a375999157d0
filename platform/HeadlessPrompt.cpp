#include "platform/HeadlessPrompt.h"

#include "platform/TextCodec.h"

#include <cstdio>

Prompt::Answer HeadlessPrompt::defaultAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::RetryCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::Ok:
        break;
    }
    return Answer::Ok;
}

Prompt::Answer HeadlessPrompt::ask(const std::string& title, const std::string& text,
                                   Buttons buttons)
{
    std::string out = TextCodec::toUtf8(title) + ": " + TextCodec::toUtf8(text) + "\n";
    std::fwrite(out.data(), 1, out.size(), stderr);
    std::fflush(stderr);
    return defaultAnswer(buttons);
}
