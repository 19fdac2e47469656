#include "shell/signals.h"
#include <csignal>
#include <initializer_list>

namespace
{
volatile std::sig_atomic_t quitRequested = 0;

// A second signal only raises the flag again: it never cuts a save short.
void onQuitSignal(int)
{
    quitRequested = 1;
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
void clearQuitSignal()
{
    quitRequested = 0;
}
