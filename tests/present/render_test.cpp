#include "present/assets.h"
#include "present/render.h"
#include "present/text.h"
#include "replay/snapshot.h"
#include "rules/loop.h"
#include "rules/view_step.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/road.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace
{
const std::vector<int> ROAD = {1, 3, 2, 2, 2, 2, 4, 1};

class RenderTest : public ::testing::Test
{
  protected:
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    TileList tiles;

    void SetUp() override
    {
        tiles = makeTiles({ROAD, ROAD, ROAD, ROAD, ROAD, ROAD, ROAD, ROAD, ROAD, ROAD});
        game.gameState = STATE_PLAYING;
        game.volumeBarAge = 51;
        playerCar.x = 120;
        trafficCar.y = 600; // out of sight unless a test brings it in
        trafficCar.trafficSpeed = 0;
    }

    bool inked(int x, int y, int w, int h, bool (*match)(SDL_Color))
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (match(pixelAt(i, j)))
                    return true;
        return false;
    }
    // A frame's step, then its drawing, as the loop runs them.
    void showFrame()
    {
        advanceView(tiles);
        drawFrame(tiles, currentView(), 0.0f);
    }
    // Runs frames and returns, per frame, whether the area showed the colour.
    std::vector<bool> watch(int frames, int x, int y, int w, int h, bool (*match)(SDL_Color))
    {
        std::vector<bool> seen;
        for (int i = 0; i < frames; ++i) {
            showFrame();
            seen.push_back(inked(x, y, w, h, match));
        }
        return seen;
    }
    static int count(const std::vector<bool>& v)
    {
        int n = 0;
        for (bool b : v)
            n += b;
        return n;
    }
};

bool ledRed(SDL_Color c)
{
    return c.r > 180 && c.g < 90 && c.b < 90;
}
bool cyan(SDL_Color c)
{
    return c.r < 90 && c.g > 180 && c.b > 180;
}
bool white(SDL_Color c)
{
    return c.r > 150 && c.g > 150 && c.b > 150;
}
bool paleYellow(SDL_Color c)
{
    return c.r > 220 && c.g > 210 && c.b > 130 && c.b < 215;
}
} // namespace

TEST_F(RenderTest, TheRoadScrollsByThePlayersSpeed)
{
    tiles = loadCourse();
    trackView.scrollY = 40000;
    playerCar.speed = -10;
    showFrame();
    EXPECT_EQ(trackView.scrollY, 39990);
    std::vector<SDL_Color> before;
    for (int y = 20; y < 180; ++y)
        before.push_back(pixelAt(10, y));
    showFrame();
    for (int y = 20; y < 170; ++y)
        ASSERT_TRUE(samePixel(pixelAt(10, y + 10), before[y - 20])) << y;
    game.gameState = STATE_PAUSED; // paused: the road stands still
    showFrame();
    EXPECT_EQ(trackView.scrollY, 39980);
}

TEST_F(RenderTest, ThePlayerCarIsDrawnInRunsOnly)
{
    setX(playerCar, 20); // left of the coin's box, which attract draws over the road
    game.gameState = STATE_ATTRACT;
    showFrame();
    std::vector<SDL_Color> road;
    for (int y = 200; y < 240; ++y)
        road.push_back(pixelAt(35, y));
    const SDL_Color corner = pixelAt(20, 200);
    game.gameState = STATE_PLAYING;
    showFrame();
    int changed = 0;
    for (int y = 200; y < 240; ++y)
        changed += !samePixel(pixelAt(35, y), road[y - 200]);
    EXPECT_GT(changed, 30);
    // Its corners are magenta in the sprite and stay see-through.
    EXPECT_TRUE(samePixel(pixelAt(20, 200), corner));
}

