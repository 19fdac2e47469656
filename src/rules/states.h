#pragma once
#include "track/level.h"

void resetRunState();
bool updateFrame(TileList& tiles);
bool setUpRun(bool newGame);
void disarmRun();
void pressStartPause();
