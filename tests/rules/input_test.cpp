#include "app/session.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "present/intro.h"
#include "replay/recorder.h"
#include "rules/ghost.h"
#include "rules/input.h"
#include "rules/loop.h"
#include "rules/settings_screen.h"
#include "rules/states.h"
#include "save/preferences.h"
#include "save/settings.h"
#include "sim/car.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include <csignal>
#include <gtest/gtest.h>

namespace
{
class InputTest : public ::testing::Test
{
  protected:
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
};
} // namespace

TEST_F(InputTest, QueuedStartPressesAreHandledInOrder)
{
    setUpRun(false);    // attract, prepared
    tapKey(KEY_RETURN); // new game
    tapKey(KEY_P);      // pause
    takeInput();
    EXPECT_EQ(game.gameState, STATE_PAUSED);
    pushButton(8, true); // joystick start: unpause
    pushButton(8, false);
    takeInput();
    EXPECT_EQ(game.gameState, STATE_PLAYING);
}

TEST_F(InputTest, EscapeQuitsOnceAndIsNeverHeld)
{
    tapKey(KEY_ESCAPE);
    EXPECT_TRUE(takeInput());
    EXPECT_FALSE(inputLatches.keyHeld[KEY_ESCAPE]);
    EXPECT_FALSE(takeInput());
    pushKey(KEY_CLEAR, true);
    EXPECT_TRUE(takeInput());
    EXPECT_FALSE(inputLatches.keyHeld[KEY_CLEAR]);
    pushKey(KEY_CLEAR, false);
    EXPECT_TRUE(takeInput()); // its release asks again, as the press was seen here
    pushButton(9, true);
    pushButton(9, false);
    EXPECT_TRUE(takeInput());
    EXPECT_FALSE(inputLatches.buttonHeld[9]);
}

TEST_F(InputTest, CtrlCKillAndHangUpQuitInEveryState)
{
    installQuitSignals();
    const int states[] = {STATE_ATTRACT, STATE_PLAYING, STATE_TIME_UP, STATE_PAUSED};
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        for (int state : states) {
            game.gameState = state;
            EXPECT_FALSE(takeInput());
            std::raise(sig);
            EXPECT_TRUE(takeInput()) << sig << " in state " << state;
            clearQuitSignal();
        }
    }
    std::raise(SIGTERM);
    waitForAnyPress(); // returns without a press
    clearQuitSignal();
}

TEST_F(InputTest, F11AloneSwitchesFullScreen)
{
    auto fullScreen = [] { return (screen->flags & SDL_FULLSCREEN) != 0; };
    for (int sym : {KEY_F11, 97, KEY_F, KEY_F11}) { // F11, a, f, F11
        const bool before = fullScreen();
        tapKey(sym);
        takeInput();
        EXPECT_EQ(fullScreen(), sym == KEY_F11 ? !before : before) << sym;
    }
}

// G or a pad's X switches the ghost between runs, and the switch is kept; in a run they do
// nothing.
TEST_F(InputTest, GOrXSwitchesTheGhostBetweenRunsOnly)
{
    const struct {
        int state;
        bool key; // G, else the pad's X
        bool on;  // after the press
    } presses[] = {{STATE_ATTRACT, true, false},
                   {STATE_ATTRACT, false, true},
                   {STATE_PLAYING, true, true},
                   {STATE_ATTRACT, false, false}};
    for (const auto& p : presses) {
        game.gameState = p.state;
        if (p.key)
            tapKey(KEY_G);
        else
            pushButton(BUTTON_GHOST, true), pushButton(BUTTON_GHOST, false);
        takeInput();
        EXPECT_EQ(ghostRace.switchedOn, p.on);
        EXPECT_EQ(preferences.ghostOn, p.on);
    }
    EXPECT_NE(stage.read("preferences").find("\nghost off\n"), std::string::npos);
}

TEST_F(InputTest, ReleaseOfAPressConsumedElsewhereDoesNotQuit)
{
    // The ready banner swallowed the press; only the release reaches the game.
    pushKey(KEY_ESCAPE, false);
    pushButton(9, false);
    pushKey(KEY_CLEAR, false);
    EXPECT_FALSE(takeInput());
}

TEST_F(InputTest, VolumeClampsAndKeepsTheBarShowing)
{
    game.masterVolume = 127;
    pushKey(KEY_Q, true);
    for (int i = 0; i < 3; ++i) {
        game.volumeBarAge = 20;
        takeInput();
        EXPECT_EQ(game.volumeBarAge, 0);
    }
    EXPECT_EQ(game.masterVolume, 128);
    pushKey(KEY_Q, false);
    game.masterVolume = 1;
    pushButton(17, true);
    for (int i = 0; i < 3; ++i)
        takeInput();
    EXPECT_EQ(game.masterVolume, 0);
    // Both held: up and down both run, the volume stays put.
    pushButton(16, true);
    takeInput();
    EXPECT_EQ(game.masterVolume, 0);
    game.masterVolume = 50;
    takeInput();
    EXPECT_EQ(game.masterVolume, 50);
    ASSERT_FALSE(soundLog().empty());
    EXPECT_EQ(soundLog().back().op, SOUND_VOLUME);
}

