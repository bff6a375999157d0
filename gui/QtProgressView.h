#pragma once

#include "ui/ProgressView.h"

#include <QElapsedTimer>
#include <QPointer>
#include <map>
#include <memory>

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
// A dialog with a show delay (UxProgressDialog::setShowDelay) gets its window
// from the first pump once the delay has passed since opening, showing the
// dialog's state as it then stands: work that ends sooner shows no window.
// Until the window is there, the input the window would keep from the others
// is refused as it would be (keys, clicks, closing a window), unless a modal
// window (a question put during the work) is up to take it, and the events
// are processed only once per WaitingEventInterval.
//
// The desktop program's environment holds it for every progress dialog.
class QtProgressView : public ProgressView {
public:
    static constexpr int RefreshInterval = 30; // milliseconds
    static constexpr int EventInterval = 1;    // milliseconds
    // While a window waits for its delay there is nothing to press, only
    // the other windows to repaint now and then.
    static constexpr int WaitingEventInterval = RefreshInterval;
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
        // Running from the opening while the window waits for the show delay.
        QElapsedTimer sinceOpened;
        bool pending = false;
    };
    // Makes and shows the dialog's window.
    void show(UxProgressDialog& dialog, Shown& shown);
    // Refuses the user's input while a window waits for its delay.
    void guardInput();
    // Notes a change (changed) and shows the dialog's text and bar when
    // one is pending and the window is due for it.
    void refresh(UxProgressDialog& dialog, bool changed);

    std::map<const UxProgressDialog*, Shown> m_windows;
    std::unique_ptr<QObject> m_inputGuard;
};
