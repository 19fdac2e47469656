#pragma once
#include "platform/keys.h"
#include "platform/state_visitor.h"
#include "sim/car.h"
#include "track/level.h"

struct SDL_Surface;

constexpr int PLAYER_MIN_ROW = 189;
constexpr int PLAYER_MAX_ROW = 201;

// The player's control step and its sounds.
struct PlayerControl {
    int crashTarget = -1;    // where a crash slides the car to, or -1
    bool skidLoopOn = false; // the skid and gravel loops are playing
    bool gravelLoopOn = false;
    // Frame counters: controls act every 2nd frame, coasting every 15th, gravel recentring
    // every 8th.
    int controlTick = 0;
    int coastCounter = 0;
    int gravelRecentreCounter = 0;
};
extern PlayerControl playerControl;

void resetPlayerState();
void visitPlayerState(StateVisitor& v);
void steerPlayer(Car& car, const bool keys[], const bool buttons[]);
bool updateCar(Car& car, const TileList& tiles, int trafficY);
// Where a crash slides the car to (its left side), from the road's right edge in its row.
int crashSlideTarget(int edge);
void movePlayer(Car& car, const TileList& tiles, int trafficY);
// Engine sample level for a speed magnitude: 1..20, standing and overspeed use level 1.
int engineSampleLevel(int engineLevel);
