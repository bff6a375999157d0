#pragma once

class UxProgressDialog;

// How a progress dialog is shown. The dialog keeps the state (title, text,
// range, position, cancel flag) and tells its view what changed; a GUI view
// draws a window, the headless view a terminal line, a test view records.
// Each call receives the dialog, so a view may read any of its state.
class ProgressView {
public:
    virtual ~ProgressView();

    virtual void opened(UxProgressDialog& dialog) = 0;
    virtual void textChanged(UxProgressDialog& dialog) = 0;
    virtual void positionChanged(UxProgressDialog& dialog) = 0;
    // Process what is pending (window messages, a pressed cancel button):
    // the place where a view may call dialog.pressCancel().
    virtual void pump(UxProgressDialog& dialog) = 0;
    // The same while the work waits for another thread (Progress::pumpWaiting),
    // as often as the waiting lasts. Nothing by default: a view that must go
    // on answering meanwhile (a window) pumps here too; a cancel requested
    // from outside is taken by the dialog either way.
    virtual void pumpWaiting(UxProgressDialog& dialog);
    virtual void closed(UxProgressDialog& dialog) = 0;
};
