#pragma once
#include "sim/car.h"
#include "track/track.h"

struct Mix_Chunk;

// The step 0..4 of the crash spin that the drawing shows next, shared by both cars and never
// reset when a crash ends.
extern int crashFrameStep;
extern int checkpointCount;
extern int checkpointMessageAge;
extern int warnOpenFrames;
extern int warnFunnelFrames;
extern bool warnOpenSounded;
extern bool warnFunnelSounded;
extern Mix_Chunk* checkpointSound;
extern Mix_Chunk* signalSound;
// The warning signs the last marker pass showed (their marker codes), in the order it showed
// them: the drawing puts each one's picture at the top of the road.
extern int signsShown[MARKER_SLOTS];
extern int signsShownCount;

void resetContactState();
void visitContactState(StateVisitor& v);
bool carsTouch(int trafficX, int trafficY, int playerX, int playerY);
bool startCrash(Car& car, int state);
// The way out of a crash, tried at every control step while crashed: once the recovery watch
// has run 1.3 s and the car stands still, it drives again with its engine.
void recoverFromCrash(Car& car);
// Carries out checkpoints and warning signs that the road drawing registered; draws nothing.
void processMarkers();
// Ages the "CHECKPOINT" message; true while it is showing.
void ageCheckpointMessage();
bool checkpointMessageShowing();
