#pragma once
#include "track/level.h"

bool updateFrame(TileList& tiles);
// A frame's input read and acted on: the presses in their order (start and pause, a course
// step in attract, full screen), the car steered, the volume and the overlay. True when the
// player asked to quit.
bool takeInput();
bool setUpRun(bool newGame);
void disarmRun();
void pressStartPause();
