#include "state/game.h"

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
int levelNumber = 1;
int levelTileCount = 96;
bool showDiagnostics = false;
bool frameCapOn = true;
int volumeBarAge = 50;

int playerTerrain = 0;
int diagTileRow = 0;
int diagTrafficSpeed = 0;
int probeX = 0;
int probeY = 0;
int diagLeftEdge = 0;
int diagRightEdge = 0;

void resetSharedVariables()
{
    gameState = STATE_ATTRACT;
    score = 0;
    highScore = 0;
    masterVolume = 10;
    timeLimit = 0;
    timeLeft = 0;
    gameClock = Stopwatch();
    penaltyWatch = Stopwatch();
    penaltyDue = false;
    distanceMark = 0;
    lastScoredMark = 0;
    runArmed = false;
    savedPlayerSpeed = 0;
    levelNumber = 1;
    levelTileCount = 96;
    showDiagnostics = false;
    frameCapOn = true;
    volumeBarAge = 50;
    playerTerrain = diagTileRow = diagTrafficSpeed = 0;
    probeX = probeY = diagLeftEdge = diagRightEdge = 0;
}

void visitGameVariables(StateVisitor& v)
{
    v(GROUP_STATE, gameState), v(GROUP_STATE, runArmed), v(GROUP_STATE, penaltyDue);
    v(GROUP_STATE, showDiagnostics), v(GROUP_STATE, volumeBarAge), v(GROUP_STATE, masterVolume);
    v(GROUP_STATE, savedPlayerSpeed);
    v(GROUP_SCORE, score), v(GROUP_SCORE, highScore), v(GROUP_SCORE, distanceMark);
    v(GROUP_SCORE, lastScoredMark), v(GROUP_SCORE, penaltyWatch);
    v(GROUP_TIME, timeLimit), v(GROUP_TIME, timeLeft), v(GROUP_TIME, gameClock);
    v(GROUP_NONE, playerTerrain), v(GROUP_NONE, diagTileRow), v(GROUP_NONE, diagTrafficSpeed);
    v(GROUP_NONE, probeX), v(GROUP_NONE, probeY), v(GROUP_NONE, diagLeftEdge);
    v(GROUP_NONE, diagRightEdge);
    v.require(gameState >= STATE_ATTRACT && gameState <= STATE_PAUSED, "the game state");
    v.require(masterVolume >= 0 && masterVolume <= 128, "the volume");
    v.require(volumeBarAge >= 0 && volumeBarAge <= 51, "the volume bar's age");
    // Two points a row, a row a frame at the most: the score of the longest session.
    constexpr int SCORE_LIMIT = 2 * SESSION_FRAMES;
    v.require(score >= 0 && score <= SCORE_LIMIT, "the score");
    v.require(highScore >= 0 && highScore <= SCORE_LIMIT, "the high score");
    // A distance mark is a row of the course.
    const int rows = levelTileCount / TILES_PER_ROW;
    v.require(distanceMark >= 0 && distanceMark <= rows && lastScoredMark >= 0 &&
                  lastScoredMark <= rows,
              "the distance mark");
    v.require(timeLimit >= 0 && timeLimit <= SESSION_FRAMES, "the time limit");
    v.require(timeLeft >= -SESSION_FRAMES && timeLeft <= SESSION_FRAMES, "the time left");
    v.require(savedPlayerSpeed >= -CAR_SPEED_LIMIT && savedPlayerSpeed <= 0,
              "the paused car's speed");
}
