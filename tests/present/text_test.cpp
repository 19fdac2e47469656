#include "present/assets.h"
#include "present/text.h"
#include "state/game.h"
#include "support/stage.h"
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <string>

namespace
{
class TextTest : public ::testing::Test
{
  protected:
    StagedResources stage{{"arial.ttf", "led.ttf"}};
    Headless sdl;
    const SDL_Color black = {0, 0, 0, 0};

    void SetUp() override
    {
        openFonts(12);
        clear();
    }
    void clear() { SDL_FillRect(screen, nullptr, 0); }

    // Leftmost and rightmost columns with anything drawn in rows y..y+h.
    std::pair<int, int> inkedColumns(int y, int h)
    {
        int first = -1, last = -1;
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            if (pixelsDifferingFrom(black, x, y, 1, h) > 0) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return {first, last};
    }
};
} // namespace

TEST(VolumeBar, OneBarPerTenStepsAndThirteenAtTheTop)
{
    auto bars = [](int v) { return std::string(volumeBar(v)).size(); };
    EXPECT_EQ(bars(0), 1u);
    EXPECT_EQ(bars(9), 1u);
    EXPECT_EQ(bars(10), 2u);
    EXPECT_EQ(bars(75), 8u);
    EXPECT_EQ(bars(119), 12u);
    EXPECT_EQ(bars(120), 13u);
    EXPECT_EQ(bars(128), 13u);
    EXPECT_EQ(bars(135), 13u);
    EXPECT_EQ(bars(-1), 1u);
    EXPECT_EQ(bars(136), 0u);
    EXPECT_EQ(bars(-2), 0u);
}

TEST_F(TextTest, TheLedFaceFitsFiveDigitsInThePanel)
{
    // The three faces at 12, 16 and 18 points, each a size whose text differs from the next.
    const std::pair<TTF_Font*, int> faces[] = {{smallFont, 12}, {mediumFont, 16}, {ledFont, 18}};
    for (const auto& [font, size] : faces) {
        const std::string file = font == ledFont ? "_resources/led.ttf" : "_resources/arial.ttf";
        std::pair<int, int> sizes[3];
        for (int k = 0; k < 2; ++k) {
            TTF_Font* same = TTF_OpenFont(file.c_str(), size + k);
            TTF_SizeText(same, "GAME OVER 0123", &sizes[k].first, &sizes[k].second);
            TTF_CloseFont(same);
        }
        TTF_SizeText(font, "GAME OVER 0123", &sizes[2].first, &sizes[2].second);
        EXPECT_EQ(sizes[2], sizes[0]) << size;
        EXPECT_NE(sizes[0], sizes[1]) << size;
    }
    ASSERT_NE(ledFont, nullptr);
    int w = 0, h = 0;
    TTF_SizeText(ledFont, "99999", &w, &h);
    EXPECT_LE(w, 46);
    EXPECT_GT(w, 20);
}

TEST_F(TextTest, NumbersKeepTheirSign)
{
    drawLedNumber(screen, 5, 100, 50, 255, 0, 0);
    const auto plus = inkedColumns(50, 25);
    clear();
    drawLedNumber(screen, -5, 100, 50, 255, 0, 0);
    const auto minus = inkedColumns(50, 25);
    ASSERT_GE(plus.first, 100);
    EXPECT_GT(minus.second - minus.first, plus.second - plus.first + 4);
    clear();
    drawSmallNumber(screen, -2147483647 - 1, 10, 10, 255, 255, 255); // any int fits
    EXPECT_GT(inkedColumns(10, 15).second, 60);
}

TEST_F(TextTest, TextIsClippedAtTheScreenEdgeNotWrapped)
{
    drawMediumText(screen, "CHECKPOINT", 280, 100, 255, 255, 255);
    EXPECT_GT(pixelsDifferingFrom(black, 280, 100, 40, 20), 0);
    EXPECT_EQ(pixelsDifferingFrom(black, 0, 95, 200, 30), 0);
    drawMediumText(screen, "PAUSED", -30, 230, 255, 255, 255);
    EXPECT_EQ(pixelsDifferingFrom(black, 0, 0, SCREEN_WIDTH, 20), 0);
}

TEST_F(TextTest, AMissingFontDrawsNothing)
{
    closeFonts();
    drawSmallText(screen, "(enter/home)", 10, 10, 255, 255, 255);
    drawMediumText(screen, "GAME OVER", 10, 40, 255, 255, 255);
    drawLedNumber(screen, 42, 10, 80, 255, 0, 0);
    drawSmallNumber(screen, 7, 10, 120, 255, 0, 0);
    EXPECT_EQ(pixelsDifferingFrom(black, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 0);
    openFonts(12);
    drawMediumText(screen, "", 10, 40, 255, 255, 255);
    EXPECT_EQ(pixelsDifferingFrom(black, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), 0);
}

TEST_F(TextTest, ColoursUseTheLowByteOfEachComponent)
{
    drawMediumText(screen, "MMMM", 10, 10, 256 + 255, 512, 0);
    bool sawRed = false;
    for (int x = 10; x < 60 && !sawRed; ++x)
        for (int y = 10; y < 30; ++y) {
            const SDL_Color c = pixelAt(x, y);
            if (c.r > 200 && c.g < 30 && c.b < 30)
                sawRed = true;
        }
    EXPECT_TRUE(sawRed);
}
