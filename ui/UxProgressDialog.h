#pragma once

#include "fc/Progress.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

class ProgressView;

// The modeless progress dialog of long operations: a title, a text line, a
// bar and a cancel button. Per unit of work the caller sets the text, steps
// the bar, pumps and then reads cancelled(); a unit already started is
// always finished, since nothing but the caller looks at the flag.
//
// The dialog is state only; what the user sees is the ProgressView it is
// made with: the program's windows, the terminal line, a test's recorder.
// Texts are CP932.
//
// A cancel can also come from outside the GUI thread: requestCancel() (safe
// in a signal handler) leaves a request that the next pump() of an open,
// cancellable dialog takes, as if its cancel button had been pressed.
//
// A second press (button or request) after the first asks to stop at once:
// stopRequested() then holds, for callers that can stop inside a unit of
// work and clean up after themselves.
class UxProgressDialog : public Progress {
public:
    // The program's progress template: title, text 1001, bar 1235, cancel 2.
    static constexpr int DefaultTemplate = 175;

    // The view is not owned.
    explicit UxProgressDialog(ProgressView& view, int templateNumber = DefaultTemplate);
    // Closes the dialog when it is open.
    ~UxProgressDialog() override;

    UxProgressDialog(const UxProgressDialog&) = delete;
    UxProgressDialog& operator=(const UxProgressDialog&) = delete;

    int templateNumber() const { return m_templateNumber; }

    void setTitle(std::string_view title) override;
    const std::string& title() const { return m_title; }
    // Shown at once when the dialog is open.
    void setText(std::string_view text) override;
    const std::string& text() const { return m_text; }

    // The bar: shown or not, start position, range. The bar is hidden until
    // set up; the range defaults to 0-100 and the step to 1.
    void setupBar(bool show, int32_t start, int32_t minimum, int32_t maximum) override;
    // A range given shows the bar.
    void setRange(int32_t minimum, int32_t maximum);
    void setStepSize(int32_t step) override { m_stepSize = step; }
    bool showsBar() const { return m_showBar; }
    int32_t minimum() const { return m_minimum; }
    int32_t maximum() const { return m_maximum; }
    int32_t position() const { return m_position; }
    int32_t stepSize() const { return m_stepSize; }

    // How long after opening a view may wait before it shows the dialog, so
    // that work ending sooner shows none; 0 (the default) shows it at once.
    // Milliseconds.
    void setShowDelay(int milliseconds) { m_showDelay = milliseconds > 0 ? milliseconds : 0; }
    int showDelay() const { return m_showDelay; }

    // Does nothing when already open. Otherwise clears the cancel flags,
    // puts the bar at its start position and shows the dialog.
    void open(bool cancellable) override;
    bool isOpen() const { return m_open; }
    bool isCancellable() const { return m_cancellable; }
    void close() override;

    // Advances the bar by one step; when that would reach the maximum the bar
    // stands at the maximum and the result is true.
    bool step() override;
    void setPosition(int32_t position) override;

    // Lets the view process what is pending; takes an outside cancel request.
    void pump() override;
    // The same through the view's pumpWaiting.
    void pumpWaiting() override;
    // The cancel button: sets the flag unless cancelling is disabled; a
    // press on a dialog already cancelled asks to stop at once.
    void pressCancel();
    bool cancelled() const override { return m_cancelled; }
    bool stopRequested() const override { return m_stopRequested; }

    ProgressView& view() const { return m_view; }

    static void requestCancel() noexcept;
    static bool cancelRequested() noexcept;
    static void clearCancelRequest() noexcept;

private:
    std::string m_title;
    std::string m_text;
    ProgressView& m_view;
    int m_templateNumber;
    int32_t m_minimum = 0;
    int32_t m_maximum = 100;
    int32_t m_start = 0;
    int32_t m_position = 0;
    int32_t m_stepSize = 1;
    int m_showDelay = 0;
    bool m_showBar = false;
    bool m_cancellable = true;
    bool m_cancelled = false;
    bool m_stopRequested = false;
    bool m_open = false;

    // Takes the presses requested from outside.
    void takeRequests();

    // Presses requested from outside and not yet taken by a pump.
    static std::atomic<int> s_cancelRequest;
};
