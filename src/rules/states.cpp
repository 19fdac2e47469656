#include "rules/states.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "present/assets.h"
#include "rules/input.h"
#include "rules/scoring.h"
#include "rules/settings.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "sim/traffic.h"
#include "state/game.h"
#include "track/track.h"
#include <cstdlib>

namespace
{
constexpr int COIN_WAIT_MS = 800;
constexpr int RUN_SECONDS = 60;

void runTraffic(const TileList& tiles)
{
    updateTraffic(trafficCar, tiles, getSpeed(playerCar), getState(playerCar));
}

bool playingFrame(TileList& tiles)
{
    if (gameClock.isPaused()) { // first frame after a pause
        gameClock.resume();
        setSpeed(playerCar, savedPlayerSpeed);
        soundResume(-1);
    }
    const bool quit = pollInput();
    updateCar(playerCar, tiles, getY(trafficCar));
    runTraffic(tiles);
    diagTileRow = getScreenY(playerCar);

    if (carsTouch(getX(trafficCar), getY(trafficCar), getX(playerCar), getScreenY(playerCar))) {
        startCrash(playerCar, gameState);
        penaltyWatch.start();
    }
    scoreFrame();
    return quit;
}
} // namespace

bool updateFrame(TileList& tiles)
{
    bool quit = false;
    switch (gameState) {
    case STATE_PLAYING:
        quit = playingFrame(tiles);
        break;
    case STATE_ATTRACT:
        quit = pollInput();
        setUpRun(false);
        runTraffic(tiles);
        break;
    case STATE_TIME_UP:
        quit = pollInput();
        updateCar(playerCar, tiles, getY(trafficCar));
        runTraffic(tiles);
        if (getSpeed(playerCar) == 0) {
            disarmRun();
            setUpRun(false);
            // The run is over: its high score goes to disk now, not only at shutdown.
            saveCurrentSettings();
        }
        break;
    case STATE_PAUSED:
        quit = pollInput();
        gameClock.pause();
        break;
    default:
        break;
    }
    return quit;
}

bool setUpRun(bool newGame)
{
    if (newGame) {
        resetMarkers();
        runArmed = false;
        lastScoredMark = 0;
        score = 0;
        warnOpenFrames = warnFunnelFrames = 0;
        warnOpenSounded = warnFunnelSounded = false;
        soundPlay(-1, coinSound, 0);
        delayMs(COIN_WAIT_MS);
        gameClock.start();
        setX(playerCar, 227);
        soundPlay(1, idleEngineSound, -1);
        gameState = STATE_PLAYING;
    }
    if (!runArmed) {
        if (gameState == STATE_PLAYING) {
            gameClock.start();
            placeTrafficAtStart(trafficCar);
        } else {
            // Back to waiting for a coin.
            resetMarkers();
            gameClock.stop();
            gameClock.clear();
            timeLimit = RUN_SECONDS;
            placeTrafficAtStart(trafficCar);
            gameState = STATE_ATTRACT;
            soundHalt(-1);
            scrollY = 0;
        }
    }
    runArmed = true;
    return true;
}

void disarmRun()
{
    runArmed = false;
}

void pressStartPause()
{
    switch (gameState) {
    case STATE_ATTRACT:
        // A press queued during the fade-in reaches the first attract frame before that
        // frame's set-up: prepare attract (the 60 s limit among it) before the new game.
        if (!runArmed)
            setUpRun(false);
        setUpRun(true);
        break;
    case STATE_PLAYING:
        gameState = STATE_PAUSED;
        break;
    case STATE_PAUSED:
        savedPlayerSpeed = getSpeed(playerCar);
        setSpeed(playerCar, 0);
        soundPause(-1);
        // A second press in the same frame must still find the clock paused, so the next
        // playing frame restores the speed and the sound.
        gameClock.pause();
        gameState = STATE_PLAYING;
        break;
    default:
        break;
    }
}
