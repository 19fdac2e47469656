#include "app/session.h"
#include "present/assets.h"
#include "present/intro.h"
#include "rules/loop.h"
#include "rules/states.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

namespace
{
struct WavFormat {
    int rate = 0, channels = 0, bits = 0;
    long frames = 0;
};

WavFormat wavFormat(const std::string& path)
{
    WavFormat f;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return f;
    unsigned char h[44];
    if (std::fread(h, 1, 44, in) == 44) {
        f.channels = h[22] | h[23] << 8;
        f.rate = h[24] | h[25] << 8 | h[26] << 16 | h[27] << 24;
        f.bits = h[34] | h[35] << 8;
        const long bytes = h[40] | h[41] << 8 | h[42] << 16 | long(h[43]) << 24;
        f.frames = f.channels && f.bits ? bytes / (f.channels * f.bits / 8) : 0;
    }
    std::fclose(in);
    return f;
}

void expectPicture(const std::string& name, int w, int h)
{
    SDL_Surface* s = IMG_Load(("_resources/" + name).c_str());
    ASSERT_NE(s, nullptr) << name;
    EXPECT_EQ(s->w, w) << name;
    EXPECT_EQ(s->h, h) << name;
    SDL_FreeSurface(s);
}

bool keyedMagenta(SDL_Surface* s)
{
    return s && (s->flags & SDL_SRCCOLORKEY) &&
           s->format->colorkey == SDL_MapRGB(s->format, 255, 0, 255);
}

// Every magenta pixel of the picture is see-through: it is keyed on magenta, or has none.
bool magentaSeeThrough(SDL_Surface* s)
{
    if (!s)
        return false;
    if (keyedMagenta(s))
        return true;
    const Uint32 key = SDL_MapRGB(s->format, 255, 0, 255);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            Uint16 value;
            std::memcpy(&value, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 2, 2);
            if (value == key)
                return false;
        }
    return true;
}
} // namespace

TEST(Assets, EveryFileIsThereAtItsSize)
{
    StagedResources stage{ALL_RESOURCES};
    char name[32];
    for (int k = 1; k <= 18; ++k) {
        std::snprintf(name, sizeof name, "%02d.bmp", k);
        expectPicture(name, 40, 40);
    }
    for (const char* colour : {"Red", "Blue", "Yellow", "Green", "Purple"})
        for (const char* frame : {"Up", "Down"})
            expectPicture(std::string("bmpImgCar") + colour + frame + ".bmp", 30, 40);
    expectPicture("bmpImgCarDark.bmp", 30, 40);
    for (int step = 1; step <= 5; ++step)
        for (const char* view : {"Up_CW", "Down_CW", "Up_CCW", "Down_CCW"})
            expectPicture("crash/bmpImgCarRed" + std::string(view) + std::to_string(step) + ".bmp",
                          30, 40);
    expectPicture("pnlMain.bmp", 51, 240);
    expectPicture("pnlMainMSK.bmp", 51, 240);
    expectPicture("gameIntro.bmp", 320, 240);
    // The cone reaches 88 left of the car and 138 above it, and stops short of the car.
    expectPicture("bmpImgCarHeadLight.bmp", 206, 140);
    for (const char* sign : {"bmpOBJ_WarnFunnel.bmp", "bmpOBJ_WarnOpen.bmp"}) {
        SDL_Surface* s = IMG_Load((std::string("_resources/") + sign).c_str());
        ASSERT_NE(s, nullptr) << sign;
        EXPECT_LE(s->w, 60);
        SDL_FreeSurface(s);
    }
    std::vector<std::string> sounds = {"othrcar1", "explode", "skid",      "gravelv2",
                                       "coinin",   "signal1", "checkpoint"};
    for (int n = 1; n <= 20; ++n) {
        std::snprintf(name, sizeof name, "%02d", n);
        sounds.push_back(name);
        sounds.push_back(std::string(name) + "e");
    }
    for (const std::string& sound : sounds) {
        const WavFormat f = wavFormat("_resources/sound/" + sound + ".wav");
        EXPECT_EQ(f.rate, 22050) << sound;
        EXPECT_EQ(f.channels, 2) << sound;
        EXPECT_EQ(f.bits, 16) << sound;
        EXPECT_GT(f.frames, 22050 / 10) << sound;
        EXPECT_LT(f.frames, 22050 * 3) << sound;
    }
}

