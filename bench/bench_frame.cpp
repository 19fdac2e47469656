// Measures the per-frame work of the game (update and drawing, without the pacing sleep)
// and the start-up load, on the real course and assets, headless.
//   bench_frame RESOURCES_DIR
#include "present/assets.h"
#include "shell/clock.h"
#include "shell/game.h"
#include "shell/startup.h"
#include "sim/car.h"
#include "sim/player.h"
#include <SDL.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {
double msSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void press(int sym, bool down)
{
    SDL_Event e = {};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    SDL_PushEvent(&e);
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || chdir(argv[1]) != 0 || chdir("..") != 0) {
        std::fprintf(stderr, "usage: bench_frame RESOURCES_DIR\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "disk", 0);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
    useVirtualClock(true);
    resetGameVariables();

    auto t0 = std::chrono::steady_clock::now();
    if (!initialise())
        return 1;
    TileList tiles;
    if (loadGame(tiles) != 0)
        return 1;
    const double startup = msSince(t0);

    FrameLoop loop;
    startFrameLoop(loop);
    frameCapOn = false;
    runFrame(loop, tiles);
    press(KEY_RETURN, true);
    press(KEY_RETURN, false);
    runFrame(loop, tiles);
    press(KEY_UP, true);

    std::vector<double> times;
    const int frames = 3000;
    for (int i = 0; i < frames; ++i) {
        auto f0 = std::chrono::steady_clock::now();
        runFrame(loop, tiles);
        times.push_back(msSince(f0));
        advanceVirtualTicks(19);
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    std::printf("start-up (libraries, fades, every asset, a course of %d tiles): %.1f ms\n",
                levelTileCount, startup);
    std::printf("frame work over %d frames: mean %.3f ms, median %.3f ms, 99th %.3f ms, max %.3f ms\n",
                frames, sum / frames, times[frames / 2], times[frames * 99 / 100], times.back());
    std::printf("budget per frame: 19 ms\n");
    return 0;
}
