#pragma once

#include <string>

// Where the notice and question dialogs appear: the GUI installs a host that
// shows windows, the batch tool keeps the headless one, tests install a
// scripted one. Texts and titles are CP932; the title is already resolved
// (never empty).
class UxDialogHost {
public:
    virtual ~UxDialogHost();

    virtual void notice(const std::string& text, const std::string& title) = 0;
    // True only for "はい".
    virtual bool question(const std::string& text, const std::string& title) = 0;
};
