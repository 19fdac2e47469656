#pragma once

// Ctrl+C, `kill` and a closing terminal (SIGINT, SIGTERM, SIGHUP) ask the game to stop as
// Escape does. The handlers only raise a flag; the banner wait and the frame loop read it.
// Installed before SDL starts, so SDL leaves these signals to us.
void installQuitSignals();
bool quitSignalled();
// The signal that asked to stop (SIGINT, SIGTERM or SIGHUP), or 0.
int quitSignalNumber();
void clearQuitSignal();
