#pragma once

#include "ui/UxDialogHost.h"

class QWidget;

// Shows the program's notice and question dialogs as windows, modal over
// the window the user is working in (the active modal window, else the
// active window). The desktop program's environment holds it.
class QtDialogHost : public UxDialogHost {
public:
    QtDialogHost();
    ~QtDialogHost() override;

    void notice(const std::string& text, const std::string& title) override;
    bool question(const std::string& text, const std::string& title) override;

    // The window a dialog opened now is owned by; null when there is none.
    static QWidget* owner();
};
