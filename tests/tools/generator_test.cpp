// The generators that make the game's pictures and sounds.
#include "pixelart.h"
#include "support/stage.h"
#include "synth.h"
#include <SDL.h>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

TEST(PixelArt, BitmapsReadBackWithTheirColours)
{
    StagedResources stage;
    Canvas c(3, 2);
    c.set(0, 0, {10, 20, 30});
    c.set(2, 1, {250, 128, 1});
    const std::string path = stage.dir() + "/t.bmp";
    ASSERT_TRUE(writeBmp(c, path));
    SDL_Surface* s = SDL_LoadBMP(path.c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 3);
    EXPECT_EQ(s->h, 2);
    auto at = [&](int x, int y) {
        const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 3;
        Uint32 v = p[0] | p[1] << 8 | p[2] << 16;
        SDL_Color col;
        SDL_GetRGB(v, s->format, &col.r, &col.g, &col.b);
        return col;
    };
    EXPECT_TRUE(samePixel(at(0, 0), SDL_Color{10, 20, 30, 0}));
    EXPECT_TRUE(samePixel(at(2, 1), SDL_Color{250, 128, 1, 0}));
    EXPECT_TRUE(samePixel(at(1, 0), SDL_Color{255, 0, 255, 0})); // untouched: see-through
    SDL_FreeSurface(s);
    EXPECT_FALSE(writeBmp(c, stage.dir() + "/no/such/folder/t.bmp"));
}

TEST(PixelArt, LettersRotationAndTransparentCopies)
{
    Canvas c(20, 10);
    drawLabel(c, "I?", 0, 0, 1, {1, 2, 3}); // '?' has no glyph: nothing drawn
    int inked = 0;
    for (const Rgb& p : c.px)
        inked += p == Rgb{1, 2, 3};
    EXPECT_EQ(inked, 3 + 1 + 1 + 1 + 3); // the five rows of an I
    EXPECT_EQ(labelWidth("ABC", 2), 22);
    Canvas arrow(4, 4);
    arrow.set(1, 0, {9, 9, 9});
    const Canvas same = rotated(arrow, 0.0f, 1.0f);
    EXPECT_TRUE(same.get(1, 0) == (Rgb{9, 9, 9}));
    const Canvas turned = rotated(arrow, 90.0f, 1.0f); // top edge goes to the right edge
    EXPECT_TRUE(turned.get(3, 1) == (Rgb{9, 9, 9}));
    Canvas dest(4, 4, {0, 0, 0});
    blit(dest, arrow, 0, 0);
    EXPECT_TRUE(dest.get(0, 0) == (Rgb{0, 0, 0}));
    EXPECT_TRUE(dest.get(1, 0) == (Rgb{9, 9, 9}));
}

TEST(Synth, WavFilesAreStereo16BitAt22050)
{
    StagedResources stage;
    const std::string path = stage.dir() + "/t.wav";
    ASSERT_TRUE(writeWav({0.0f, 0.5f, -1.0f, 2.0f}, path));
    std::FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    unsigned char b[44 + 16];
    ASSERT_EQ(std::fread(b, 1, sizeof b, in), sizeof b);
    std::fclose(in);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), "RIFF");
    EXPECT_EQ(b[22], 2);
    EXPECT_EQ(b[24] | b[25] << 8, 22050);
    EXPECT_EQ(b[34], 16);
    auto sample = [&](int i) { return int16_t(b[44 + 2 * i] | b[45 + 2 * i] << 8); };
    EXPECT_EQ(sample(2), 16384); // 0.5, left
    EXPECT_EQ(sample(3), 16384); // and right
    EXPECT_EQ(sample(4), -32767);
    EXPECT_EQ(sample(6), 32767); // clipped
}

TEST(Synth, EngineLoopsJoinWithoutAClickAndRiseInPitch)
{
    float previousHz = 0;
    for (int level = 1; level <= 20; ++level) {
        float hz = 0;
        const int length = loopLength(0.5f, 38.0f + level * 9.0f, hz);
        const double cycles = double(hz) * length / SAMPLE_RATE;
        EXPECT_NEAR(cycles, std::round(cycles), 1e-3) << level;
        EXPECT_GT(hz, previousHz);
        previousHz = hz;
        for (const Signal& s : {engineLoop(level), withTunnelEcho(engineLoop(level))}) {
            ASSERT_EQ(int(s.size()), length);
            float biggestStep = 0;
            for (size_t i = 1; i < s.size(); ++i)
                biggestStep = std::max(biggestStep, std::fabs(s[i] - s[i - 1]));
            EXPECT_LE(std::fabs(s.front() - s.back()), biggestStep) << level;
            float peak = 0;
            for (float v : s)
                peak = std::max(peak, std::fabs(v));
            EXPECT_GT(peak, 0.3f);
            EXPECT_LE(peak, 1.0f);
        }
    }
}

TEST(Synth, EffectsAreShortAndAudible)
{
    for (const Signal& s : {passBy(), explosion(), coinChime(), signalBeeps(), checkpointFanfare(),
                            skidLoop(), gravelLoop()}) {
        EXPECT_GT(s.size(), size_t(SAMPLE_RATE / 10));
        EXPECT_LT(s.size(), size_t(SAMPLE_RATE * 2));
        float peak = 0;
        for (float v : s)
            peak = std::max(peak, std::fabs(v));
        EXPECT_GT(peak, 0.3f);
    }
}

// Every tune plays at least 30 s before it repeats, joins without a click, and with the engine at
// its loudest beside it, at the music's full volume, stays within range; Night Run's is the
// darkest of the courses' and Coast Road's the brightest (the top of the spectrum's share).
TEST(Synth, TunesLoopForHalfAMinuteWithinRangeBesideTheEngine)
{
    auto peakOf = [](const Signal& s) {
        float peak = 0;
        for (float v : s)
            peak = std::max(peak, std::fabs(v));
        return peak;
    };
    float enginePeak = 0;
    for (int level = 1; level <= 20; ++level)
        enginePeak = std::max(
            {enginePeak, peakOf(engineLoop(level)), peakOf(withTunnelEcho(engineLoop(level)))});
    float brightness[GAME_TUNES];
    for (int t = 0; t < GAME_TUNES; ++t) {
        const Signal s = musicLoop(gameTune(t));
        EXPECT_GE(s.size(), size_t(30 * SAMPLE_RATE)) << t;
        EXPECT_LE(peakOf(s) + enginePeak, 1.0f) << t;
        double energy = 0, top = 0, step = 0;
        for (size_t i = 1; i < s.size(); ++i) {
            energy += double(s[i]) * s[i];
            top += double(s[i] - s[i - 1]) * (s[i] - s[i - 1]);
            step = std::max(step, double(std::fabs(s[i] - s[i - 1])));
        }
        EXPECT_LE(std::fabs(s.front() - s.back()), step) << t;
        brightness[t] = float(top / energy);
    }
    EXPECT_LT(brightness[3], std::min({brightness[0], brightness[1], brightness[2]}));
    EXPECT_GT(brightness[2],
              std::max({brightness[0], brightness[1], brightness[3], brightness[4]}));
}
