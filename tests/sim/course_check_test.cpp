// The course checker: nothing to say on a sound course, one line for each kind of fault.
#include "sim/car.h"
#include "sim/course_check.h"
#include "sim/player.h"
#include "sim/road.h"
#include "state/game.h"
#include "track/track.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace
{
using Rows = std::vector<std::vector<int>>;
const std::vector<int> ROAD = {1, 3, 2, 2, 2, 2, 4, 1}; // road in columns 2 to 5

// `n` rows of plain road changed by `edit`, with a checkpoint at the left edge of the road in
// row `checkpoint` (counted from the top, as the checker counts).
std::vector<std::string> faultsOf(int n, int checkpoint, const std::function<void(Rows&)>& edit)
{
    CourseText text;
    text.rows.assign(n, ROAD);
    edit(text.rows);
    if (checkpoint > 0) {
        auto& row = text.rows[checkpoint - 1];
        *std::find_if(row.begin(), row.end(), [](int c) { return c == 2; }) = 97;
    }
    std::vector<std::string> lines;
    for (const CourseFault& f : checkCourse(text))
        lines.push_back(describeFault(f));
    return lines;
}
} // namespace

TEST(CourseCheck, NamesEachFaultWithItsRowAndColumn)
{
    const std::vector<int> split = {2, 2, 16, 15, 2, 2, 4, 1};
    struct Case {
        const char* what;
        std::function<void(Rows&)> edit;
        std::vector<std::string> says;
    } cases[] = {
        {"a sound course", [](Rows&) {}, {}},
        {"a row of seven tiles",
         [](Rows& r) { r[2].pop_back(); },
         {"row 3: the row has 7 tiles, not 8"}},
        {"an unknown code",
         [](Rows& r) { r[8][1] = 42; },
         {"row 9, column 2: unknown tile code 42"}},
        {"no road", [](Rows& r) { r[8].assign(8, 1); }, {"row 9: no road in the row"}},
        {"a jump sideways",
         [](Rows& r) { r[8] = {2, 2, 4, 1, 1, 1, 1, 1}; },
         {"row 8, column 3: the road jumps sideways further than a car can follow",
          "row 9, column 1: the road jumps sideways further than a car can follow"}},
        {"a split, the road before it seen as a split too",
         [&](Rows& r) { r[9] = r[10] = split; },
         {"row 9: a crash here slides the car under the side panel",
          "row 9: the road narrows here with no sign 99 in the 10 rows before",
          "row 11: the road opens here with no sign 98 in the 10 rows before"}},
        {"a narrowing and an opening without signs",
         [](Rows& r) {
             for (int i = 8; i <= 10; ++i)
                 r[i] = {1, 1, 3, 2, 2, 4, 1, 1};
         },
         {"row 8: the road opens here with no sign 98 in the 10 rows before",
          "row 11: the road narrows here with no sign 99 in the 10 rows before"}},
        {"the same, signed",
         [](Rows& r) {
             for (int i = 8; i <= 10; ++i)
                 r[i] = {1, 1, 3, 2, 2, 4, 1, 1};
             r[11][2] = 99, r[9][3] = 98;
         },
         {}},
        {"a bend a column over and back, one column in common: no jump",
         [](Rows& r) {
             for (int i = 8; i <= 10; ++i)
                 r[i] = {1, 1, 3, 2, 2, 4, 1, 1};
             r[9] = {1, 3, 2, 98, 4, 1, 1, 1};
             r[11][2] = 99;
         },
         {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(faultsOf(18, 7, c.edit), c.says) << c.what;
    // A sign counts ten rows before the change it announces, not eleven.
    for (const int before : {10, 11}) {
        const auto says = faultsOf(30, 7, [&](Rows& r) {
            for (int i = 8; i <= 10; ++i)
                r[i] = {1, 1, 3, 2, 2, 4, 1, 1};
            r[10 + before][2] = 99, r[9][3] = 98;
        });
        EXPECT_EQ(says, before == 10
                            ? std::vector<std::string>{}
                            : std::vector<std::string>{"row 11: the road narrows here with "
                                                       "no sign 99 in the 10 rows before"})
            << before;
    }
    // Road in the eighth column and a crash slide past the panel: every row says so (the
    // first row's road ends nowhere: the game reads on from the row before it, as here).
    const auto under = faultsOf(18, 7, [](Rows& r) {
        for (auto& row : r)
            row = {1, 1, 1, 3, 2, 2, 2, 2};
    });
    ASSERT_EQ(under.size(), 35u);
    EXPECT_EQ(under[0], "row 1, column 8: road under the side panel (it covers x 269 to 319)");
    EXPECT_EQ(under[2], "row 2: a crash here slides the car under the side panel");
    const auto slide = faultsOf(18, 7, [](Rows& r) {
        for (auto& row : r)
            row = {1, 1, 3, 2, 2, 2, 2, 4};
    });
    ASSERT_EQ(slide.size(), 18u);
    EXPECT_EQ(slide[17], "row 18: a crash here slides the car under the side panel");
}

// The time a run starts with and each checkpoint's 30 s, at full speed: the limits to a row.
TEST(CourseCheck, CheckpointsWithinReachAtFullSpeed)
{
    const int first = static_cast<int>(60 * FULL_SPEED_ROWS_PER_SECOND);   // rows from the start
    const int between = static_cast<int>(30 * FULL_SPEED_ROWS_PER_SECOND); // and between two
    ASSERT_EQ(first, 1578);
    ASSERT_EQ(between, 789);
    // One checkpoint: reached `d` rows into a lap of `between` rows (the six shown at both ends
    // come round again), and again a lap later.
    for (int lap : {between, between + 1}) {
        const int n = lap + 6;
        const auto says = faultsOf(n, n / 2, [](Rows&) {});
        EXPECT_EQ(says.size(), lap > between ? 1u : 0u) << lap;
    }
    const int n = first + 200;
    EXPECT_EQ(faultsOf(n, n - first, [](Rows&) {}).size(), 1u); // too far, and too far apart
    EXPECT_EQ(faultsOf(n, n - first + 1, [](Rows&) {}).front(),
              "row " + std::to_string(n - first + 1) +
                  ": this checkpoint is too far from the one before to reach in 30 seconds");
    EXPECT_EQ(faultsOf(18, 0, [](Rows&) {}),
              std::vector<std::string>{"no checkpoint: every run ends after 60 seconds"});
    EXPECT_EQ(faultsOf(11, 4, [](Rows&) {}),
              std::vector<std::string>{"the course has 11 rows; it needs at least 12"});
}

// The checker asks the game's own road queries: on every kind of row, its word on a crash's
// slide is what the game does (a car right of the middle, on a split, takes the second
// carriageway, as the checker assumes).
TEST(CourseCheck, AgreesWithTheGameOnWhereACrashSlides)
{
    const std::vector<std::vector<int>> layouts = {ROAD,
                                                   {1, 3, 2, 2, 2, 2, 2, 4},
                                                   {2, 2, 16, 15, 2, 2, 4, 1},
                                                   {1, 1, 3, 2, 2, 4, 1, 1},
                                                   {2, 2, 2, 2, 2, 2, 4, 1},
                                                   {1, 1, 1, 1, 3, 2, 2, 4}};
    int under = 0;
    for (const auto& layout : layouts) {
        CourseText text;
        text.rows.assign(18, layout);
        text.rows[6][std::find(layout.begin(), layout.end(), 2) - layout.begin()] = 97;
        const auto faults = checkCourse(text);
        const bool checkerSays =
            std::any_of(faults.begin(), faults.end(), [](const CourseFault& f) {
                return f.row == 3 && f.what == "a crash here slides the car under the side panel";
            });
        TileList tiles;
        for (int r = 0; r < 18; ++r)
            for (int c = 0; c < 8; ++c)
                tiles.emplace_back(c * 40, r * 40, text.rows[r][c]);
        trackView = TrackView();
        game.gameState = STATE_PLAYING;
        playerCar.x = 200;
        const int lands = crashSlideTarget(laneEdge(tiles, 2 * 40 + 20, false, true)) + CAR_WIDTH;
        EXPECT_EQ(checkerSays, lands > PANEL_X) << layout[6] << layout[7];
        under += checkerSays;
    }
    EXPECT_EQ(under, 2); // both sides of the panel's edge are tried
    game = GameVariables();
    playerCar = Car();
}
