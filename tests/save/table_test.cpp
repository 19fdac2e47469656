// The tables of best runs, the initials entered for them, and the list of courses.
#include "platform/clock.h"
#include "platform/keys.h"
#include "present/render.h"
#include "rules/courses.h"
#include "rules/game_state.h"
#include "rules/input.h"
#include "rules/name_entry.h"
#include "rules/scoring.h"
#include "rules/view_step.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/course.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
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
    // The file's text reads back as it was (a course named with a '#' too); a line that does not
    // is damage, and costs that line alone.
    std::vector<TableEntry> back;
    ASSERT_EQ(parseTables(tablesText(scoreTables.entries), back), 0);
    EXPECT_EQ(tablesText(back), tablesText(scoreTables.entries));
    const std::string longest(64, 'x'), good = "#1 Loop\t12\tAZ9\t2026-12-09\ts\n";
    ASSERT_EQ(parseTables(longest + "\t12\tABC\t2026-12-09\ts\n" + good, back), 0);
    EXPECT_EQ(back.size(), 2u);
    for (std::string bad : {longest + "x\t12\tABC\t2026-12-09\ts\n",
                            std::string("Coast Road\t12x\tABC\t2026-12-09\ts\n"),
                            std::string("Coast Road\t12\tab\t2026-12-09\ts\n"),
                            std::string("Coast Road\t12\tABC\t2026-12-09\n"),
                            std::string("\t12\tABC\t2026-12-09\ts\n"),
                            std::string("Coast\x01Road\t12\tABC\t2026-12-09\ts\n")}) {
        EXPECT_EQ(parseTables(bad + good, back), 1) << bad;
        EXPECT_EQ(tablesText(back), tablesText({{"#1 Loop", 12, "AZ9", "2026-12-09", "s"}})) << bad;
    }
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
    // A damaged line costs that line alone; the file as it was is kept, and a second damaged
    // file never overwrites the first kept copy.
    const std::string good = tablesText({table[0]});
    stage.write("scores.txt.damaged", "an earlier copy\n");
    stage.write("scores.txt", good + "Coast Road\t12\n");
    testing::internal::CaptureStderr();
    loadScoreTables(path);
    loadScoreTables(path); // said once
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Quindara: 1 line of " + path +
                  " could not be read as best runs and is left out; the file as it was is kept "
                  "as " +
                  path + ".damaged.2.\n");
    EXPECT_EQ(tableOf("Coast Road").size(), 1u);
    EXPECT_EQ(stage.read("scores.txt"), good);
    EXPECT_EQ(stage.read("scores.txt.damaged"), "an earlier copy\n");
    EXPECT_EQ(stage.read("scores.txt.damaged.2"), good + "Coast Road\t12\n");
    // A FIFO where the file should be: never waited on, never saved over.
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    testing::internal::CaptureStderr();
    loadScoreTables(path);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(scoreTables.path.empty());
    EXPECT_TRUE(tableOf("Coast Road").empty());
}

// Another copy's new best reaches this one as attract turns to the table's page, not a frame
// sooner, and the HI readout rises to it.
TEST(ScoreTable, AnotherCopysBestShowsWhenTheTablePageComes)
{
    StagedResources stage;
    courseList.courses = {{"Coast Road", "coast.lvl", false, false}};
    courseList.chosen = 0;
    game.gameState = STATE_ATTRACT;
    loadScoreTables(stage.path("scores.txt"));
    stage.write("scores.txt", tablesText({run(500, "9-other")}));
    for (const int frame : {418, 419}) {
        game.highScore = 10;
        blinks.attractFrames = frame;
        refreshTable();
        EXPECT_EQ(tableBest("Coast Road"), frame == 419 ? 500 : 0) << frame;
        EXPECT_EQ(game.highScore, frame == 419 ? 500 : 10) << frame;
    }
    courseList = CourseList();
    game = GameVariables();
    blinks = Blinks();
}

