#include "state/game.h"

GameVariables game;

void resetSharedVariables()
{
    game = GameVariables();
}

void visitGameVariables(StateVisitor& v)
{
    v(GROUP_STATE, game.gameState), v(GROUP_STATE, game.runArmed), v(GROUP_STATE, game.penaltyDue);
    v(GROUP_STATE, game.showDiagnostics), v(GROUP_STATE, game.volumeBarAge),
        v(GROUP_STATE, game.masterVolume);
    v(GROUP_STATE, game.savedPlayerSpeed);
    v(GROUP_SCORE, game.score), v(GROUP_SCORE, game.highScore), v(GROUP_SCORE, game.distanceMark);
    v(GROUP_SCORE, game.lastScoredMark), v(GROUP_SCORE, game.penaltyWatch);
    v(GROUP_TIME, game.timeLimit), v(GROUP_TIME, game.timeLeft), v(GROUP_TIME, game.gameClock);
    v.require(game.gameState >= STATE_ATTRACT && game.gameState <= STATE_PAUSED, "the game state");
    v.require(game.masterVolume >= 0 && game.masterVolume <= 128, "the volume");
    v.require(game.volumeBarAge >= 0 && game.volumeBarAge <= 51, "the volume bar's age");
    // Two points a row, a row a frame at the most: the score of the longest session.
    constexpr int SCORE_LIMIT = 2 * SESSION_FRAMES;
    v.require(game.score >= 0 && game.score <= SCORE_LIMIT, "the score");
    v.require(game.highScore >= 0 && game.highScore <= SCORE_LIMIT, "the high score");
    // A distance mark is a row of the course.
    const int rows = game.levelTileCount / TILES_PER_ROW;
    v.require(game.distanceMark >= 0 && game.distanceMark <= rows && game.lastScoredMark >= 0 &&
                  game.lastScoredMark <= rows,
              "the distance mark");
    v.require(game.timeLimit >= 0 && game.timeLimit <= SESSION_FRAMES, "the time limit");
    v.require(game.timeLeft >= -SESSION_FRAMES && game.timeLeft <= SESSION_FRAMES, "the time left");
    v.require(game.savedPlayerSpeed >= -CAR_SPEED_LIMIT && game.savedPlayerSpeed <= 0,
              "the paused car's speed");
}
