#include "rules/states.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/assets.h"
#include "rules/courses.h"
#include "rules/ghost.h"
#include "rules/input.h"
#include "rules/scoring.h"
#include "rules/view_step.h"
#include "save/settings.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "sim/road.h"
#include "sim/traffic.h"
#include "state/game.h"
#include "track/track.h"
#include <cstdlib>

namespace
{
int watchAsked = 0; // the table place whose run the player asked to watch
bool settingsAsked = false;
constexpr int COIN_WAIT_MS = 800;

void changeVolume(int step)
{
    game.volumeBarAge = 0;
    const int next = game.masterVolume + step;
    if (next < 0 || next > 128)
        return;
    game.masterVolume = next;
    soundVolume(game.masterVolume);
}

void runTraffic(const TileList& tiles)
{
    updateTraffic(trafficCar, tiles, getSpeed(playerCar), getState(playerCar));
}

bool playingFrame(TileList& tiles)
{
    if (game.gameClock.isPaused()) { // first frame after a pause
        game.gameClock.resume();
        setSpeed(playerCar, game.savedPlayerSpeed);
        soundResume(-1);
    }
    const bool quit = takeInput();
    updateCar(playerCar, tiles, getY(trafficCar));
    runTraffic(tiles);
    roadReadings.diagTileRow = getScreenY(playerCar);

    if (carsTouch(getX(trafficCar), getY(trafficCar), getX(playerCar), getScreenY(playerCar))) {
        startCrash(playerCar, game.gameState);
        game.penaltyWatch.start();
    }
    scoreFrame();
    return quit;
}
} // namespace

bool updateFrame(TileList& tiles)
{
    bool quit = false;
    switch (game.gameState) {
    case STATE_PLAYING:
        quit = playingFrame(tiles);
        break;
    case STATE_ATTRACT:
        quit = takeInput();
        if (game.gameState == STATE_ATTRACT)
            applyCourseStep(tiles);
        else
            stepCourse(0); // a start press in the same frame: the run is on the course shown
        setUpRun(false);
        runTraffic(tiles);
        break;
    case STATE_TIME_UP:
        quit = takeInput();
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
        quit = takeInput();
        game.gameClock.pause();
        break;
    default:
        break;
    }
    return quit;
}

int takeWatchRequest()
{
    const int place = game.gameState == STATE_ATTRACT ? watchAsked : 0;
    watchAsked = 0;
    return place;
}

bool takeSettingsRequest()
{
    const bool asked = settingsAsked && game.gameState == STATE_ATTRACT;
    settingsAsked = false;
    return asked;
}

bool takeInput()
{
    // Commands kept from frame to frame: their list keeps its storage.
    static FrameCommands commands;
    readInput(commands);
    for (const InputAction action : commands.actions) {
        if (action == ACTION_START_PAUSE)
            pressStartPause();
        else if (action == ACTION_FULL_SCREEN)
            toggleFullScreen();
        else if (game.gameState != STATE_ATTRACT) // the rest is for between runs only
            continue;
        else if (action == ACTION_GHOST)
            switchGhost();
        else if (action == ACTION_SETTINGS)
            settingsAsked = true;
        else if (action == ACTION_WATCH)
            watchAsked = framePicture.tablePageShown ? commands.watchPlace : watchAsked;
        else
            stepCourse(action == ACTION_COURSE_BACK ? -1 : 1);
    }
    if (game.gameState == STATE_TIME_UP) {
        // Out of time: the driving inputs are held released so the car rolls to a stop.
        for (int key : {KEY_UP, KEY_DOWN, KEY_RIGHT, KEY_LEFT})
            inputLatches.keyHeld[key] = false;
        for (int button : {BUTTON_UP, BUTTON_LEFT, BUTTON_DOWN, BUTTON_RIGHT, BUTTON_ACCELERATE})
            inputLatches.buttonHeld[button] = false;
        steerPlayer(playerCar, inputLatches.keyHeld, inputLatches.buttonHeld);
    } else if (game.gameState == STATE_PLAYING) {
        steerPlayer(playerCar, inputLatches.keyHeld, inputLatches.buttonHeld);
    }
    if (commands.volumeUp)
        changeVolume(+1);
    if (commands.volumeDown)
        changeVolume(-1);
    if (commands.overlayToggle)
        game.showDiagnostics = !game.showDiagnostics;
    return commands.quit;
}

void setUpRun(bool newGame)
{
    if (newGame) {
        resetMarkers();
        game.runArmed = false;
        game.lastScoredMark = 0;
        game.score = 0;
        markerCounters.warnOpenFrames = markerCounters.warnFunnelFrames = 0;
        markerCounters.warnOpenSounded = markerCounters.warnFunnelSounded = false;
        soundPlay(-1, coinSound, 0);
        delayMs(COIN_WAIT_MS);
        game.gameClock.start();
        setX(playerCar, 227);
        soundPlay(1, idleEngineSound, -1);
        game.gameState = STATE_PLAYING;
    }
    if (!game.runArmed) {
        if (game.gameState == STATE_PLAYING) {
            game.gameClock.start();
            placeTrafficAtStart(trafficCar);
        } else {
            // Back to waiting for a coin.
            resetMarkers();
            game.gameClock.stop();
            game.gameClock.clear();
            game.timeLimit = RUN_SECONDS;
            placeTrafficAtStart(trafficCar);
            game.gameState = STATE_ATTRACT;
            soundHalt(-1);
            trackView.scrollY = 0;
        }
    }
    game.runArmed = true;
}

void disarmRun()
{
    game.runArmed = false;
}

void pressStartPause()
{
    switch (game.gameState) {
    case STATE_ATTRACT:
        // A press queued during the fade-in reaches the first attract frame before that
        // frame's set-up: prepare attract (the 60 s limit among it) before the new game.
        if (!game.runArmed)
            setUpRun(false);
        setUpRun(true);
        break;
    case STATE_PLAYING:
        game.gameState = STATE_PAUSED;
        break;
    case STATE_PAUSED:
        game.savedPlayerSpeed = getSpeed(playerCar);
        setSpeed(playerCar, 0);
        soundPause(-1);
        // A second press in the same frame must still find the clock paused, so the next
        // playing frame restores the speed and the sound.
        game.gameClock.pause();
        game.gameState = STATE_PLAYING;
        break;
    default:
        break;
    }
}
