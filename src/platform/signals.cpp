#include "platform/signals.h"
#include <csignal>
#include <initializer_list>

namespace
{
volatile std::sig_atomic_t quitRequested = 0;

// The signal that asked to stop. A second one only raises the flag again: it never cuts a
// save short.
void onQuitSignal(int sig)
{
    quitRequested = sig;
}
} // namespace

void installQuitSignals()
{
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // file writes and waits go on undisturbed
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &action, nullptr);
}

bool quitSignalled()
{
    return quitRequested != 0;
}
int quitSignalNumber()
{
    return quitRequested;
}

void clearQuitSignal()
{
    quitRequested = 0;
}
