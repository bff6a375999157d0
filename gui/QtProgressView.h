#pragma once

#include "ui/ProgressView.h"

#include <QElapsedTimer>
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
// A folder of thousands of scenes steps far faster than a window is worth
// repainting, so the window takes the dialog's text and bar over at most
// once per RefreshInterval: a change that comes sooner waits for the next
// pump once that interval has passed. Likewise the pending events (the
// cancel button, repaints) are processed by the first pump after opening
// and then by the first pump once EventInterval has passed since the last
// time: a pass over the event loop costs more than reading a scene header,
// and no one can tell a millisecond's wait for the button.
//
// The desktop program's environment holds it for every progress dialog.
class QtProgressView : public ProgressView {
public:
    static constexpr int RefreshInterval = 30; // milliseconds
    static constexpr int EventInterval = 1;    // milliseconds
    // How long opening waits at most for the display to map the window.
    static constexpr int MappingWait = 100; // milliseconds

    QtProgressView();
    ~QtProgressView() override;

    QtProgressView(const QtProgressView&) = delete;
    QtProgressView& operator=(const QtProgressView&) = delete;

    void opened(UxProgressDialog& dialog) override;
    void textChanged(UxProgressDialog& dialog) override;
    void positionChanged(UxProgressDialog& dialog) override;
    void pump(UxProgressDialog& dialog) override;
    // The window goes on repainting and hears its cancel button while a run
    // waits for its workers.
    void pumpWaiting(UxProgressDialog& dialog) override { pump(dialog); }
    void closed(UxProgressDialog& dialog) override;

    // The window of an open dialog, null when it has none.
    ProgressDialog* windowOf(const UxProgressDialog& dialog) const;

private:
    // Guarded: a window is a child of the window it opened over and goes
    // with it, should that one close first.
    struct Shown {
        QPointer<ProgressDialog> window;
        QElapsedTimer sinceRefresh;
        // Invalid until the first pump has processed the events.
        QElapsedTimer sinceEvents;
        bool pending = false;
    };
    // Notes a change (changed) and shows the dialog's text and bar when
    // one is pending and the window is due for it.
    void refresh(UxProgressDialog& dialog, bool changed);

    std::map<const UxProgressDialog*, Shown> m_windows;
};
