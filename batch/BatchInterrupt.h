#pragma once

// Ctrl-C during a batch command: the first SIGINT asks the open progress
// dialog to cancel, as its cancel button would (the unit of work in
// progress is finished, then the command stops as it does on a cancel); a
// second one presses that button again, which asks a command that can stop
// inside a unit of work (a print run) to stop at once and clean up. From
// then on the default action is back, so a third one ends a command that
// never gets to its next pump.
namespace BatchInterrupt {

// The exit status after a cancel.
inline constexpr int CancelledStatus = 130;

void install();
// Puts back what was there before install.
void uninstall();

} // namespace BatchInterrupt
