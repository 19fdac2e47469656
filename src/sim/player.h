#pragma once
#include "sim/car.h"
#include "shell/keys.h"
#include "shell/stopwatch.h"
#include "track/level.h"

struct SDL_Surface;

constexpr int PLAYER_MIN_ROW = 189;
constexpr int PLAYER_MAX_ROW = 201;

extern int crashTarget;
extern Stopwatch recoveryWatch;
extern bool skidLoopOn;
extern bool gravelLoopOn;
// Frame counters of the control step: controls act every 2nd frame, coasting every 15th,
// gravel recentring every 8th.
extern int controlTick;
extern int coastCounter;
extern int gravelRecentreCounter;

void resetPlayerState();
void steerPlayer(Car& car, const bool keys[], const bool buttons[]);
bool updateCar(Car& car, SDL_Surface* screen, const TileList& tiles, int trafficY);
void movePlayer(Car& car, SDL_Surface* screen, const TileList& tiles, int trafficY);
// Engine sample level for a speed magnitude: 1..20, standing and overspeed use level 1.
int engineSampleLevel(int engineLevel);
