#include "batch/BatchInterrupt.h"

#include "ui/UxProgressDialog.h"

#include <csignal>

namespace {

struct sigaction previous;
bool installed = false;

extern "C" void onInterrupt(int)
{
    // Only the atomic request: everything else waits for the next pump.
    UxProgressDialog::requestCancel();
}

} // namespace

void BatchInterrupt::install()
{
    if (installed)
        return;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // After the first signal the default action is back, so a second Ctrl-C
    // stops a command that does not get to its next pump.
    action.sa_flags = SA_RESETHAND;
    if (sigaction(SIGINT, &action, &previous) == 0)
        installed = true;
}

void BatchInterrupt::uninstall()
{
    if (!installed)
        return;
    sigaction(SIGINT, &previous, nullptr);
    installed = false;
}
