#pragma once
#include "shell/options.h"
#include "shell/stopwatch.h"
#include "track/level.h"
#include <cstdint>
#include <string>

extern SDL_Surface* introImage;
extern int loadingStep;
// Intro screens drawn since start-up: each is one step of the loading animation.
extern int introScreensDrawn;

// Everything the frame loop keeps between frames.
struct FrameLoop {
    Stopwatch frameWatch;
    Stopwatch fpsIntervalWatch;
    Stopwatch runWatch;
    int64_t framesCounted = 0;
    float fpsEstimate = 0.0f;
};

// Exit statuses of the program.
constexpr int EXIT_NO_LEVEL = 1;
constexpr int EXIT_NO_SCREEN = 2;
constexpr int EXIT_REPLAY_DIFFERS = 3;

void drawIntroScreen();
const char* nextLoadingText();
void drawIntroTitle();
void fadeToWhite();
void fadeToBlack();
void waitForAnyPress();

// The folder whose _resources the game plays from: the program's own, or for an installed
// package its data folder.
std::string dataFolderFor(const std::string& programFolder);
// Makes that folder the working directory, so "_resources/..." is found whatever folder the
// game was started from.
void enterProgramFolder();
// Asks for a window `scale` times the size (1..8), else three times unless the player chose
// with SDL12COMPAT_WINDOW_SCALING; drawn with sharp pixels.
void chooseWindowScaling(int scale);
// True when SDL, left to choose, found no display and picked a driver that shows nothing.
bool fellBackOffScreen();
void toggleFullScreen();
bool isInstalledCopy();

bool initialise(bool fullScreen = false, bool withSound = true);
// Start-up after the libraries are up: level, assets, ready banner with the stored settings.
// Returns 0, or the exit status when the game cannot go on.
int loadGame(TileList& tiles);
// The ready banner, drawn and shown, with the stored settings read.
void drawReadyBanner();
// Ready banner, wait, fade: the frame loop may start after this.
void showReadyBanner();
void startFrameLoop(FrameLoop& loop);
// One pass of the frame loop. True when the player asked to quit (the frame is then
// neither counted nor drawn).
bool runFrame(FrameLoop& loop, TileList& tiles);
// How long to sleep after a frame whose work took `elapsedMs`.
int frameSleepMs(int elapsedMs, bool capOn);
// Halts the sound, saves the settings (unless `save` is false), fades out and releases
// everything.
void shutdown(TileList& tiles, bool save = true);
// The whole program: returns the exit status.
int runGame(const Options& options);
