#pragma once
#include "platform/state_visitor.h"
#include "platform/stopwatch.h"
#include "platform/window.h"
#include "version.h"
#include <cstdint>

enum GameState { STATE_ATTRACT = 0, STATE_PLAYING = 1, STATE_TIME_UP = 2, STATE_PAUSED = 3 };

constexpr const char* VERSION_TEXT = QUINDARA_VERSION_TEXT;
// Tiles to a row of the course (the track's width follows from it), and the fastest any car
// goes (pixels a frame, forward or back).
constexpr int TILES_PER_ROW = 8;
constexpr int CAR_SPEED_LIMIT = 40;
// A run's time: what it starts with, and what each checkpoint adds (seconds).
constexpr int RUN_SECONDS = 60;
constexpr int CHECKPOINT_SECONDS = 30;
// The side panel covers the screen from here to its right edge: the road is played left of it.
constexpr int PANEL_X = 269;

// The game's process-wide variables, with their start-up values: one instance, shared by every
// room above.
struct GameVariables {
    int gameState = STATE_ATTRACT;
    int score = 0;
    int highScore = 0;
    int masterVolume = 10;
    int timeLimit = 0;
    int timeLeft = 0;
    Stopwatch gameClock;
    Stopwatch penaltyWatch;
    bool penaltyDue = false;
    int distanceMark = 0;
    int lastScoredMark = 0;
    bool runArmed = false;
    int savedPlayerSpeed = 0;
    int levelTileCount = 96;
    bool showDiagnostics = false;
    bool frameCapOn = true;
    int volumeBarAge = 50;
};
extern GameVariables game;

// A run is under way: played, paused, or rolling to a stop once its time is up.
inline bool inRun(const GameVariables& g)
{
    return g.gameState == STATE_PLAYING || g.gameState == STATE_TIME_UP ||
           g.gameState == STATE_PAUSED;
}

// Back to the start-up values of the variables above.
void resetSharedVariables();
// Hands the variables above to the visitor (a replay's snapshot, its digests).
void visitGameVariables(StateVisitor& v);
