#pragma once
#include "track/level.h"

bool updateFrame(TileList& tiles);
// A frame's input read and acted on: the presses in their order (start and pause, a course
// step in attract, full screen), the car steered, the volume and the overlay. True when the
// player asked to quit.
bool takeInput();
// The place (1 to 10) of the chosen course's table whose run the player asked to watch (a digit
// while attract shows the table), or 0; asked once.
int takeWatchRequest();
// Whether the player asked for the settings screen (S, a pad's Guide, in attract); asked once.
bool takeSettingsRequest();
// A new run (a start press in attract: the coin, its wait, the car at the start), or, with
// false, the game made ready for the next: back to attract unless a run is under way.
void setUpRun(bool newGame);
void disarmRun();
void pressStartPause();
