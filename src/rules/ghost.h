#pragma once
#include "state/game.h"
#include <cstdint>
#include <vector>

// Where a run's car was in each of its frames from the start press on (paused frames left
// out), and the frame in which it passed each checkpoint: what a later run races as its ghost.
struct TrailPoint {
    int16_t x = 0;
    int16_t screenY = 0;
    int32_t progress = 0; // pixels of road driven since the start press (less any backed)
};
struct RunTrail {
    std::vector<TrailPoint> points;
    std::vector<uint32_t> checkpointFrames; // a point's index, in order
    int32_t finalScore = 0;
    bool operator==(const RunTrail& o) const;
};
// The most a frame can carry the car forward, and where a car can be: a trail outside them was
// not driven by this game.
constexpr int TRAIL_MAX_STEP = CAR_SPEED_LIMIT;
constexpr int TRAIL_MIN_X = -100, TRAIL_MAX_X = 400;
constexpr int TRAIL_MIN_Y = -100, TRAIL_MAX_Y = 340;
constexpr uint32_t TRAIL_MAX_CHECKPOINTS = 4096;
// Why a trail could not have been driven, or "" when it could.
const char* trailFault(const RunTrail& trail);

// The race against a ghost: the run raced (none when it has no points), this run's own trail
// as it grows, and what the splits show. None of it is part of the game's state: a run plays
// the same with or without a ghost.
struct GhostRace {
    RunTrail ghost;
    uint32_t ghostId = 0;   // the raced run's file checksum (0: none)
    bool switchedOn = true; // the player's switch (G, a pad's X, in attract)
    RunTrail live;
    bool running = false; // a run is under way and its trail growing
    int splitFrames = 0;  // how long the split at the last checkpoint shows yet
    int splitHundredths = 0;
    bool scoreShown = false; // the run has ended: the score's difference shows
};
extern GhostRace ghostRace;

// The run to race from the next start press on, and its file's checksum; an empty trail races
// none.
void raceGhost(const RunTrail& trail, uint32_t id);
// G in attract: the ghost off (none raced), or on again (the program finds it one), and the
// switch remembered.
void switchGhost();
// Back to no ghost and no trail.
void resetGhostRace();
// A frame's step, after the view's: the run's trail grows by where the player's car is (the
// first frame of a run starts it), the split at a checkpoint passed in this frame
// (`checkpointPassed`) is worked out, and the score's difference once the run ends.
void stepGhost(bool checkpointPassed);

// What the ghost shows in this frame (framePicture.ghost): its car where it is in the play
// field, or a marker at the field's top or bottom edge with how far it is, and the split.
void showGhost();
