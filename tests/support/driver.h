#pragma once
#include "shell/game.h"
#include "shell/input.h"
#include "track/level.h"

// Holds the arrow keys like a simple driver: throttle down, steering towards the middle of
// the road a little way ahead, and round the traffic car when it is in the way.
class SimpleDriver {
public:
    void drive(const TileList& tiles);

private:
    bool held[KEY_SLOTS] = {};
    void press(int key, bool down);
    void roadAhead(const TileList& tiles, int rowY, int& left, int& right);
};
