// The tables of best runs, the initials entered for them, and the list of courses.
#include "platform/clock.h"
#include "platform/keys.h"
#include "rules/courses.h"
#include "rules/name_entry.h"
#include "rules/settings.h"
#include "state/score_table.h"
#include "support/stage.h"
#include "track/course.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
TableEntry run(int score, const char* stamp, const char* course = "Coast Road")
{
    return {course, score, "ABC", "2026-12-09", stamp};
}
} // namespace

TEST(ScoreTable, TenBestOfEachCourseTheEarlierRunFirstAmongEquals)
{
    std::vector<TableEntry> ours, theirs;
    for (int i = 0; i < 10; ++i)
        ours.push_back(run(100 * (i + 1), ("1-" + std::to_string(i)).c_str()));
    theirs = {run(500, "0-early"), run(500, "2-late"), run(50, "0-low"), run(9, "x", "Motorway")};
    scoreTables = ScoreTables();
    scoreTables.entries = mergeTables(ours, theirs);
    const auto coast = tableOf("Coast Road");
    ASSERT_EQ(coast.size(), 10u);
    EXPECT_EQ(coast[0].score, 1000);
    EXPECT_EQ(coast[5].stamp, "0-early"); // 500 three times: in the order they were run
    EXPECT_EQ(coast[6].stamp, "1-4");
    EXPECT_EQ(coast[7].stamp, "2-late");
    EXPECT_EQ(coast[9].score, 300); // 200, 100 and 50 fell off
    EXPECT_EQ(tableBest("Motorway"), 9);
    // The tenth place and the eleventh: an equal score ranks below the runs already there.
    EXPECT_EQ(placeFor("Coast Road", 301), 9);
    EXPECT_EQ(placeFor("Coast Road", 300), -1);
    EXPECT_EQ(placeFor("Night Run", 1), 0);
    EXPECT_EQ(placeFor("Night Run", 0), -1);
    // The file's text reads back as it was; a line that does not is damage.
    std::vector<TableEntry> back;
    ASSERT_TRUE(parseTables(tablesText(scoreTables.entries), back));
    EXPECT_EQ(tablesText(back), tablesText(scoreTables.entries));
    const std::string longest(64, 'x');
    ASSERT_TRUE(parseTables(longest + "\t12\tABC\t2026-12-09\ts\n", back));
    EXPECT_FALSE(parseTables(longest + "x\t12\tABC\t2026-12-09\ts\n", back));
    for (const char* bad :
         {"Coast Road\t12x\tABC\t2026-12-09\ts\n", "Coast Road\t12\tab\t2026-12-09\ts\n",
          "Coast Road\t12\tABC\t2026-12-09\n", "\t12\tABC\t2026-12-09\ts\n"})
        EXPECT_FALSE(parseTables(bad, back)) << bad;
}

// Two copies enter a run at the same moment: the folder's lock makes them take turns, and
// each merges what the other saved, so both entries are kept. A damaged file is moved aside.
TEST(ScoreTable, TwoCopiesBothKeepTheirEntriesAndADamagedFileIsSetAside)
{
    StagedResources stage;
    const std::string path = stage.path("scores.txt");
    for (int copy = 0; copy < 2; ++copy)
        if (fork() == 0) {
            loadScoreTables(path);
            for (int i = 0; i < 20; ++i)
                enterRun("Coast Road", 100 + i, copy ? "BBB" : "AAA");
            _exit(0);
        }
    for (int copy = 0; copy < 2; ++copy) {
        int status = 0;
        wait(&status);
        ASSERT_EQ(status, 0);
    }
    loadScoreTables(path);
    const auto table = tableOf("Coast Road");
    ASSERT_EQ(table.size(), 10u);
    EXPECT_EQ(table[0].score, 119);
    EXPECT_EQ(table[1].score, 119); // one from each copy
    EXPECT_NE(table[0].initials, table[1].initials);
    stage.write("scores.txt", "Coast Road\t12\n");
    testing::internal::CaptureStderr();
    loadScoreTables(path);
    loadScoreTables(path); // said once
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Quindara: " + path + " cannot be read as the table of best runs; it is kept as " +
                  path + ".damaged, and the tables start empty.\n");
    EXPECT_TRUE(tableOf("Coast Road").empty());
    EXPECT_EQ(stage.read("scores.txt.damaged"), "Coast Road\t12\n");
}