TEST_F(InputTest, OverlayFlipsOncePerPress)
{
    pushKey(KEY_F, true);
    for (int i = 0; i < 5; ++i)
        takeInput();
    EXPECT_TRUE(game.showDiagnostics);
    pushButton(11, true); // second input while the first is still held
    takeInput();
    EXPECT_TRUE(game.showDiagnostics);
    pushKey(KEY_F, false);
    takeInput();
    EXPECT_TRUE(game.showDiagnostics);
    pushButton(11, false);
    takeInput();
    pushButton(11, true);
    takeInput();
    EXPECT_FALSE(game.showDiagnostics);
}

TEST_F(InputTest, TimeUpHoldsTheDrivingInputsReleased)
{
    game.gameState = STATE_TIME_UP;
    for (int key : {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_LSHIFT})
        pushKey(key, true);
    for (int button : {0, 1, 2, 3, 4, 5, 6, 7, 13, 15})
        pushButton(button, true);
    takeInput();
    for (int key : {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT})
        EXPECT_FALSE(inputLatches.keyHeld[key]) << key;
    EXPECT_TRUE(inputLatches.keyHeld[KEY_LSHIFT]);
    for (int button : {0, 2, 4, 6, 15})
        EXPECT_FALSE(inputLatches.buttonHeld[button]) << button;
    for (int button : {1, 3, 5, 7, 13})
        EXPECT_TRUE(inputLatches.buttonHeld[button]) << button;
    pushKey(KEY_UP, false);
    pushKey(KEY_UP, true); // pressing again does not help
    takeInput();
    EXPECT_FALSE(inputLatches.keyHeld[KEY_UP]);
}

TEST_F(InputTest, AKeyNumberOutsideTheTablesIsIgnored)
{
    game.gameState = STATE_PLAYING;
    pushKey(400, true);
    pushKey(-3, true);
    pushKey(400, false);
    EXPECT_FALSE(takeInput());
    int held = 0;
    for (bool k : inputLatches.keyHeld)
        held += k;
    EXPECT_EQ(held, 0);
}

// Losing the window pauses a run as a start press would, and is kept as one; losing only the
// mouse, getting the window back, or losing it in any other state changes nothing.
TEST_F(InputTest, LosingTheWindowPausesARunLikeAStartPress)
{
    struct Case {
        int state;
        Uint8 gain, what;
        int after;
    } cases[] = {
        {STATE_PLAYING, 0, SDL_APPINPUTFOCUS, STATE_PAUSED},
        {STATE_PLAYING, 0, SDL_APPACTIVE, STATE_PAUSED},
        {STATE_PLAYING, 0, SDL_APPMOUSEFOCUS, STATE_PLAYING},
        {STATE_PLAYING, 1, SDL_APPINPUTFOCUS, STATE_PLAYING},
        {STATE_PAUSED, 0, SDL_APPINPUTFOCUS, STATE_PAUSED},
        {STATE_ATTRACT, 0, SDL_APPINPUTFOCUS, STATE_ATTRACT},
        {STATE_TIME_UP, 0, SDL_APPINPUTFOCUS, STATE_TIME_UP},
    };
    for (const Case& c : cases) {
        game.gameState = c.state;
        SDL_Event e = {};
        e.type = SDL_ACTIVEEVENT;
        e.active.gain = c.gain;
        e.active.state = c.what;
        SDL_PushEvent(&e);
        takeInput();
        EXPECT_EQ(game.gameState, c.after) << c.state << " " << int(c.what) << " " << int(c.gain);
        EXPECT_FALSE(inputLatches.keyHeld[KEY_P]);
    }
}

