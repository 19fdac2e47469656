#pragma once

// The game's window: its size, full screen, and whether there is a display at all.

struct SDL_Surface;

constexpr int SCREEN_WIDTH = 320;
constexpr int SCREEN_HEIGHT = 240;
// The 320x240 16-bit screen the game draws on, while the window is open.
extern SDL_Surface* screen;

// Asks for a window `scale` times the size (1..8), else three times unless the player chose
// with SDL12COMPAT_WINDOW_SCALING; drawn with sharp pixels.
void chooseWindowScaling(int scale);
constexpr int DEFAULT_WINDOW_SCALE = 3;
// True when SDL, left to choose, found no display and picked a driver that shows nothing.
bool fellBackOffScreen();
// Opens the 320x240 16-bit window with its caption; false (and the one message) when there
// is no screen to draw on.
bool openWindow(bool fullScreen);
// F11: full screen on or off where the desktop can give it. The screen is cleared either way.
void toggleFullScreen();
bool isFullScreen();
// The window made `scale` times the screen at once (1..8; 0 the game's own choice), full screen
// left as it is.
void setWindowScale(int scale);
// While locked (a replay being watched: the window is the viewer's), F11 presses leave the
// window as it is.
void lockFullScreen(bool locked);
// Shows the finished frame in the window. Off for a check nobody watches: its digests read
// the game's own screen, and showing it would be most of the work (the intro's fades and
// loading redraws are skipped then too).
void presentScreen();
void showFrames(bool on);
bool framesShown();
