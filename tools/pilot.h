#pragma once
#include "rules/input.h"
#include "track/level.h"
#include "virtual_pad.h"

// A scripted driver for the tools that play the game headless (the README's screenshots, the
// committed replays): throttle, brake and steering as real key presses or joystick buttons,
// aimed at a place on the road a little way ahead.
enum Aim { AIM_MIDDLE, AIM_LEFT_EDGE, AIM_RIGHT_EDGE, AIM_TRAFFIC, AIM_X };

class Pilot
{
  public:
    bool joystick = false;     // buttons 0 (throttle), 2 and 6 (steering) instead of keys
    VirtualPad* pad = nullptr; // or a game controller: A for the throttle, the left stick to steer
    Aim aim = AIM_MIDDLE;
    int targetX = 0; // for AIM_X: where the car's left edge should be
    bool throttle = true;
    // How it drives: how far ahead it looks (rows above the car), how many pixels of
    // distance ask for one step of sideways speed, and the most sideways speed it asks for,
    // how much room it leaves when it passes the traffic car.
    int lookAhead = 40;
    int pixelsPerStep = 12;
    int maxLateral = 2;
    int passingGap = 14;

    // Presses and releases what this frame needs; the caller runs the frame.
    void steer(const TileList& tiles);
    void releaseAll();

  private:
    bool held[3] = {}; // throttle, left, right
    void set(int which, bool down);
};
