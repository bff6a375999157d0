#pragma once

#include <string>

// Where the notice and question dialogs appear: the desktop program's
// environment holds a host that shows windows, the batch tool's one that
// writes to its terminal, a test's a scripted one. Texts and titles are
// CP932; the title is already resolved (never empty).
class UxDialogHost {
public:
    virtual ~UxDialogHost();

    virtual void notice(const std::string& text, const std::string& title) = 0;
    // True only for "はい".
    virtual bool question(const std::string& text, const std::string& title) = 0;
};