TEST_F(RenderTest, FramesAlternateWhileMovingAndRestWhenStanding)
{
    auto wheel = [] { return pixelAt(120 + 2, 200 + 6); };
    playerCar.speed = 0;
    showFrame();
    const SDL_Color standing = wheel();
    showFrame();
    EXPECT_TRUE(samePixel(wheel(), standing));
    playerCar.speed = -5;
    showFrame();
    const SDL_Color a = wheel();
    showFrame();
    const SDL_Color b = wheel();
    showFrame();
    EXPECT_FALSE(samePixel(a, b));
    EXPECT_TRUE(samePixel(wheel(), a));
}

TEST_F(RenderTest, DarkStretchesShowTheConeAndDarkTraffic)
{
    const std::vector<int> tunnel = {10, 10, 11, 11, 11, 11, 10, 10};
    tiles = makeTiles({tunnel, tunnel, tunnel, tunnel, tunnel, tunnel, tunnel, tunnel});
    playerCar.headlightsOn = true;
    playerCar.speed = -10;
    trafficCar.x = 60;
    trafficCar.y = 60;
    trafficCar.trafficSpeed = -8;
    showFrame();
    int lit = 0;
    for (int y = 200 - 138; y < 200; ++y)
        for (int x = 120 - 88; x < 120 + 30 + 88; ++x)
            lit += paleYellow(pixelAt(x, y));
    EXPECT_GT(lit, 500);
    // The dark traffic car shows its tail lights only.
    bool tail = false;
    for (int x = 60; x < 90; ++x)
        tail = tail || (pixelAt(x, 60 + 37).r > 240 && pixelAt(x, 60 + 37).g < 80);
    EXPECT_TRUE(tail);
    auto blue = [](SDL_Color c) { return c.b > 150 && c.r < 100; };
    EXPECT_FALSE(inked(62, 60 + 12, 26, 6, blue));
    // The cone lies exactly 88 pixels left of and 138 above the car's corner.
    auto region = [] {
        std::vector<Uint8> v;
        for (int y = 40; y < 240; ++y)
            for (int x = 0; x < 269; ++x)
                v.push_back(pixelAt(x, y).g);
        return v;
    };
    playerCar.animPhase = true;
    drawTrack(tiles);
    stepCar(playerCar, true);
    drawCar(playerCar, framePicture.cars[0], screen);
    const std::vector<Uint8> drawn = region();
    playerCar.headlightsOn = false;
    playerCar.animPhase = true;
    drawTrack(tiles);
    stepCar(playerCar, true);
    drawCar(playerCar, framePicture.cars[0], screen);
    blitRegion(playerCar.headlightImage, screen, 0, 0, 120 - 88, playerCar.screenY - 138,
               playerCar.headlightImage->w, playerCar.headlightImage->h);
    EXPECT_TRUE(region() == drawn);
    // Waiting for a coin, the traffic car is never dark.
    playerCar.headlightsOn = true;
    game.gameState = STATE_ATTRACT;
    showFrame();
    EXPECT_TRUE(inked(62, 60 + 12, 26, 6, blue));
}

TEST_F(RenderTest, ASignShowsAtTheTopForExactly100Frames)
{
    offerMarker(3, 99);
    const auto seen =
        watch(130, 147, 20, 36, 30, [](SDL_Color c) { return c.r > 180 && c.g < 60; });
    EXPECT_EQ(count(seen), 100);
    EXPECT_TRUE(seen[0]);
    EXPECT_FALSE(seen[100]);
}

TEST_F(RenderTest, TheScoreBlinksWhileAPenaltyIsPending)
{
    game.score = 8888;
    game.penaltyWatch.start();
    const auto seen = watch(40, 274, 98, 45, 20, ledRed);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(seen[i], (i / 10) % 2 == 0) << i;
    game.penaltyWatch.stop();
    EXPECT_EQ(count(watch(20, 274, 98, 45, 20, ledRed)), 20);
}

