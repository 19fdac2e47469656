#pragma once
#include "app/options.h"
#include "track/level.h"

// `quindara --replay FILE [--check | --dump]`: a recorded run watched in the window, checked
// frame by frame without one, or its digests printed. Returns the exit status.
int watchReplay(const Options& options);
// Between frames in attract, in the player's window: the run of place `place` of the chosen
// course's table watched (Escape leaves), then the game back as it was, recording again.
// False when that place has no run to watch.
struct FrameLoop;
bool watchTableRun(int place, TileList& tiles, FrameLoop& loop);
