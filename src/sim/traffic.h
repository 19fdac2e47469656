#pragma once
#include "sim/car.h"
#include "track/level.h"

struct SDL_Surface;

constexpr int TRAFFIC_MARGIN = 41;

extern int lastGoodTrafficX;
extern int laneCheckCounter;

void resetTrafficState();
void visitTrafficState(StateVisitor& v);
void updateTraffic(Car& car, const TileList& tiles, int playerSpeed, int playerState);
void adjustTrafficSpeed(Car& car, int playerSpeed);
void applyColour(Car& car, int colour);
// Places the traffic car as every run and every return to attract does.
void placeTrafficAtStart(Car& car);