// Magenta is see-through in every picture but the intro; a picture with none (a road tile) is
// copied whole, without the key.
TEST(Assets, SpritesAreKeyedOnMagentaButNotTheIntro)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    for (int k = 1; k <= 18; ++k)
        EXPECT_TRUE(magentaSeeThrough(trackTileImages[k])) << k;
    EXPECT_FALSE(trackTileImages[2]->flags & SDL_SRCCOLORKEY);
    EXPECT_TRUE(magentaSeeThrough(panelImage));
    EXPECT_TRUE(magentaSeeThrough(panelFaceImage));
    EXPECT_TRUE(keyedMagenta(panelMaskImage));
    EXPECT_TRUE(keyedMagenta(warnOpenImage));
    EXPECT_TRUE(keyedMagenta(warnFunnelImage));
    EXPECT_TRUE(keyedMagenta(playerCar.frameA));
    EXPECT_TRUE(keyedMagenta(playerCar.headlightImage));
    EXPECT_TRUE(keyedMagenta(playerCar.crashFrames[5][CRASH_DOWN_CCW]));
    EXPECT_TRUE(keyedMagenta(trafficCar.colourFrames[3].second));
    EXPECT_TRUE(keyedMagenta(trafficCar.darkFrame));
    EXPECT_NE(playerCar.engineSounds[20].echo, nullptr);
    EXPECT_NE(playerCar.gravelSound, nullptr);
    SDL_Surface* raw = IMG_Load("_resources/gameIntro.bmp");
    SDL_Surface* intro = convertPicture(raw, false);
    SDL_FreeSurface(raw);
    ASSERT_NE(intro, nullptr);
    EXPECT_FALSE(intro->flags & SDL_SRCCOLORKEY);
    SDL_FreeSurface(intro);
}

TEST(Assets, LoadingStepsKeepTheIntroMoving)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl;
    static int steps;
    steps = 0;
    resetCars();
    // The player's car 25 steps, the traffic car's 1, the rest 7; nothing drawn without a
    // loading screen to move.
    ASSERT_TRUE(loadAssets([] { ++steps; }));
    EXPECT_EQ(steps, 25 + 1 + 7);
    resetCars();
    ASSERT_TRUE(loadAssets());
    EXPECT_EQ(steps, 25 + 1 + 7);
}

TEST(Assets, EmptyPathsKeepTheFramesButTrafficColoursStillLoad)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl;
    setKind(trafficCar, CAR_TRAFFIC);
    EXPECT_FALSE(loadCarAssets(trafficCar, "", "_resources/bmpImgCarBlueDown.bmp", screen));
    EXPECT_EQ(trafficCar.frameA, nullptr);
    EXPECT_NE(trafficCar.colourFrames[0].first, nullptr);
    EXPECT_NE(trafficCar.darkFrame, nullptr);
    EXPECT_FALSE(loadCarAssets(playerCar, "_resources/bmpImgCarRedUp.bmp", "", screen));
    EXPECT_EQ(playerCar.engineSounds[1].plain, nullptr);
}

TEST(Assets, AMissingRoadTileLeavesTheRestUnloadedButTheGameRuns)
{
    StagedResources stage{ALL_RESOURCES};
    stage.remove("05.bmp");
    Headless sdl{true};
    EXPECT_EQ(panelImage, nullptr);
    EXPECT_EQ(panelMaskImage, nullptr);
    EXPECT_EQ(warnOpenImage, nullptr);
    EXPECT_EQ(warnFunnelImage, nullptr);
    EXPECT_EQ(coinSound, nullptr);
    EXPECT_EQ(signalSound, nullptr);
    EXPECT_EQ(idleEngineSound, nullptr);
    EXPECT_NE(playerCar.frameA, nullptr);
    TileList tiles = loadCourse();
    FrameLoop loop;
    startRun(loop, tiles);
    EXPECT_NE(checkpointSound, nullptr); // loaded before the road, so loaded regardless
    pushKey(KEY_UP, true);
    for (int i = 0; i < 600; ++i)
        ASSERT_FALSE(runFrame(loop, tiles));
    EXPECT_EQ(game.gameState, STATE_PLAYING);
}

TEST(Assets, MissingSpritesAndSignsAreSkippedSafely)
{
    StagedResources stage{ALL_RESOURCES};
    stage.remove("crash/bmpImgCarRedUp_CW3.bmp");
    stage.remove("bmpOBJ_WarnFunnel.bmp");
    stage.remove("bmpImgCarGreenUp.bmp");
    Headless sdl{true};
    EXPECT_EQ(playerCar.crashFrames[3][CRASH_UP_CW], nullptr);
    EXPECT_EQ(warnFunnelImage, nullptr);
    EXPECT_EQ(trafficCar.colourFrames[2].first, nullptr);
    TileList tiles = loadCourse();
    FrameLoop loop;
    startRun(loop, tiles);
    offerMarker(7, 99); // a narrowing sign with no picture
    for (int i = 0; i < 300; ++i) {
        playerCar.state = i % 2 ? CAR_CRASHED : CAR_SKIDDING;
        ASSERT_FALSE(runFrame(loop, tiles));
    }
}