// Each readout is drawn twice, at x 274 and a pixel left: the digits are a pixel wider.
TEST_F(RenderTest, ReadoutsAreDrawnTwiceAPixelApart)
{
    auto inkColumns = [](int x0, int y0) {
        int first = 999, last = -1;
        for (int x = x0; x < x0 + 50; ++x)
            for (int y = y0; y < y0 + 24; ++y)
                if (ledRed(pixelAt(x, y)))
                    first = std::min(first, x), last = std::max(last, x);
        return std::make_pair(first - x0, last - x0);
    };
    SDL_Rect blank = {0, 0, 60, 30};
    SDL_FillRect(screen, &blank, 0);
    drawLedNumber(screen, 8, 0, 0, 255, 0, 0);
    const auto once = inkColumns(0, 0);
    game.score = game.highScore = 8;
    showFrame();
    for (int y : {56, 98})
        EXPECT_EQ(inkColumns(273, y), std::make_pair(once.first, once.second + 1)) << y;
}

TEST_F(RenderTest, TheTimeBlinksFromTenSecondsDown)
{
    game.timeLeft = 11;
    EXPECT_EQ(count(watch(40, 274, 140, 45, 20, ledRed)), 40);
    game.timeLeft = 10;
    blinks.messageBlinkCounter = 0;
    const auto seen = watch(40, 274, 140, 45, 20, ledRed);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(seen[i], i < 20) << i;
}

TEST_F(RenderTest, CheckpointIsShownWhilePlayingButNotAfterTheTimeIsUp)
{
    game.timeLeft = 30; // a steady time readout: the message has the blink to itself
    for (int state : {STATE_TIME_UP, STATE_PLAYING}) {
        game.gameState = state;
        markerCounters.checkpointCount = 1;
        markerCounters.checkpointMessageAge = blinks.messageBlinkCounter = 0;
        EXPECT_EQ(count(watch(20, 124, 50, 100, 18, ledRed)), state == STATE_PLAYING ? 20 : 0);
    }
}

TEST_F(RenderTest, AttractBlinksGameOverButKeepsTheCoinSlotLit)
{
    game.gameState = STATE_ATTRACT;
    const auto gameOver = watch(80, 110, 50, 100, 20, cyan);
    for (int i = 0; i < 80; ++i)
        EXPECT_EQ(gameOver[i], (i / 20) % 2 == 0) << i;
    EXPECT_EQ(count(watch(80, 103, 200, 110, 18, ledRed)), 80);
}

TEST_F(RenderTest, PausedBlinksAndTheVolumeBarShowsFor51Frames)
{
    game.gameState = STATE_PAUSED;
    game.timeLeft = 30;
    EXPECT_EQ(count(watch(40, 124, 50, 70, 20, ledRed)), 20);
    game.gameState = STATE_PLAYING;
    game.volumeBarAge = 0;
    EXPECT_EQ(count(watch(60, 10, 215, 60, 20, ledRed)), 51);
    roadReadings.playerTerrain = 11; // on the dark road the bar is white
    game.volumeBarAge = 0;
    EXPECT_EQ(count(watch(3, 10, 215, 60, 20, white)), 3);
}

TEST_F(RenderTest, TheCrashSpinCyclesThroughFiveSteps)
{
    playerCar.state = CAR_CRASHED;
    std::vector<int> steps;
    for (int i = 0; i < 7; ++i) {
        steps.push_back(crashSpin.crashFrameStep);
        stepCar(playerCar, false);
        EXPECT_TRUE(drawCar(playerCar, framePicture.cars[0], screen));
    }
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3, 4, 0, 1}));
    Car bare;
    EXPECT_FALSE(drawCar(bare, CarPicture(), screen));
}

TEST_F(RenderTest, PositionsBeyondSixteenBitsAreSkippedNotWrapped)
{
    showFrame();
    std::vector<SDL_Color> before;
    for (int y = 50; y < 90; ++y)
        for (int x = 50; x < 80; ++x)
            before.push_back(pixelAt(x, y));
    // Both would land at (50, 50) if the positions were cut to 16 bits.
    blitRegion(playerCar.frameA, screen, 0, 0, 65536 + 50, 50, 30, 40);
    blitRegion(playerCar.frameA, screen, 0, 0, 50, -65536 + 50, 30, 40);
    size_t i = 0;
    for (int y = 50; y < 90; ++y)
        for (int x = 50; x < 80; ++x)
            ASSERT_TRUE(samePixel(pixelAt(x, y), before[i++])) << x << "," << y;
    blitRegion(playerCar.frameA, screen, 0, 0, 50, 50, 30, 40);
    EXPECT_FALSE(samePixel(pixelAt(50 + 15, 50 + 20), before[20 * 30 + 15]));
    drawPicture(nullptr, 10, 10); // a picture that never loaded draws nothing
}

