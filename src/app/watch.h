#pragma once
#include "app/options.h"

// `quindara --replay FILE [--check | --dump]`: a recorded run watched in the window, checked
// frame by frame without one, or its digests printed. Returns the exit status.
int watchReplay(const Options& options);
