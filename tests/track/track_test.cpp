#include "rules/game_state.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <gtest/gtest.h>
#include <vector>

namespace
{
class TrackTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        resetEveryRoom();
        drawn.clear();
    }
    static inline std::vector<std::pair<int, int>> drawn; // (tile x, screen y)
    static void record(const Tile& t, int screenY) { drawn.emplace_back(t.x, screenY); }

    static TileList rows(int n, std::vector<int> row = {1, 3, 2, 2, 2, 2, 2, 4})
    {
        TileList tiles;
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < 8; ++c)
                tiles.emplace_back(c * 40, r * 40, row[c]);
        game.levelTileCount = int(tiles.size());
        scrollStartY = n * 40 - 240;
        return tiles;
    }
};
} // namespace

TEST_F(TrackTest, ScrollWrapsToTheStartOnlyWhenItWouldGoNegative)
{
    scrollStartY = 1000;
    trackView.scrollY = 10;
    advanceScroll(-15);
    EXPECT_EQ(trackView.scrollY, 1000);
    trackView.scrollY = 0;
    advanceScroll(0);
    EXPECT_EQ(trackView.scrollY, 0);
    advanceScroll(25); // no lower limit
    EXPECT_EQ(trackView.scrollY, 25);
}

TEST_F(TrackTest, ScanStartLooksBackFromTheView)
{
    trackView.scrollY = 100;
    EXPECT_EQ(scanStart(6), 14);
    EXPECT_EQ(scanStart(18), 2);
    trackView.scrollY = 20;
    EXPECT_EQ(scanStart(6), 0);
    EXPECT_EQ(scanStart(18), 0);
}

TEST_F(TrackTest, CodeTable)
{
    for (int road : {2, 11, 12, 97, 99, -2, -12, -97})
        EXPECT_TRUE(isRoadCode(road)) << road;
    for (int other : {0, 1, 3, 10, 13, 18, 19, 96, 98, 100, -98})
        EXPECT_FALSE(isRoadCode(other)) << other;
    for (int dark : {10, 11, 18, -10, -11, -18})
        EXPECT_TRUE(isDarkCode(dark)) << dark;
    for (int light : {2, 9, 12, 17, 19, 97})
        EXPECT_FALSE(isDarkCode(light)) << light;
    EXPECT_EQ(tilePictureFor(1), 1);
    EXPECT_EQ(tilePictureFor(18), 18);
    for (int marker : {97, 98, 99})
        EXPECT_EQ(tilePictureFor(marker), 2);
    for (int nothing : {0, 19, 96, 100, -2})
        EXPECT_EQ(tilePictureFor(nothing), 0) << nothing;
}

TEST_F(TrackTest, DrawingWindowEdges)
{
    TileList tiles = rows(20);
    trackView.scrollY = 75; // tile 8's last five lines are on screen, but the scan starts at 9
    stepTrack(tiles, 0, record);
    EXPECT_EQ(trackView.diagFirstTile, 9);
    EXPECT_EQ(trackView.diagScroll, 75);
    EXPECT_EQ(drawn.front(), std::make_pair(40, -35));
    drawn.clear();
    trackView.scrollY = 74;
    stepTrack(tiles, 0, record);
    EXPECT_EQ(drawn.front(), std::make_pair(0, -34));
    // The lowest row drawn has its top 240 below the view's top at most.
    drawn.clear();
    trackView.scrollY = 80;
    stepTrack(tiles, 0, record);
    EXPECT_EQ(drawn.back().second, 240);
    drawn.clear();
    trackView.scrollY = 79;
    stepTrack(tiles, 0, record);
    EXPECT_EQ(drawn.back().second, 201);
    // 40 above is in the window, 41 is not.
    drawn.clear();
    trackView.scrollY = 40 + 40;
    stepTrack(tiles, 0, record);
    EXPECT_EQ(drawn.front().second, -40);
    drawn.clear();
    trackView.scrollY = 40 + 41;
    stepTrack(tiles, 0, record);
    EXPECT_EQ(drawn.front().second, -1);
}

TEST_F(TrackTest, MarkersRegisterOnceUntilReset)
{
    TileList tiles = rows(12);
    tiles[2 * 8 + 3].code = 97;
    tiles[3 * 8 + 2].code = 99;
    for (int frame = 0; frame < 3; ++frame)
        stepTrack(tiles, 0, nullptr);
    EXPECT_TRUE(trackView.trackMarkers[0].active);
    EXPECT_EQ(trackView.trackMarkers[0].tileIndex, 19);
    EXPECT_EQ(trackView.trackMarkers[0].code, 97);
    EXPECT_EQ(trackView.trackMarkers[1].code, 99);
    EXPECT_FALSE(trackView.trackMarkers[2].active);
    // Driving a whole lap (the wrap brings the tiles back) registers nothing new.
    for (int frame = 0; frame < 40; ++frame)
        stepTrack(tiles, -20, nullptr);
    EXPECT_FALSE(trackView.trackMarkers[2].active);
    resetMarkers();
    EXPECT_EQ(trackView.trackMarkers[0].tileIndex, -1);
    EXPECT_FALSE(trackView.trackMarkers[0].active);
}

TEST_F(TrackTest, AFullMarkerTableIgnoresMore)
{
    for (int i = 0; i < MARKER_SLOTS; ++i)
        offerMarker(1000 + i, 97);
    TileList tiles = rows(8);
    tiles[0].code = 98;
    stepTrack(tiles, 0, nullptr);
    for (const TrackMarker& m : trackView.trackMarkers)
        EXPECT_NE(m.tileIndex, 0);
}

TEST_F(TrackTest, ShortLevelsAndPositiveDeltas)
{
    TileList tiles = rows(3);
    EXPECT_EQ(scrollStartY, -120);
    trackView.scrollY = 0;
    stepTrack(tiles, -1, record); // wraps to -120 every frame
    EXPECT_EQ(trackView.scrollY, -120);
    EXPECT_EQ(drawn.front().second, 120);
    drawn.clear();
    trackView.scrollY = 5000; // below the last row: nothing to draw
    stepTrack(tiles, 20, record);
    EXPECT_TRUE(drawn.empty());
    TileList empty;
    stepTrack(empty, -5, record);
    EXPECT_TRUE(drawn.empty());
}

TEST_F(TrackTest, SignedCodesDrawNothingButKeepTheirMeaning)
{
    EXPECT_TRUE(isRoadCode(-2));
    EXPECT_TRUE(isRoadCode(-11));
    EXPECT_TRUE(isDarkCode(-10));
    EXPECT_TRUE(isDarkCode(-18));
    EXPECT_FALSE(isRoadCode(98));
    TileList tiles = rows(6, {-2, -11, -10, -18, 0, 19, 96, 100});
    stepTrack(tiles, 0, record);
    EXPECT_TRUE(drawn.empty());
}
