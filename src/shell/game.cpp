#include "shell/game.h"
#include "present/render.h"
#include "present/sound.h"
#include "shell/clock.h"
#include "shell/input.h"
#include "shell/intro.h"
#include "shell/loop.h"
#include "shell/settings.h"
#include "shell/states.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/player.h"
#include "sim/traffic.h"
#include "track/track.h"
#include <cstring>

SDL_Surface* screen = nullptr;
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
bool keyHeld[KEY_SLOTS];
bool buttonHeld[BUTTON_SLOTS];

int playerTerrain = 0;
int diagTileRow = 0;
int diagTrafficSpeed = 0;
int diagFirstTile = 0;
int diagScroll = 0;
int probeX = 0;
int probeY = 0;
int diagLeftEdge = 0;
int diagRightEdge = 0;

void resetGameVariables()
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
    std::memset(keyHeld, 0, sizeof keyHeld);
    std::memset(buttonHeld, 0, sizeof buttonHeld);
    playerTerrain = diagTileRow = diagTrafficSpeed = diagFirstTile = diagScroll = 0;
    probeX = probeY = diagLeftEdge = diagRightEdge = 0;

    resetSettingsState();
    resetInputState();
    resetRunState();
    resetCars();
    resetPlayerState();
    resetTrafficState();
    resetContactState();
    resetTrackState();
    resetRenderState();
    resetSoundState();
    resetIntroState();
    clearClockHooks();
    clearFrameHooks();
}
