#include "support/stage.h"
#include "app/session.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "present/assets.h"
#include "present/intro.h"
#include "rules/courses.h"
#include "rules/game_state.h"
#include "rules/input.h"
#include "rules/loop.h"
#include "state/game.h"
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <type_traits>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// Headless: the dummy video driver and the disk audio driver (never SDL's dummy audio
// driver, which corrupts the heap with the game's 3096-byte buffer). A test that wants to
// hear the mix sets SDL_DISKAUDIOFILE itself.
struct HeadlessDrivers {
    HeadlessDrivers()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
        // A window without the keyboard's focus (there is no display) still hears its pads.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    }
} headlessDrivers;
} // namespace

Finished runStagedGame(const StagedResources& stage, const std::string& env,
                       const std::string& args, int signal)
{
    const std::string exe = stage.dir() + "/quindara", err = stage.dir() + "/stderr";
    if (!fs::exists(exe))
        fs::copy_file(gameExecutable(), exe);
    const std::string command = "cd / && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk "
                                "SDL_DISKAUDIOFILE=/dev/null " +
                                env + " timeout -s KILL 60 " + exe + " " + args +
                                (signal ? " 2>&1" : " 2>" + err);
    Finished f;
    std::FILE* pipe = popen(command.c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) {
        f.out += char(c);
        if (c == '\n' && signal && f.out.find('\n') + 1 == f.out.size())
            std::system(("pkill -" + std::to_string(signal) + " -xf '" + exe +
                         (args.empty() ? "" : " ") + args + "'")
                            .c_str());
    }
    const int status = pipe ? pclose(pipe) : -1;
    f.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    f.err = stage.read("../stderr");
    return f;
}

std::string resourcesDir()
{
    return QUINDARA_RESOURCES;
}
std::string sourceDir()
{
    return QUINDARA_SOURCE;
}
std::string gameExecutable()
{
    return QUINDARA_GAME;
}

const std::vector<std::string> ALL_RESOURCES = {"*"};

StagedResources::StagedResources(const std::vector<std::string>& files)
    : copy_(resourcesDir(), "test", files), dir_(copy_.dir().string())
{
}

void StagedResources::remove(const std::string& name) const
{
    fs::remove(path(name));
}

void StagedResources::write(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string StagedResources::read(const std::string& name) const
{
    std::ifstream in(path(name), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

bool StagedResources::exists(const std::string& name) const
{
    return fs::exists(path(name));
}

Headless::Headless(bool withAssets)
{
    useVirtualClock(true);
    setVirtualTicks(1000);
    resetEveryRoom();
    forgetAssets();
    setSoundLogging(true);
    showFrames(false);
    initialise(false, true);
    if (withAssets)
        loadAssets();
}

Headless::~Headless()
{
    setSoundLogging(false);
    TileList none;
    shutdown(none, false);
    useVirtualClock(false);
}

TileList makeTiles(std::initializer_list<std::vector<int>> rows)
{
    TileList tiles;
    int y = 0;
    for (const auto& row : rows) {
        int x = 0;
        for (int code : row) {
            tiles.emplace_back(x, y, code);
            x += TILE_WIDTH;
        }
        y += TILE_HEIGHT;
    }
    game.levelTileCount = static_cast<int>(tiles.size());
    scrollStartY = static_cast<int>(rows.size()) * TILE_HEIGHT - SCREEN_HEIGHT;
    return tiles;
}

TileList loadCourse()
{
    findCourses();
    game.levelTileCount = countLevelTiles(1);
    TileList tiles(game.levelTileCount);
    EXPECT_TRUE(loadLevel(tiles, 1));
    return tiles;
}

void startRun(FrameLoop& loop, TileList& tiles)
{
    startFrameLoop(loop);
    runFrame(loop, tiles);
    tapKey(SDLK_RETURN);
    runFrame(loop, tiles);
    ASSERT_EQ(game.gameState, STATE_PLAYING);
}

Pilot racer()
{
    Pilot p;
    p.lookAhead = 30, p.pixelsPerStep = 10, p.maxLateral = 3, p.passingGap = 20;
    return p;
}

void pushKey(int sym, bool down)
{
    pushKeyEvent(sym, down);
}
void pushButton(int button, bool down)
{
    pushButtonEvent(button, down);
}

void tapKey(int sym)
{
    pushKey(sym, true);
    pushKey(sym, false);
}

SDL_Color pixelAt(int x, int y)
{
    SDL_Color c = {0, 0, 0, 0};
    if (!screen || x < 0 || y < 0 || x >= screen->w || y >= screen->h)
        return c;
    SDL_LockSurface(screen);
    const Uint8* row = static_cast<const Uint8*>(screen->pixels) + y * screen->pitch;
    Uint32 value = 0;
    const int bpp = screen->format->BytesPerPixel;
    std::memcpy(&value, row + x * bpp, bpp);
    SDL_UnlockSurface(screen);
    SDL_GetRGB(value, screen->format, &c.r, &c.g, &c.b);
    return c;
}

bool samePixel(SDL_Color a, SDL_Color b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

int pixelsDifferingFrom(SDL_Color background, int x, int y, int w, int h)
{
    int count = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (!samePixel(pixelAt(i, j), background))
                ++count;
    return count;
}
