#pragma once

// Ctrl-C during a batch command: the first SIGINT asks the open progress
// dialog to cancel, as its cancel button would (the unit of work in
// progress is finished, then the command stops as it does on a cancel); a
// second one ends the process at once.
class BatchInterrupt {
public:
    // The exit status after a cancel.
    static constexpr int CancelledStatus = 130;

    static void install();
    // Puts back what was there before install.
    static void uninstall();
};
