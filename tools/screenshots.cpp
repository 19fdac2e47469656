// Takes the README's pictures with the game's own start-up, frame loop and drawing, headless:
// the ready banner, the attract screen, a run under way and a crash, the initials of a run
// that enters the table, the table, another course chosen, and a run racing a ghost.
//   screenshots RESOURCES_DIR OUTPUT_DIR
#include "app/session.h"
#include "pilot.h"
#include "platform/clock.h"
#include "png.h"
#include "present/assets.h"
#include "present/intro.h"
#include "present/render.h"
#include "present/text.h"
#include "private_copy.h"
#include "rules/ghost.h"
#include "rules/loop.h"
#include "rules/name_entry.h"
#include "rules/settings_screen.h"
#include "rules/view_step.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "sim/car.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "state/game.h"
#include "track/course.h"
#include "track/track.h"
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
std::string outDir;
int failures = 0;

// The screen as it is now, twice the size with sharp pixels.
void shoot(const char* name)
{
    constexpr int SCALE = 2;
    std::vector<uint8_t> rgba;
    SDL_LockSurface(screen);
    for (int y = 0; y < SCREEN_HEIGHT * SCALE; ++y)
        for (int x = 0; x < SCREEN_WIDTH * SCALE; ++x) {
            const Uint8* row =
                static_cast<const Uint8*>(screen->pixels) + (y / SCALE) * screen->pitch;
            Uint32 value = 0;
            std::memcpy(&value, row + (x / SCALE) * screen->format->BytesPerPixel,
                        screen->format->BytesPerPixel);
            Uint8 r, g, b;
            SDL_GetRGB(value, screen->format, &r, &g, &b);
            rgba.insert(rgba.end(), {r, g, b, 255});
        }
    SDL_UnlockSurface(screen);
    const std::string path = outDir + "/" + name + ".png";
    if (!writePng(path, SCREEN_WIDTH * SCALE, SCREEN_HEIGHT * SCALE, rgba)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", path.c_str());
        ++failures;
    }
}

// Every tile code a course may use, with its picture as the game draws it: the course guide's.
void drawTileSheet()
{
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 40, 40, 48));
    const int codes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 97, 98, 99};
    int k = 0;
    for (int code : codes) {
        const int x = 6 + (k % 7) * 44, y = 8 + (k / 7) * 76;
        drawPicture(trackTileImages[tilePictureFor(code)], x, y);
        if (code == 98 || code == 99)
            drawPicture(code == 98 ? warnOpenImage : warnFunnelImage, x + 2, y + 2);
        if (code == 97)
            drawSmallText(screen, "+30", x + 8, y + 14, 255, 220, 0);
        char label[8];
        std::snprintf(label, sizeof label, "%02d", code);
        drawSmallText(screen, label, x + 12, y + 44, 255, 255, 255);
        ++k;
    }
}

Pilot pilot;

// Throttle held, steering for the middle of the road a little way ahead.
void drive(FrameLoop& loop, TileList& tiles, int frames)
{
    for (int i = 0; i < frames; ++i) {
        pilot.steer(tiles);
        runFrame(loop, tiles);
    }
}

