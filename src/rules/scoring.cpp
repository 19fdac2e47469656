#include "rules/scoring.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "sim/car.h"
#include "state/game.h"
#include "track/course.h"
#include "track/track.h"
#include <algorithm>
#include <cstdlib>

namespace
{
constexpr int CONTACT_PENALTY = 100;
}

void setHighScore(int value)
{
    game.highScore = value;
    if (courseList.chosen == 0)
        settingsFile.settings.highScore = value;
}

void showChosenCourseBest()
{
    const Course* course = chosenCourse();
    if (courseList.chosen == 0)
        game.highScore = settingsFile.settings.highScore;
    else
        game.highScore = course ? tableBest(course->name) : 0;
}

void raiseHighScoreToTable()
{
    const Course* course = chosenCourse();
    if (course)
        setHighScore(std::max(game.highScore, tableBest(course->name)));
}

void addCheckpointTime(int seconds)
{
    game.timeLimit += seconds;
}

void scoreFrame()
{
    if (game.penaltyWatch.elapsed() > 1499)
        game.penaltyDue = true;
    if (game.penaltyDue) {
        game.penaltyDue = false;
        if (game.score > 99) {
            if (game.score == game.highScore)
                setHighScore(game.score - CONTACT_PENALTY);
            game.score -= CONTACT_PENALTY;
        }
        game.penaltyWatch.stop();
        game.penaltyWatch.clear();
    }
    if (getSpeed(playerCar) != 0 && !game.penaltyWatch.isStarted()) {
        game.distanceMark = std::abs(trackView.scrollY) / TILE_HEIGHT;
        if (game.distanceMark > 0 && game.distanceMark != game.lastScoredMark) {
            game.score += 2;
            game.lastScoredMark = game.distanceMark;
        }
    }
    game.timeLeft = game.timeLimit - game.gameClock.elapsed() / 1000;
    if (game.timeLeft <= 0 && game.runArmed)
        game.gameState = STATE_TIME_UP;
    if (game.score >= game.highScore)
        setHighScore(game.score);
}
