#include "shell/window.h"
#include "shell/game.h"
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

void chooseWindowScaling(int scale)
{
    if (scale >= 1 && scale <= 8)
        setenv("SDL12COMPAT_WINDOW_SCALING", std::to_string(scale).c_str(), 1);
    else
        setenv("SDL12COMPAT_WINDOW_SCALING", "3", 0);
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
}

bool fellBackOffScreen()
{
    if (std::getenv("SDL_VIDEODRIVER"))
        return false; // the player asked for this driver
    char name[32] = "";
    SDL_VideoDriverName(name, sizeof name);
    return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0;
}

bool openWindow(bool fullScreen)
{
    SDL_ShowCursor(0);
    // With no display SDL would quietly draw into memory, leaving the player with nothing
    // on screen and a game waiting for a key that can never come.
    if (!fellBackOffScreen())
        screen =
            SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, 16,
                             SDL_HWSURFACE | SDL_DOUBLEBUF | (fullScreen ? SDL_FULLSCREEN : 0));
    if (!screen) {
        std::printf("SDL_SetVideoMode screen not initialised.\n");
        std::fflush(stdout);
        return false;
    }
    SDL_ShowCursor(0);
    SDL_WM_SetCaption(WINDOW_CAPTION, nullptr);
    return true;
}

namespace
{
bool fullScreenLocked = false;
}

void lockFullScreen(bool locked)
{
    fullScreenLocked = locked;
}

void toggleFullScreen()
{
    if (screen && !fullScreenLocked)
        SDL_WM_ToggleFullScreen(screen);
}
