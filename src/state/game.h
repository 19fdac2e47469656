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

// The game's process-wide variables: one instance each, shared by every module.
extern int gameState;
extern int score;
extern int highScore;
extern int masterVolume;
extern int timeLimit;
extern int timeLeft;
extern Stopwatch gameClock;
extern Stopwatch penaltyWatch;
extern bool penaltyDue;
extern int distanceMark;
extern int lastScoredMark;
extern bool runArmed;
extern int savedPlayerSpeed;
extern int levelNumber;
extern int levelTileCount;
extern bool showDiagnostics;
extern bool frameCapOn;
extern int volumeBarAge;

// Values the track and cars leave behind for the diagnostics overlay.
extern int playerTerrain;
extern int diagTileRow;
extern int diagTrafficSpeed;
extern int probeX;
extern int probeY;
extern int diagLeftEdge;
extern int diagRightEdge;

// Back to the start-up values of the variables above.
void resetSharedVariables();
// Hands the variables above to the visitor (a replay's snapshot, its digests).
void visitGameVariables(StateVisitor& v);
