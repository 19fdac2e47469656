#pragma once
#include "sim/car.h"

struct Mix_Chunk;

extern int checkpointCount;
extern int checkpointMessageAge;
extern int warnOpenFrames;
extern int warnFunnelFrames;
extern bool warnOpenSounded;
extern bool warnFunnelSounded;
extern Mix_Chunk* checkpointSound;

void resetContactState();
bool carsTouch(int trafficX, int trafficY, int playerX, int playerY);
bool startCrash(Car& car, int state);
// Carries out checkpoints and warning signs that the road drawing registered.
void processMarkers();
// Ages the "CHECKPOINT" message; true while it is showing.
void ageCheckpointMessage();
bool checkpointMessageShowing();
