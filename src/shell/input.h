#pragma once

extern bool overlayToggleLatch;

void resetInputState();
// Drains the event queue, carries out the immediate actions and steers the player's car.
// Returns true when the player asked to quit.
bool pollInput();
