#pragma once

#include "platform/Prompt.h"

// The foundation's message boxes (Retry/Cancel for file errors, OK, Yes/No)
// as modal message windows that keep input from every other window and come
// to the front. The buttons carry the labels a Japanese desktop gives them.
// Closing the box without a button answers Cancel, OK or No.
//
// The desktop program's environment makes it the current prompt.
class QtPrompt : public Prompt {
public:
    static constexpr const char* RetryLabel = "再試行(&R)";
    static constexpr const char* CancelLabel = "キャンセル";
    static constexpr const char* OkLabel = "OK";
    static constexpr const char* YesLabel = "はい(&Y)";
    static constexpr const char* NoLabel = "いいえ(&N)";

    QtPrompt();
    ~QtPrompt() override;

    Answer ask(const std::string& title, const std::string& text, Buttons buttons) override;
};
