#pragma once
#include "app/options.h"

// --import FILE: a friend's run, checked frame by frame as --check does; only a run that checks
// is taken. Its course joins the player's own (once: one with the same tiles is the same course,
// and one of the same name but other tiles is kept apart under a name of its own), and the run
// joins that course's table with its initials, marked as imported (the same run once). A file
// that is refused changes nothing. Returns the exit status.
int importRun(const Options& options);
