#pragma once

struct SDL_Surface;

// The intro screens: the picture with its "loading." text that the loaders advance between
// their steps, the fades, and the ready banner with its wait for a press.
struct IntroScreen {
    SDL_Surface* introImage = nullptr;
    int loadingStep = 0;
    // Intro screens drawn since start-up: each is one step of the loading animation.
    int introScreensDrawn = 0;
};
extern IntroScreen intro;

void drawIntroScreen();
const char* nextLoadingText();
void drawIntroTitle();
void fadeToWhite();
void fadeToBlack();
void waitForAnyPress();
// The ready banner, drawn and shown.
void drawReadyBanner();
// Ready banner, wait, fade: the frame loop may start after this.
void showReadyBanner();
void resetIntroState();
