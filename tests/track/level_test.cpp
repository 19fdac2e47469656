#include "state/game.h"
#include "support/stage.h"
#include "track/level.h"
#include <gtest/gtest.h>

namespace
{
// Writes a level 1 file into a staged folder and loads it as start-up does.
class LevelFile : public ::testing::Test
{
  protected:
    StagedResources stage{{"01.lvl"}};

    TileList load(const std::string& text)
    {
        stage.write("01.lvl", text);
        game.levelTileCount = countLevelTiles(1);
        TileList tiles(game.levelTileCount);
        EXPECT_TRUE(loadLevel(tiles, 1));
        return tiles;
    }

    std::vector<int> codes(const TileList& tiles)
    {
        std::vector<int> out;
        for (const Tile& t : tiles)
            out.push_back(t.code);
        return out;
    }
};

std::string rowsOf(int n, const std::string& row)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += row + "\n";
    return text;
}
} // namespace

TEST(LevelPath, NumbersBelowTenHaveALeadingZero)
{
    EXPECT_EQ(levelFilePath(1), "_resources/01.lvl");
    EXPECT_EQ(levelFilePath(9), "_resources/09.lvl");
    EXPECT_EQ(levelFilePath(10), "_resources/10.lvl");
    EXPECT_EQ(levelFilePath(0), "_resources/00.lvl");
    EXPECT_EQ(levelFilePath(123), "_resources/123.lvl");
}

TEST(TileCode, ReadLikeAFormattedInt)
{
    EXPECT_EQ(parseTileCode("07"), 7);
    EXPECT_EQ(parseTileCode("97"), 97);
    EXPECT_EQ(parseTileCode(" 5"), 5);
    EXPECT_EQ(parseTileCode("5 "), 5);
    EXPECT_EQ(parseTileCode("-2"), -2);
    EXPECT_EQ(parseTileCode("+3"), 3);
    EXPECT_EQ(parseTileCode(std::string("4\0", 2)), 4);
    EXPECT_EQ(parseTileCode("ab"), 0); // no number: an empty cell
    EXPECT_EQ(parseTileCode("--"), 0);
}

TEST_F(LevelFile, TwelveRowsPlaceNinetySixTiles)
{
    TileList tiles = load(rowsOf(12, "01,02,03,04,05,06,07,08"));
    ASSERT_EQ(tiles.size(), 96u);
    EXPECT_EQ(tiles.back().x, 280);
    EXPECT_EQ(tiles.back().y, 440);
    EXPECT_EQ(tiles[9].x, 40);
    EXPECT_EQ(tiles[9].y, 40);
    EXPECT_EQ(tiles[9].code, 2);
    EXPECT_EQ(scrollStartY, 240);
    load(rowsOf(3, "0102030405060708"));
    EXPECT_EQ(scrollStartY, -120);
}

TEST_F(LevelFile, CommasNeitherStartNorEndATokens)
{
    EXPECT_EQ(codes(load("1,2,3\n")), (std::vector<int>{12, 3}));
    EXPECT_EQ(codes(load("01,02,03,\n")), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(codes(load("0,102\n")), (std::vector<int>{1, 2}));
    EXPECT_EQ(codes(load("-2, 7\n")), (std::vector<int>{-2, 7}));
}

TEST_F(LevelFile, ANinthTokenShiftsTheRestWithoutChangingTheRowCount)
{
    TileList tiles = load("01,02,03,04,05,06,07,08,09\n10,11,12,13,14,15,16,17\n");
    ASSERT_EQ(tiles.size(), 17u);
    EXPECT_EQ(tiles[8].code, 9);
    EXPECT_EQ(tiles[8].x, 0);
    EXPECT_EQ(tiles[8].y, 40);
    EXPECT_EQ(tiles[9].x, 40);
    EXPECT_EQ(scrollStartY, 2 * 40 - 240);
}

TEST_F(LevelFile, AnEmptyLineEndsTheLevelAndLineEndsDoNotMatter)
{
    const std::string row = "02,02,02,02,02,02,02,02";
    TileList lf = load(rowsOf(5, row) + "\n" + rowsOf(4, "01,01,01,01,01,01,01,01"));
    EXPECT_EQ(lf.size(), 40u);
    EXPECT_EQ(countLevelLines(1), 5);
    std::string crlf;
    for (int i = 0; i < 5; ++i)
        crlf += row + "\r\n";
    TileList withCr = load(crlf + "\r\n" + "01,01\r\n");
    EXPECT_EQ(codes(withCr), codes(lf));
    EXPECT_EQ(countLevelLines(1), 5);
}

TEST_F(LevelFile, LinesLongerThanAnyBufferAreReadWhole)
{
    std::string longLine;
    for (int i = 0; i < 5000; ++i)
        longLine += "02,";
    longLine += "11";
    TileList tiles = load(longLine + "\n");
    ASSERT_EQ(tiles.size(), 5001u);
    EXPECT_EQ(tiles.back().code, 11);
    EXPECT_EQ(tiles.back().y, 5000 / 8 * 40);
}

TEST_F(LevelFile, MissingFileFailsAndEmptyFileGivesAnEmptyTrack)
{
    stage.remove("01.lvl");
    EXPECT_EQ(countLevelLines(1), 0);
    EXPECT_EQ(countLevelTiles(1), 0);
    TileList none;
    EXPECT_FALSE(loadLevel(none, 1));
    EXPECT_EQ(scrollStartY, -240);
    EXPECT_TRUE(load("").empty());
    EXPECT_TRUE(load("\n01,02\n").empty());
}

// A course is read once: the list takes the tiles the file holds when it is read, whatever
// its size before, and the tile count follows it; a file that cannot be opened leaves both.
TEST_F(LevelFile, TheListTakesWhatTheFileHoldsWhenRead)
{
    TileList tiles(96);
    stage.write("01.lvl", rowsOf(2, "01,01,01,01,01,01,01,01") + "01\n");
    ASSERT_TRUE(loadLevel(tiles, 1));
    EXPECT_EQ(tiles.size(), 17u);
    EXPECT_EQ(game.levelTileCount, 17);
    EXPECT_TRUE(courseHasGaps); // a short course, a row short of tiles
    stage.remove("01.lvl");
    EXPECT_FALSE(loadLevel(tiles, 1));
    EXPECT_EQ(tiles.size(), 17u);
    EXPECT_EQ(game.levelTileCount, 17);
    stage.write("01.lvl", rowsOf(7, "01,02,03,04,05,06,07,08"));
    ASSERT_TRUE(loadLevel(tiles, 1));
    EXPECT_FALSE(courseHasGaps); // a screen and a row of known codes: 7 rows
    stage.write("01.lvl", rowsOf(6, "01,02,03,04,05,06,07,08"));
    ASSERT_TRUE(loadLevel(tiles, 1));
    EXPECT_TRUE(courseHasGaps); // 6: the view runs past the last row
    stage.write("01.lvl", rowsOf(7, "01,02,03,04,05,06,07,00"));
    ASSERT_TRUE(loadLevel(tiles, 1));
    EXPECT_TRUE(courseHasGaps); // a code without a picture
}