// An opaque picture (a road tile) is copied by the game's own row copy: pixel for pixel what
// SDL's copy gives, at every edge, with a clip and from inside the picture.
TEST_F(RenderTest, AnOpaqueCopyShowsWhatSdlsCopyShows)
{
    SDL_Surface* tile = trackTileImages[2];
    ASSERT_TRUE(tile && !(tile->flags & SDL_SRCCOLORKEY));
    const SDL_PixelFormat* f = screen->format;
    auto surface = [&] {
        SDL_Surface* s =
            SDL_CreateRGBSurface(SDL_SWSURFACE, 100, 80, 16, f->Rmask, f->Gmask, f->Bmask, 0);
        for (int i = 0; i < s->pitch * s->h; ++i)
            static_cast<Uint8*>(s->pixels)[i] = Uint8(i * 13);
        return s;
    };
    struct Case {
        int srcX, srcY, x, y, w, h;
        bool clipped;
    } cases[] = {{0, 0, 10, 10, 40, 40, false},   {0, 0, -15, -7, 40, 40, false},
                 {0, 0, 75, 55, 40, 40, false},   {5, 9, 20, 20, 30, 25, false},
                 {-5, -3, 20, 20, 40, 40, false}, {-1, -1, 20, 20, 40, 40, false},
                 {30, 30, 0, 0, 40, 40, false},   {0, 0, 10, 10, 40, 40, true},
                 {0, 0, 200, 10, 40, 40, false}};
    for (const Case& c : cases) {
        SDL_Surface* ours = surface();
        SDL_Surface* theirs = surface();
        if (c.clipped) {
            SDL_Rect clip = {20, 15, 12, 30};
            SDL_SetClipRect(ours, &clip);
            SDL_SetClipRect(theirs, &clip);
        }
        blitRegion(tile, ours, c.srcX, c.srcY, c.x, c.y, c.w, c.h);
        SDL_Rect from = {Sint16(c.srcX), Sint16(c.srcY), Uint16(c.w), Uint16(c.h)};
        SDL_Rect to = {Sint16(c.x), Sint16(c.y), 0, 0};
        SDL_UpperBlit(tile, &from, theirs, &to);
        EXPECT_EQ(std::memcmp(ours->pixels, theirs->pixels, size_t(ours->pitch) * ours->h), 0)
            << c.srcX << "," << c.srcY << " to " << c.x << "," << c.y
            << (c.clipped ? " clipped" : "");
        SDL_FreeSurface(ours);
        SDL_FreeSurface(theirs);
    }
}

// Drawing only draws: the same frame drawn twice shows the same picture and leaves the game
// as it was, however much is going on in it.
TEST_F(RenderTest, DrawingAFrameTwiceChangesNothing)
{
    game.gameState = STATE_PLAYING;
    playerCar.state = CAR_CRASHED;
    playerCar.speed = -8;
    trafficCar.trafficSpeed = -5;
    game.penaltyWatch.start();
    game.timeLeft = 7;
    game.volumeBarAge = 0;
    game.showDiagnostics = true;
    offerMarker(0, CODE_ROAD_OPENS);
    FrameLoop loop;
    std::vector<uint8_t> before, after;
    for (int frame = 0; frame < 3; ++frame) {
        advanceView(tiles);
        saveSnapshot(loop, before);
        drawFrame(tiles, currentView(), 0.0f);
        const uint64_t first = screenChecksum();
        drawFrame(tiles, currentView(), 0.0f);
        saveSnapshot(loop, after);
        EXPECT_EQ(screenChecksum(), first) << frame;
        EXPECT_TRUE(before == after) << frame;
    }
}
