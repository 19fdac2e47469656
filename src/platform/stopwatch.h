#pragma once
#include <cstdint>

// A millisecond timer over the game clock that can be paused: the game clock freezes while
// the game is paused, and the penalty and crash-recovery delays are measured with it.
struct Stopwatch {
    uint32_t startTicks = 0;
    uint32_t pausedTicks = 0;
    bool paused = false;
    bool started = false;

    void start();
    void stop();
    void clear();
    void pause();
    void resume();
    int elapsed() const;
    bool isStarted() const { return started; }
    bool isPaused() const { return paused; }
};