// A key of one's own: given on the settings screen (a taken or a reserved key refused with a
// word why, Escape keeping the old one), it drives the run, which is recorded with the first
// keys, so that it checks whatever keys are in force later.
TEST_F(InputTest, AKeyOfOnesOwnDrivesARunThatChecksWithTheFirstKeys)
{
    SettingsMenu menu;
    menu.cursor = int(LINE_FIRST_KEY) + int(KEY_ACTION_ACCELERATE);
    const struct {
        int sym;
        const char* message;
        int accelerate; // after the press
    } presses[] = {
        {KEY_DOWN, "down is taken: it is brake", KEY_UP},
        {KEY_P, "p is the game's own: not that one", KEY_UP},
        {KEY_ESCAPE, "", KEY_UP},
        {'a', "", 'a'},
    };
    for (const auto& p : presses) {
        settingsKey(menu, KEY_RETURN);
        EXPECT_TRUE(menu.awaitingKey);
        settingsKey(menu, p.sym);
        EXPECT_FALSE(menu.awaitingKey);
        EXPECT_EQ(menu.message, p.message);
        EXPECT_EQ(preferences.keys[KEY_ACTION_ACCELERATE], p.accelerate);
    }
    EXPECT_NE(stage.read("preferences").find("key accelerate 97\n"), std::string::npos);
    // A run driven with A, Up (no longer a key of the game's) pressed too.
    TileList tiles = loadCourse();
    recordRuns(stage.path(""), tiles);
    FrameLoop loop;
    startRun(loop, tiles);
    pushKey('a', true), pushKey(KEY_UP, true);
    for (int i = 0; i < 150; ++i)
        runFrame(loop, tiles);
    EXPECT_LT(playerCar.speed, 0);
    pushKey('a', false);
    tapKey(KEY_ESCAPE);
    runFrame(loop, tiles);
    stopRecording();
    const Finished check =
        runStagedGame(stage, "", "--replay " + stage.path("last-run.qrp") + " --check");
    EXPECT_EQ(check.out, "152 frames, score " + std::to_string(game.score) + ": ok\n");
    EXPECT_GT(game.score, 0);
}

// Left and Right on the settings screen's lines: each value moves within its bounds, the window
// from the game's own 3x; back to the defaults puts all of it back.
TEST_F(InputTest, TheSettingsLinesChangeWithinTheirBounds)
{
    const struct {
        int line, sym, presses;
        const char* value; // after them
    } cases[] = {
        {LINE_WINDOW_SCALE, KEY_RIGHT, 1, "4x"},  {LINE_WINDOW_SCALE, KEY_RIGHT, 9, "8x"},
        {LINE_WINDOW_SCALE, KEY_LEFT, 9, "1x"},   {LINE_MUSIC_VOLUME, KEY_RIGHT, 20, "128"},
        {LINE_MUSIC_VOLUME, KEY_LEFT, 20, "0"},   {LINE_EFFECTS_VOLUME, KEY_LEFT, 20, "0"},
        {LINE_EFFECTS_VOLUME, KEY_RIGHT, 1, "8"}, {LINE_MUSIC, KEY_RIGHT, 1, "off"},
        {LINE_GHOST, KEY_LEFT, 1, "off"},         {LINE_GHOST, KEY_RETURN, 1, "on"},
    };
    SettingsMenu menu;
    for (const auto& c : cases) {
        menu.cursor = c.line;
        for (int i = 0; i < c.presses; ++i)
            settingsKey(menu, c.sym);
        EXPECT_EQ(settingValue(c.line), c.value) << c.line << " " << c.presses;
    }
    EXPECT_TRUE(ghostRace.switchedOn); // the ghost line switched the ghost with it
    menu.cursor = LINE_RESET;
    settingsKey(menu, KEY_RETURN);
    EXPECT_EQ(preferencesText(preferences), preferencesText(Preferences()));
    EXPECT_EQ(game.masterVolume, DEFAULT_VOLUME);
    settingsKey(menu, KEY_ESCAPE);
    EXPECT_TRUE(menu.closed);
}

// A pad button of one's own: read from the pad once every button is let go after A (Return),
// refused when another role has it, kept when free.
TEST_F(InputTest, APadButtonOfOnesOwnIsTakenOnceTheOthersAreLetGo)
{
    SettingsMenu menu;
    menu.cursor = int(LINE_FIRST_PAD) + int(PAD_ROLE_ACCELERATE);
    const struct {
        std::vector<int> held; // what the pad holds, pass after pass
        const char* message;
        int accelerate;
    } tries[] = {
        {{0, 0, -1, 1}, "B is taken: it is brake", 0},
        {{0, 8}, "press the pad's new button (Escape keeps it)", 0}, // A never let go
        {{-1, 8}, "", 8},
    };
    for (const auto& t : tries) {
        menu.awaitingPad = false;
        settingsKey(menu, KEY_RETURN);
        for (int held : t.held)
            settingsPad(menu, held);
        EXPECT_EQ(menu.message, t.message);
        EXPECT_EQ(preferences.padButtons[PAD_ROLE_ACCELERATE], t.accelerate);
    }
    EXPECT_NE(stage.read("preferences").find("pad accelerate 8\n"), std::string::npos);
    EXPECT_EQ(settingValue(menu.cursor), "right stick");
}
