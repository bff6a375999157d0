#include "batch/BatchInterrupt.h"

#include "ui/UxProgressDialog.h"

#include <atomic>
#include <csignal>

namespace {

struct sigaction previous;
bool installed = false;
std::atomic<int> presses{0}; // lock-free, so usable in the handler

extern "C" void onInterrupt(int)
{
    // Only the atomic request: everything else waits for the next pump.
    UxProgressDialog::requestCancel();
    if (presses.fetch_add(1) + 1 >= 2) {
        // sigaction is safe in a handler: the next press ends the process.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(SIGINT, &fallback, nullptr);
    }
}

} // namespace

void BatchInterrupt::install()
{
    if (installed)
        return;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    presses = 0;
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
