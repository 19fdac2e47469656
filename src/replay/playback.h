#pragma once
#include "replay/replay_file.h"

// Playing a recording back: each frame the game takes the recorded input events and clock
// readings instead of SDL's, and the digest of what it did is kept for comparing. With
// `skipWaits` the game's waits take no time (a check or a dump, which nobody watches).
void startPlayback(const Replay& replay, bool skipWaits);
void stopPlayback();
// The digest of the frame played last.
const FrameDigest& playedDigest();
