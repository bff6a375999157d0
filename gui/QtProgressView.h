#pragma once

#include "ui/ProgressView.h"

#include <QPointer>
#include <map>

class ProgressDialog;

// Shows progress dialogs as windows: opening one creates its window
// (modeless, but the only window taking input until it closes, so that no
// command can start while an operation still runs), centred over the active
// window; texts and the bar follow the dialog; pumping processes the pending
// events so that the window repaints and its cancel button works; the cancel
// button calls the dialog's pressCancel(), which the caller notices when it
// next reads the flag; closing the dialog closes its window.
//
// Install it for the process with UxProgressDialog::installView().
class QtProgressView : public ProgressView {
public:
    QtProgressView();
    ~QtProgressView() override;

    QtProgressView(const QtProgressView&) = delete;
    QtProgressView& operator=(const QtProgressView&) = delete;

    void opened(UxProgressDialog& dialog) override;
    void textChanged(UxProgressDialog& dialog) override;
    void positionChanged(UxProgressDialog& dialog) override;
    void pump(UxProgressDialog& dialog) override;
    void closed(UxProgressDialog& dialog) override;

    // The window of an open dialog, null when it has none.
    ProgressDialog* window(const UxProgressDialog& dialog) const;

private:
    // Guarded: a window is a child of the window it opened over and goes
    // with it, should that one close first.
    std::map<const UxProgressDialog*, QPointer<ProgressDialog>> m_windows;
};
