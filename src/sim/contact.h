#pragma once
#include "platform/stopwatch.h"
#include "sim/car.h"

struct CrashSpin {
    // The step 0..4 of the crash spin that the drawing shows next, shared by both cars and
    // never reset when a crash ends.
    int crashFrameStep = 0;
    Stopwatch recoveryWatch; // how long the crashed car has been down
};
extern CrashSpin crashSpin;

void resetContactState();
void visitContactState(StateVisitor& v);
bool carsTouch(int trafficX, int trafficY, int playerX, int playerY);
bool startCrash(Car& car, int state);
// The way out of a crash, tried at every control step while crashed: once the recovery watch
// has run 1.3 s and the car stands still, it drives again with its engine.
void recoverFromCrash(Car& car);
