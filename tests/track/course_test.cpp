// The course itself, data/01.lvl: well-formed, complete, and drivable from end to end.
#include "app/session.h"
#include "pilot.h"
#include "present/render.h"
#include "rules/intro.h"
#include "rules/loop.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace
{
std::vector<std::vector<int>> readCourse()
{
    std::ifstream in(sourceDir() + "/data/01.lvl");
    std::vector<std::vector<int>> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<int> row;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ','))
            row.push_back(std::stoi(cell));
        rows.push_back(row);
    }
    return rows;
}
} // namespace

TEST(Course, IsWellFormedAndUsesEveryCode)
{
    const auto rows = readCourse();
    ASSERT_GT(rows.size(), 12u);
    std::set<int> used;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 8u);
        used.insert(row.begin(), row.end());
    }
    for (int code = 1; code <= 18; ++code)
        EXPECT_TRUE(used.count(code)) << code;
    for (int code : {97, 98, 99})
        EXPECT_TRUE(used.count(code)) << code;
    // A lap at top speed (20 pixels every 19 ms frame) takes 60 to 120 seconds.
    const double lapSeconds = rows.size() * 40.0 / 20.0 * 0.019;
    EXPECT_GE(lapSeconds, 60.0);
    EXPECT_LE(lapSeconds, 120.0);
}

TEST(Course, WrapsWithoutASeamAndStartsOnTheRoad)
{
    const auto rows = readCourse();
    const size_t n = rows.size();
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(rows[i], rows[n - 6 + i]) << i;
    // A new game puts the car at x 227: its terrain is the column to the right of 200..239.
    for (size_t i = n - 6; i < n; ++i) {
        EXPECT_TRUE(isRoadCode(rows[i][5]));
        EXPECT_TRUE(isRoadCode(rows[i][6]));
    }
}

TEST(Course, MarkersAreSingleTilesAtTheRoadsEdge)
{
    const auto rows = readCourse();
    const int n = int(rows.size());
    int checkpoints = 0, markers = 0;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < 8; ++c) {
            const int code = rows[r][c];
            if (code < 97 || code > 99)
                continue;
            ++markers;
            checkpoints += code == 97;
            EXPECT_GE(r, 7) << "marker in the first rows, row " << r;
            EXPECT_LT(r, n - 7) << "marker in the last rows, row " << r;
            // Alone: no marker beside, above or below it.
            for (auto [dr, dc] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}}) {
                const int rr = r + dr, cc = c + dc;
                if (rr >= 0 && rr < n && cc >= 0 && cc < 8) {
                    EXPECT_FALSE(rows[rr][cc] >= 97 && rows[rr][cc] <= 99) << r << "," << c;
                }
            }
            // At the left edge of the road: nothing drivable to its left, road to its right.
            EXPECT_TRUE(c == 0 || !isRoadCode(rows[r][c - 1])) << r << "," << c;
            ASSERT_LT(c, 7);
            EXPECT_TRUE(isRoadCode(rows[r][c + 1])) << r << "," << c;
        }
    EXPECT_GE(checkpoints, 3);
    EXPECT_LE(checkpoints, 4);
    EXPECT_LE(markers, MARKER_SLOTS);
}

TEST(Course, ASimpleDriverFinishesALapInTime)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    TileList tiles = loadCourse();
    FrameLoop loop;
    startRun(loop, tiles);

    Pilot driver = racer();
    int frames = 0, topSpeedFrames = 0, previousScroll = 0;
    bool lapStarted = false, lapDone = false;
    int checkpointsCounted = 0, lastLimit = game.timeLimit;
    const int maxFrames = 120 * 1000 / 19;
    while (frames < maxFrames && game.gameState == STATE_PLAYING) {
        driver.steer(tiles);
        ASSERT_FALSE(runFrame(loop, tiles));
        ++frames;
        topSpeedFrames += playerCar.speed == -20;
        if (game.timeLimit > lastLimit)
            ++checkpointsCounted;
        lastLimit = game.timeLimit;
        if (!lapStarted && trackView.scrollY == scrollStartY)
            lapStarted = true;
        else if (lapStarted && trackView.scrollY > previousScroll + 1000) {
            lapDone = true;
            break;
        }
        previousScroll = trackView.scrollY;
        ASSERT_GE(trafficCar.x, 0);
        ASSERT_LE(trafficCar.x, 290);
    }
    EXPECT_TRUE(lapDone) << "after " << frames << " frames, scroll " << trackView.scrollY;
    EXPECT_GT(topSpeedFrames, frames / 2);
    EXPECT_GE(checkpointsCounted, 3);
    EXPECT_EQ(game.timeLimit, 60 + 30 * checkpointsCounted);
    // Markers met on this lap do not count again on the next one.
    const int limit = game.timeLimit;
    for (int i = 0; i < 900 && game.gameState == STATE_PLAYING; ++i) {
        driver.steer(tiles);
        runFrame(loop, tiles);
    }
    EXPECT_EQ(game.timeLimit, limit);
    std::printf("lap: %d frames (%.1f s), %d at top speed, %d checkpoints\n", frames,
                frames * 0.019, topSpeedFrames, checkpointsCounted);
}
