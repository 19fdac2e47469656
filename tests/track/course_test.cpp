// The shipped courses, data/NN.lvl: each one passes the course checker, starts on a straight
// and can be driven from end to end in time.
#include "app/session.h"
#include "pilot.h"
#include "present/intro.h"
#include "present/render.h"
#include "rules/courses.h"
#include "rules/loop.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/course_check.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/course.h"
#include "track/track.h"
#include <gtest/gtest.h>
#include <set>

namespace
{
constexpr int SHIPPED = 4;

std::string shipped(int n)
{
    return sourceDir() + "/data/0" + std::to_string(n) + ".lvl";
}

CourseText readShipped(int n)
{
    CourseText text;
    EXPECT_TRUE(readCourseText(shipped(n), text)) << shipped(n);
    return text;
}
} // namespace

TEST(Course, EveryShippedCourseHasANameAndNothingForTheChecker)
{
    const char* names[SHIPPED] = {"Quindara Ring", "Coast Road", "Night Run", "Motorway"};
    for (int n = 1; n <= SHIPPED; ++n) {
        const CourseText text = readShipped(n);
        for (const CourseFault& f : checkCourse(text))
            ADD_FAILURE() << shipped(n) << ": " << describeFault(f);
        EXPECT_EQ(courseNameOf(shipped(n)), names[n - 1]);
        // A run starts at x 227: its body over the columns 200..239 and 240..279, which hold
        // road for the first hundred rows, so that holding Up keeps it off the kerb.
        const int rows = static_cast<int>(text.rows.size());
        for (int r = rows - 100; r < rows; ++r)
            EXPECT_TRUE(isRoadCode(text.rows[r][5]) && isRoadCode(text.rows[r][6]))
                << shipped(n) << " row " << r + 1;
    }
}

TEST(Course, TheFirstUsesEveryCodeAndTakesOneToTwoMinutesALap)
{
    const CourseText text = readShipped(1);
    std::set<int> used;
    for (const auto& row : text.rows)
        used.insert(row.begin(), row.end());
    for (int code = 1; code <= 18; ++code)
        EXPECT_TRUE(used.count(code)) << code;
    for (int code : {97, 98, 99})
        EXPECT_TRUE(used.count(code)) << code;
    const double lapSeconds = text.rows.size() / FULL_SPEED_ROWS_PER_SECOND;
    EXPECT_GE(lapSeconds, 60.0);
    EXPECT_LE(lapSeconds, 120.0);
}

TEST(Course, MarkersAreSingleTilesAtTheRoadsEdge)
{
    for (int course = 1; course <= SHIPPED; ++course) {
        const auto rows = readShipped(course).rows;
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
        EXPECT_GE(checkpoints, 3) << course;
        EXPECT_LE(checkpoints, 4) << course;
        EXPECT_LE(markers, MARKER_SLOTS) << course;
    }
}

class EveryCourse : public ::testing::TestWithParam<int>
{
};

TEST_P(EveryCourse, ASimpleDriverFinishesALapInTime)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    TileList tiles = loadCourse();
    findCourses();
    ASSERT_EQ(courseList.courses.size(), size_t(SHIPPED));
    ASSERT_TRUE(chooseCourse(tiles, GetParam()));
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
    std::printf("%s: %d frames (%.1f s), %d at top speed, %d checkpoints\n",
                courseList.courses[GetParam()].name.c_str(), frames, frames * 0.019, topSpeedFrames,
                checkpointsCounted);
}
INSTANTIATE_TEST_SUITE_P(Shipped, EveryCourse, ::testing::Range(0, SHIPPED));
