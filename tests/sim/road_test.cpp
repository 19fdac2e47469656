#include "rules/game_state.h"
#include "sim/car.h"
#include "sim/road.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <gtest/gtest.h>

namespace
{
class RoadTest : public ::testing::Test
{
  protected:
    void SetUp() override { resetEveryRoom(); }
    // Rows are laid from track y 0; with scrollY 0 a row's screen top is its track y.
    int under = 0;
    int terrain(const TileList& tiles, int x, int rowY, bool forTraffic = false)
    {
        under = 0;
        return terrainUnder(tiles, x, rowY, forTraffic, false, under);
    }
};
const std::vector<int> ROAD_ROW = {1, 3, 2, 2, 12, 2, 4, 1};
} // namespace

TEST_F(RoadTest, TheProbePointIsThreePixelsIntoTheCar)
{
    TileList tiles = makeTiles({ROAD_ROW, ROAD_ROW});
    EXPECT_EQ(terrain(tiles, 80, 60), 2);   // left edge on tile 2 (x 80): px 83 inside it
    EXPECT_EQ(terrain(tiles, 77, 60), 3);   // px 80 still belongs to the tile on the left
    EXPECT_EQ(terrain(tiles, 131, 60), 2);  // 11 pixels into the road at 120: its own tile
    EXPECT_EQ(terrain(tiles, 132, 60), 12); // 12 pixels in: the right neighbour counts
    EXPECT_EQ(under, 12);
    EXPECT_EQ(terrain(tiles, 100, 500), -1); // no row there
    EXPECT_EQ(under, 0);
}

TEST_F(RoadTest, EdgesMakeOnlyAMovingPlayerSkid)
{
    TileList tiles = makeTiles({ROAD_ROW, ROAD_ROW});
    // Right edge: 12+ into the last road tile (x 200), kerb to the right, road to the left.
    playerCar.speed = -5;
    EXPECT_EQ(terrain(tiles, 215, 60), SKID_CODE);
    EXPECT_EQ(terrain(tiles, 215, 60, true), 4); // the traffic probe sees the plain code
    playerCar.speed = 0;
    EXPECT_EQ(terrain(tiles, 215, 60), 4);
    // Left edge: the last 15 pixels of the kerb tile, road to its right.
    playerCar.speed = -5;
    EXPECT_EQ(terrain(tiles, 62, 60), SKID_CODE);
    EXPECT_EQ(terrain(tiles, 55, 60), 3);
    // A one-tile road has no road on its left: its right edge is plain kerb, no skid.
    TileList narrow = makeTiles({{1, 3, 2, 4, 1, 1, 1, 1}, {1, 3, 2, 4, 1, 1, 1, 1}});
    EXPECT_EQ(terrain(narrow, 95, 60), 4);
}

TEST_F(RoadTest, TheLastTilesMissingNeighbourIsOffRoad)
{
    TileList tiles = makeTiles({{1, 1, 1, 1, 1, 1, 1, 2}});
    playerCar.speed = -10;
    EXPECT_EQ(terrain(tiles, 280 + 14, 20), -1);
    EXPECT_EQ(under, -1);
    // However far the scroll or the car is off, nothing is read past the list.
    for (int scroll : {-400, -80, 0, 39, 40, 1000})
        for (int x : {-100, 0, 150, 290, 400}) {
            trackView.scrollY = scroll;
            terrain(tiles, x, 20);
            laneEdge(tiles, 20, false, true);
            roadEdges(tiles, 20);
        }
}

TEST_F(RoadTest, RowBoundariesAnswerWithTheLowerRow)
{
    TileList tiles = makeTiles({{1, 1, 2, 2, 2, 2, 1, 1}, {1, 1, 12, 12, 12, 12, 1, 1}});
    EXPECT_EQ(terrain(tiles, 100, 40), 12);
    EXPECT_EQ(roadReadings.diagTileRow, 40);
    EXPECT_EQ(laneEdge(tiles, 40, true, false), 80);
}

TEST_F(RoadTest, SplitsAreReadInListOrder)
{
    TileList tiles =
        makeTiles({{3, 2, 2, 16, 15, 2, 2, 4}, {1, 1, 1, 1, 1, 1, 2, 1}, {2, 1, 1, 1, 1, 1, 1, 1}});
    EXPECT_TRUE(roadSplitsAhead(tiles, 0));
    EXPECT_FALSE(roadSplitsAhead(tiles, 5));
    EXPECT_TRUE(roadSplitsAhead(tiles, 14));  // runs on into the next row
    EXPECT_FALSE(roadSplitsAhead(tiles, 20)); // cut at the last tile
}

TEST_F(RoadTest, LaneEdgesAndTheSecondCarriageway)
{
    TileList tiles = makeTiles({ROAD_ROW, {3, 2, 2, 16, 15, 2, 2, 4}});
    game.gameState = STATE_PLAYING;
    EXPECT_EQ(laneEdge(tiles, 20, true, false), 80);
    EXPECT_EQ(laneEdge(tiles, 20, false, false), 210);
    const RoadEdges plain = roadEdges(tiles, 20);
    EXPECT_EQ(plain.left, 80);
    EXPECT_EQ(plain.right, 210);
    EXPECT_FALSE(plain.split);
    // On a split row the edges move 160 right for a player on the right-hand side.
    playerCar.x = 120;
    EXPECT_EQ(laneEdge(tiles, 60, true, false), 40);
    playerCar.x = 121;
    EXPECT_EQ(laneEdge(tiles, 60, true, false), 200);
    const RoadEdges split = roadEdges(tiles, 60);
    EXPECT_TRUE(split.split);
    EXPECT_EQ(split.left, 200);
    EXPECT_EQ(split.right, 90 + 160);
}

TEST_F(RoadTest, ARowWithoutRoadAndARowStartingAfterRoad)
{
    TileList tiles = makeTiles({{1, 1, 1, 1, 1, 1, 1, 2}, {1, 1, 1, 1, 1, 1, 1, 1}});
    game.gameState = STATE_PLAYING;
    EXPECT_EQ(roadEdges(tiles, 60).left, -1);
    EXPECT_EQ(laneEdge(tiles, 60, true, false), -1);
    // The predecessor of the row's first tile is the last tile of the row above: road.
    EXPECT_EQ(laneEdge(tiles, 60, false, false), 290);
    roadReadings.playerTerrain = 7;
    roadEdges(tiles, 60);
    EXPECT_EQ(roadReadings.playerTerrain, 0);
}
