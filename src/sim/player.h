#pragma once
#include "platform/keys.h"
#include "platform/state_visitor.h"
#include "sim/car.h"
#include "track/level.h"

struct SDL_Surface;

constexpr int PLAYER_MIN_ROW = 189;
constexpr int PLAYER_MAX_ROW = 201;

// The skid and gravel loops are playing.
extern bool skidLoopOn;
extern bool gravelLoopOn;

void resetPlayerState();
void visitPlayerState(StateVisitor& v);
void steerPlayer(Car& car, const bool keys[], const bool buttons[]);
bool updateCar(Car& car, const TileList& tiles, int trafficY);
void movePlayer(Car& car, const TileList& tiles, int trafficY);
// Engine sample level for a speed magnitude: 1..20, standing and overspeed use level 1.
int engineSampleLevel(int engineLevel);
