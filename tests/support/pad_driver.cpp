// Loaded into the real game with LD_PRELOAD, this drives a virtual pad that SDL2 sees, from
// lines a test appends to a file, so that a whole run can be played on a pad in the real
// executable with no pad at hand:
//   QUINDARA_TEST_PAD=wheel       a 20-button wheel (no game controller) attached before the
//                                 game starts SDL: joystick 0 with its raw button numbers
//   QUINDARA_TEST_PAD=controller  a game controller, attached by the line "plug" (a pad
//                                 plugged in while the game runs)
//   QUINDARA_TEST_PAD_LINES=FILE  the lines: "plug", "button N 0|1", "axis N VALUE"
// One line is taken each time the game has emptied SDL's queue, on the game's own thread: a
// frame sees each change, as it would see a player's press and release.
#include "virtual_pad.h"
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <memory>
#include <string>

namespace
{
std::unique_ptr<VirtualPad> pad;
long readUpTo = 0;

void obey(const std::string& line)
{
    int index = 0, value = 0;
    if (line == "plug" && !pad)
        pad = std::make_unique<VirtualPad>(VirtualPad::GAME_CONTROLLER);
    else if (pad && std::sscanf(line.c_str(), "button %d %d", &index, &value) == 2)
        pad->button(index, value != 0);
    else if (pad && std::sscanf(line.c_str(), "axis %d %d", &index, &value) == 2)
        pad->axis(index, value);
}

// The next whole line added to the file, if there is one.
void takeNextLine()
{
    const char* path = std::getenv("QUINDARA_TEST_PAD_LINES");
    FILE* file = path ? std::fopen(path, "r") : nullptr;
    if (!file)
        return;
    std::fseek(file, readUpTo, SEEK_SET);
    char line[128];
    if (std::fgets(line, sizeof line, file) && std::strchr(line, '\n')) {
        readUpTo = std::ftell(file);
        obey(std::string(line, std::strcspn(line, "\n")));
    }
    std::fclose(file);
}

__attribute__((constructor)) void attachWheel()
{
    const char* kind = std::getenv("QUINDARA_TEST_PAD");
    if (kind && std::strcmp(kind, "wheel") == 0)
        pad = std::make_unique<VirtualPad>(VirtualPad::WHEEL);
}
} // namespace

extern "C" int SDL_PollEvent(SDL_Event* event)
{
    static auto poll = reinterpret_cast<int (*)(SDL_Event*)>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
    const int got = poll(event);
    if (!got)
        takeNextLine();
    return got;
}
