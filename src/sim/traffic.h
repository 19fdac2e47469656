#pragma once
#include "sim/car.h"
#include "track/level.h"

struct SDL_Surface;

constexpr int TRAFFIC_MARGIN = 41;

// The traffic car's lane keeping: the last place it was on the road, and the frames to its
// next look at the lane.
struct TrafficLane {
    int lastGoodTrafficX = 0;
    int laneCheckCounter = 0;
};
extern TrafficLane trafficLane;

void resetTrafficState();
void visitTrafficState(StateVisitor& v);
void updateTraffic(Car& car, const TileList& tiles, int playerSpeed, int playerState);
void adjustTrafficSpeed(Car& car, int playerSpeed);
void applyColour(Car& car, int colour);
// Places the traffic car as every run and every return to attract does.
void placeTrafficAtStart(Car& car);