// A run on the first course to its first checkpoint (shot there, once the ghost is in sight
// while the split shows, when `shot` is given), then left to roll out of time; the throttle
// held back for the first `late` frames.
void runToFirstCheckpoint(FrameLoop& loop, TileList& tiles, int late, const char* shot)
{
    pushKeyEvent(KEY_RETURN, true), pushKeyEvent(KEY_RETURN, false);
    runFrame(loop, tiles);
    playerCar.x = 120;  // on the road, wherever the run before left the car
    pilot.releaseAll(); // whatever the pilot held before is pressed again as it is needed
    pilot.lookAhead = 30, pilot.pixelsPerStep = 10, pilot.maxLateral = 3, pilot.passingGap = 20;
    pilot.throttle = false;
    drive(loop, tiles, late);
    pilot.throttle = true;
    for (int i = 0;
         i < 6000 && game.gameState == STATE_PLAYING && markerCounters.checkpointMessageAge != 1;
         ++i) {
        if (i % 50 == 0 && playerCar.speed == 0)
            pilot.releaseAll(); // after a crash the throttle is pressed anew
        drive(loop, tiles, 1);
    }
    drive(loop, tiles, 12);
    // The ghost in sight, if it comes, while the split still shows.
    for (int i = 0; i < 90 && shot && !(framePicture.ghost.carShown && framePicture.ghost.y > 20);
         ++i)
        drive(loop, tiles, 1);
    if (shot)
        shoot(shot);
    pilot.releaseAll();
    for (int i = 0; i < 20000 && game.gameState != STATE_ATTRACT; ++i)
        runFrame(loop, tiles);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots RESOURCES_DIR OUTPUT_DIR\n");
        return 2;
    }
    outDir = fs::absolute(argv[2]).string();
    fs::create_directories(outDir);
    const PrivateCopy copy(argv[1], "shots");
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    useVirtualClock(true);
    setVirtualTicks(1000);

    enterSession(false);
    TileList tiles;
    if (!initialise() || loadGame(tiles) != 0)
        return 1;
    drawTileSheet();
    shoot("tiles");
    drawReadyBanner();
    shoot("banner");
    pushKeyEvent(KEY_RETURN, true);
    waitForAnyPress();
    pushKeyEvent(KEY_RETURN, false);

    FrameLoop loop;
    startFrameLoop(loop);
    for (int i = 0; i < 60 || !blinks.messageBlinkOn; ++i) // "GAME OVER" in its visible phase
        runFrame(loop, tiles);
    shoot("attract");

    pushKeyEvent(KEY_RETURN, true);
    pushKeyEvent(KEY_RETURN, false);
    drive(loop, tiles, 400);
    shoot("run");

    // The traffic car clips the red car's front corner: it spins off with sparks.
    trafficCar.x = playerCar.x - 26;
    trafficCar.y = playerCar.screenY - 34;
    drive(loop, tiles, 4);
    shoot("crash");

    // The run runs out of time (the throttle let go) and enters the table: the initials being
    // entered.
    pushKeyEvent(KEY_UP, false);
    for (int i = 0; i < 20000 && game.gameState != STATE_ATTRACT; ++i)
        runFrame(loop, tiles);
    const char* others[][2] = {{"ANN", "640"}, {"BOB", "512"}, {"CAT", "498"}, {"DAN", "210"}};
    for (const auto& o : others)
        enterRun("Quindara Ring", std::atoi(o[1]), o[0]);
    InitialsEntry entry;
    entryKey(entry, 'q'), entryKey(entry, 'u');
    drawInitialsEntry(entry, placeFor("Quindara Ring", game.score), game.score, true, 30);
    shoot("initials");
    enterRun("Quindara Ring", game.score, "QU ");
    for (int i = 0; i < 2000 && (blinks.attractFrames % 740 < 450 || !blinks.messageBlinkOn); ++i)
        runFrame(loop, tiles);
    shoot("table");

    // Right in attract: the next course, its road and its best.
    pushKeyEvent(KEY_RIGHT, true), pushKeyEvent(KEY_RIGHT, false);
    pushKeyEvent(KEY_RIGHT, true), pushKeyEvent(KEY_RIGHT, false);
    for (int i = 0; i < 30 || !blinks.messageBlinkOn || blinks.attractFrames % 740 >= 420; ++i)
        runFrame(loop, tiles);
    shoot("courses");

    // Back on the first course, runs to the first checkpoint: the last races the one before as
    // its ghost, and the split there says by how much.
    pushKeyEvent(KEY_LEFT, true), pushKeyEvent(KEY_LEFT, false);
    pushKeyEvent(KEY_LEFT, true), pushKeyEvent(KEY_LEFT, false);
    for (int i = 0; i < 60; ++i)
        runFrame(loop, tiles);
    for (int run = 0; run < 2; ++run) // the first one starts where the last shot left the car
        runToFirstCheckpoint(loop, tiles, 0, nullptr);
    raceGhost(ghostRace.live, 1);
    runToFirstCheckpoint(loop, tiles, 0, "ghost");

    // The settings screen, a key being given anew.
    SettingsMenu menu;
    settingsKey(menu, KEY_DOWN), settingsKey(menu, KEY_DOWN), settingsKey(menu, KEY_LEFT);
    menu.cursor = LINE_FIRST_KEY;
    settingsKey(menu, KEY_RETURN);
    drawSettingsScreen(settingsPicture(menu));
    shoot("settings");

    shutdown(tiles, false);
    return failures == 0 ? 0 : 1;
}
