#pragma once

#include "ui/ProgressView.h"

#include <string>
#include <vector>

// A progress view for tests: records what the dialog showed and presses the
// cancel button when the script says so.
class ScriptedProgressView : public ProgressView {
public:
    ScriptedProgressView() = default;
    ~ScriptedProgressView() override;

    // Presses cancel as soon as the bar has been stepped n times since the
    // dialog opened (0: never).
    void cancelAfterSteps(int n) { m_cancelAfterSteps = n; }
    // Presses cancel during the n-th pump since the dialog opened (0: never).
    void cancelAtPump(int n) { m_cancelAtPump = n; }

    void opened(UxProgressDialog& dialog) override;
    void textChanged(UxProgressDialog& dialog) override;
    void positionChanged(UxProgressDialog& dialog) override;
    void pump(UxProgressDialog& dialog) override;
    // Counted apart: they come as often as a run waits, and the pumps a
    // script counts are those of its units of work.
    void pumpWaiting(UxProgressDialog& dialog) override;
    void closed(UxProgressDialog& dialog) override;

    // Everything since construction; texts are CP932.
    int opens() const { return m_opens; }
    int closes() const { return m_closes; }
    int steps() const { return m_steps; }
    int pumps() const { return m_pumps; }
    int waitingPumps() const { return m_waitingPumps; }
    const std::vector<std::string>& titles() const { return m_titles; }
    // The text at opening and every text set while open.
    const std::vector<std::string>& texts() const { return m_texts; }
    const std::vector<int>& positions() const { return m_positions; }
    // The range at the last opening.
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    bool lastOpenCancellable() const { return m_cancellable; }

private:
    int m_cancelAfterSteps = 0;
    int m_cancelAtPump = 0;
    int m_opens = 0;
    int m_closes = 0;
    int m_steps = 0;
    int m_pumps = 0;
    int m_waitingPumps = 0;
    int m_stepsSinceOpen = 0;
    int m_pumpsSinceOpen = 0;
    int m_minimum = 0;
    int m_maximum = 0;
    bool m_cancellable = false;
    std::vector<std::string> m_titles;
    std::vector<std::string> m_texts;
    std::vector<int> m_positions;
};
