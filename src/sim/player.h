#pragma once
#include "sim/car.h"
#include "shell/stopwatch.h"
#include "track/level.h"

struct SDL_Surface;

// SDL 1.2 key symbols read by the control step.
constexpr int KEY_CLEAR = 12;
constexpr int KEY_RETURN = 13;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_F = 102;
constexpr int KEY_P = 112;
constexpr int KEY_Q = 113;
constexpr int KEY_W = 119;
constexpr int KEY_UP = 273;
constexpr int KEY_DOWN = 274;
constexpr int KEY_RIGHT = 275;
constexpr int KEY_LEFT = 276;
constexpr int KEY_F11 = 292;
constexpr int KEY_LSHIFT = 304;

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
