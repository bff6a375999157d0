#pragma once

#include <string_view>

// How work tells the user what it met (the files a load skipped, a folder
// that could not be made) and asks where it must (may a folder be made?):
// the notice and question boxes of the desktop program, the batch tool's
// terminal, a test's recorder. The work is handed one by whoever starts it.
// An empty title is the program's default title. Texts are CP932.
class Notices {
public:
    virtual ~Notices() = default;

    virtual void notice(std::string_view text, std::string_view title = {}) = 0;
    // True only for "はい".
    virtual bool question(std::string_view text, std::string_view title = {}) = 0;
};
