#include "rules/scoring.h"
#include "sim/car.h"
#include "state/game.h"
#include "track/track.h"
#include <cstdlib>

namespace
{
constexpr int CONTACT_PENALTY = 100;
}

void scoreFrame()
{
    if (penaltyWatch.elapsed() > 1499)
        penaltyDue = true;
    if (penaltyDue) {
        penaltyDue = false;
        if (score > 99) {
            if (score == highScore)
                highScore = score - CONTACT_PENALTY;
            score -= CONTACT_PENALTY;
        }
        penaltyWatch.stop();
        penaltyWatch.clear();
    }
    if (getSpeed(playerCar) != 0 && !penaltyWatch.isStarted()) {
        distanceMark = std::abs(scrollY) / TILE_HEIGHT;
        if (distanceMark > 0 && distanceMark != lastScoredMark) {
            score += 2;
            lastScoredMark = distanceMark;
        }
    }
    timeLeft = timeLimit - gameClock.elapsed() / 1000;
    if (timeLeft <= 0 && runArmed)
        gameState = STATE_TIME_UP;
    if (score >= highScore)
        highScore = score;
}