// The HI readout is the chosen course's best: the first course's is the settings file's and
// follows the readout there; another course's is its table's, and leaves the file's alone.
TEST(ScoreTable, EachCourseShowsItsOwnBest)
{
    StagedResources stage{ALL_RESOURCES};
    resetEveryRoom();
    findCourses();
    TileList tiles;
    scoreTables.entries = {run(300, "x", courseList.courses[1].name.c_str())};
    settingsFile.settings.highScore = 900;
    showChosenCourseBest();
    EXPECT_EQ(game.highScore, 900);
    ASSERT_TRUE(chooseCourse(tiles, 1));
    EXPECT_EQ(game.highScore, 300);
    setHighScore(301);
    EXPECT_EQ(settingsFile.settings.highScore, 900);
    ASSERT_TRUE(chooseCourse(tiles, 0));
    EXPECT_EQ(game.highScore, 900);
    setHighScore(800); // a contact penalty on the first course
    EXPECT_EQ(settingsFile.settings.highScore, 800);
    resetEveryRoom();
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
        {{KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_DOWN}, {}, "B9 ", false}, // Up: A to B; a blank's
                                                                     // Down starts at the end
        {{}, {4, 4, 15, 4, 6, 0, 2, 4, 8}, "99A", true}, // down past A, A, right, up, left
        {{}, {6, 6, 6, 4}, "A .", false},
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
    // Keys and buttons let go during the entry are let go in the game; the window's close
    // button is ignored here too.
    inputLatches.keyHeld[KEY_LSHIFT] = inputLatches.keyHeld[KEY_UP] = true;
    inputLatches.buttonHeld[1] = true;
    pushKey(KEY_LSHIFT, false), pushButton(1, false);
    SDL_Event close = {};
    close.type = SDL_QUIT;
    SDL_PushEvent(&close);
    tapKey(KEY_RETURN);
    EXPECT_TRUE(offerTableEntry("Night Run", 350));
    EXPECT_FALSE(inputLatches.keyHeld[KEY_LSHIFT] || inputLatches.buttonHeld[1]);
    EXPECT_TRUE(inputLatches.keyHeld[KEY_UP]); // still held: never let go
    tapKey(KEY_ESCAPE); // a quit asked for: what is there is entered, then the game ends
    EXPECT_FALSE(offerTableEntry("Night Run", 400));
    EXPECT_EQ(tableOf("Night Run").size(), 3u);
}

TEST(CourseList, ShippedThenOwnByFileNameEachNamed)
{
    StagedResources stage;
    const std::string shipped = stage.dir() + "/_resources", own = stage.dir() + "/own";
    stage.write("01.lvl", "02\n\nname: First\n");
    stage.write("02.lvl", "02\n\n  NAME:  Second  \n");
    stage.write("04.lvl", "02\n"); // after a gap: not listed
    std::filesystem::create_directories(own);
    // Taken names get the file's name, then a number, within the 24 characters; a name of
    // nothing printable, the file's; a file with no tiles is left out and said.
    for (auto [file, text] : {std::pair{"b.lvl", "02\n"},
                              {"a.lvl", "02\n\nname: first\n"},
                              {"c.txt", "02\n"},
                              {"d.lvl", "02\n\nname:\n"},
                              {"e.lvl", "02\n\nname: Twenty-four characters..\n"},
                              {"f.lvl", "02\n\nname: Twenty-four characters..\n"},
                              {"g.lvl", "02\n\nname: twenty-four characters..\n"},
                              {"\xc3\xa9.lvl", "02\n"},
                              {"empty.lvl", ""}})
        std::ofstream(own + "/" + file) << text;
    std::vector<std::string> skipped;
    const auto list = listCourses(shipped, own, &skipped);
    std::vector<std::string> names;
    for (const Course& c : list)
        names.push_back(c.name + (c.own ? "*" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "First", "Second", "first (a)*", "b*", "d*", "Twenty-four characters..*",
                         "Twenty-four characte (f)*", "twenty-four characte (g)*", "Course*"}));
    EXPECT_EQ(skipped,
              (std::vector<std::string>{
                  own + "/empty.lvl: it has no rows of tiles before its first empty line"}));
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