TEST(NameEntry, TypedOrOnAPad)
{
    struct Case {
        std::vector<int> keys, buttons;
        const char* letters;
        bool done;
    } cases[] = {
        {{'z', 'q', KEY_BACKSPACE, 'x', '7', KEY_RETURN}, {}, "ZX7", true},
        {{'a', 'b', 'c', 'd'}, {}, "ABD", false},                    // a fourth replaces the third
        {{KEY_BACKSPACE, KEY_BACKSPACE}, {}, "   ", false},          // nothing left to take back
        {{KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_DOWN}, {}, " B ", false}, // A turns back to the end
        {{}, {4, 4, 15, 4, 6, 0, 2, 4, 8}, "CB.", true}, // down, A, right, up past the start, left
        {{}, {6, 6, 6, 4}, "A A", false},
    };
    for (const Case& c : cases) {
        InitialsEntry e;
        for (int k : c.keys)
            entryKey(e, k);
        for (int b : c.buttons)
            entryButton(e, b);
        EXPECT_EQ(e.letters, c.letters) << c.letters;
        EXPECT_EQ(e.done, c.done) << c.letters;
    }
}

// Half a minute without a press enters what is there.
TEST(NameEntry, ThirtySecondsWithoutAPressEnterWhatIsThere)
{
    StagedResources stage;
    Headless sdl;
    scoreTables.path.clear();
    const uint32_t start = ticksNow();
    EXPECT_TRUE(offerTableEntry("Night Run", 321));
    const uint32_t waited = ticksNow() - start;
    EXPECT_GE(waited, 30000u);
    EXPECT_LT(waited, 30000u + 19u); // within a frame of the half minute
    ASSERT_EQ(tableOf("Night Run").size(), 1u);
    EXPECT_EQ(tableOf("Night Run")[0].initials, "A  ");
    EXPECT_TRUE(offerTableEntry("Night Run", 0)); // a score that does not enter is not asked for
    EXPECT_EQ(ticksNow() - start, waited);        // without a wait
    tapKey(KEY_ESCAPE); // a quit asked for: what is there is entered, then the game ends
    EXPECT_FALSE(offerTableEntry("Night Run", 400));
    EXPECT_EQ(tableOf("Night Run").size(), 2u);
}

TEST(CourseList, ShippedThenOwnByFileNameEachNamed)
{
    StagedResources stage;
    const std::string shipped = stage.dir() + "/_resources", own = stage.dir() + "/own";
    stage.write("01.lvl", "02\n\nname: First\n");
    stage.write("02.lvl", "02\n\n  NAME:  Second  \n");
    stage.write("04.lvl", "02\n"); // after a gap: not listed
    std::filesystem::create_directories(own);
    for (auto [file, text] : {std::pair{"b.lvl", "02\n"},
                              {"a.lvl", "02\n\nname: first\n"},
                              {"c.txt", "02\n"},
                              {"d.lvl", "02\n\nname:\n"}})
        std::ofstream(own + "/" + file) << text;
    const auto list = listCourses(shipped, own);
    std::vector<std::string> names;
    for (const Course& c : list)
        names.push_back(c.name + (c.own ? "*" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"First", "Second", "first (a)*", "b*", "d*"}));
    EXPECT_EQ(findCourse(list, "SECOND"), 1);
    EXPECT_EQ(findCourse(list, own + "/b.lvl"), 3);
    EXPECT_EQ(findCourse(list, "Third"), -1);
    // Two courses are enough to step through, round and round; the choice is kept, unless this
    // is a session that saves nothing.
    TileList tiles;
    courseList = CourseList();
    courseList.courses = {list[0], list[1]};
    for (int step : {+1, +1, -1}) {
        settingsFile.savesDisabled = step < 0;
        stepCourse(step);
        applyCourseStep(tiles);
    }
    settingsFile.savesDisabled = false;
    EXPECT_EQ(courseList.chosen, 1);
    EXPECT_EQ(stage.read("course"), "First\n");
}
