#pragma once
#include "track/level.h"

bool updateFrame(TileList& tiles);
bool setUpRun(bool newGame);
void disarmRun();
void pressStartPause();
