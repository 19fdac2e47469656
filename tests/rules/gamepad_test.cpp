#include "platform/gamepad.h"
#include "platform/signals.h"
#include "present/intro.h"
#include "rules/input.h"
#include "rules/states.h"
#include "state/game.h"
#include "support/stage.h"
#include "virtual_pad.h"
#include <SDL.h>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <unistd.h>

namespace
{
// SDL2's standard layout, as the virtual pad numbers it.
enum { A = 0, B = 1, Y = 3, BACK = 4, START = 6, LB = 9, RB = 10, UP = 11, DOWN = 12, LEFT = 13 };
enum { LX = 0, LY = 1, LT = 4, RT = 5 };

std::set<int> heldButtons()
{
    std::set<int> held;
    for (int b = 0; b < BUTTON_SLOTS; ++b)
        if (inputLatches.buttonHeld[b])
            held.insert(b);
    return held;
}
} // namespace

// A game controller plays in the standard layout, whatever its raw button numbers: each row
// holds what the pad does and the game's buttons it must hold, a stick's value that acts and
// the one below it side by side.
TEST(Gamepad, AControllerActsAsTheGamesButtons)
{
    VirtualPad pad(VirtualPad::GAME_CONTROLLER);
    ASSERT_TRUE(pad.attached());
    StagedResources stage;
    Headless sdl;
    SDL_JoystickOpen(0);           // as the game opens joystick 0: its raw presses arrive too
    game.gameState = STATE_PAUSED; // no steering, no start: the held buttons alone
    // A trigger reads from released, all the way down, to pressed, all the way up; SDL2 scales
    // the raw travel to 0..32767, so a raw 1 is half its travel (16384) and acts, 0 not.
    const int released = -32768;
    pad.axis(LT, released), pad.axis(RT, released);
    struct Case {
        std::vector<std::pair<int, int>> buttons, axes; // (index, value)
        std::set<int> held;
    } cases[] = {
        {{}, {{LX, STICK_THRESHOLD}}, {6}},
        {{}, {{LX, STICK_THRESHOLD - 1}}, {}},
        {{}, {{LX, -STICK_THRESHOLD}}, {2}},
        {{}, {{LX, 1 - STICK_THRESHOLD}}, {}},
        {{}, {{LY, -STICK_THRESHOLD}}, {0}},
        {{}, {{LY, STICK_THRESHOLD}}, {4}},
        {{}, {{LX, 20000}, {LY, -20000}}, {7}},
        {{}, {{LX, -20000}, {LY, 20000}}, {3}},
        {{{UP, 1}}, {{LX, -20000}}, {1}}, // the d-pad and the stick as one direction
        {{{DOWN, 1}}, {{LX, 20000}}, {5}},
        {{{A, 1}}, {}, {15}},
        {{}, {{RT, 1}}, {15}},
        {{}, {{RT, 0}}, {}},
        {{{B, 1}}, {}, {13}},
        {{}, {{LT, 1}}, {13}},
        {{{Y, 1}}, {}, {11}},
        {{{RB, 1}}, {}, {16}},
        {{{LB, 1}}, {}, {17}},
        {{{LEFT, 1}}, {}, {2}},
    };
    for (const Case& c : cases) {
        for (auto [index, value] : c.buttons)
            pad.button(index, value);
        for (auto [index, value] : c.axes)
            pad.axis(index, value);
        takeInput();
        EXPECT_TRUE(gamepadActive());
        EXPECT_EQ(heldButtons(), c.held)
            << c.buttons.size() << " buttons, " << c.axes.size() << " axes";
        for (auto [index, value] : c.buttons)
            pad.button(index, 0);
        for (auto [index, value] : c.axes)
            pad.axis(index, index == LT || index == RT ? released : 0);
        takeInput();
        EXPECT_EQ(heldButtons(), std::set<int>());
    }
    // Start starts a run, Back quits.
    game.gameState = STATE_ATTRACT;
    setUpRun(false);
    pad.button(START, 1);
    takeInput();
    EXPECT_EQ(game.gameState, STATE_PLAYING);
    pad.button(BACK, 1);
    EXPECT_TRUE(takeInput());
}

// A joystick that is no game controller keeps the raw numbers of the game's table.
TEST(Gamepad, AnyOtherJoystickKeepsItsNumbers)
{
    VirtualPad wheel(VirtualPad::WHEEL);
    ASSERT_TRUE(wheel.attached());
    StagedResources stage;
    Headless sdl;
    game.gameState = STATE_PAUSED;
    SDL_JoystickOpen(0); // as the game opens joystick 0
    wheel.button(5, true);
    takeInput();
    EXPECT_FALSE(gamepadActive());
    EXPECT_EQ(heldButtons(), std::set<int>{5});
}

// A pad plugged in while the game runs is taken up at the next frame: any joystick by its
// own numbers, let go when it is unplugged; a controller in its layout.
TEST(Gamepad, APadPluggedInLaterIsTakenUp)
{
    StagedResources stage;
    Headless sdl;
    game.gameState = STATE_PAUSED;
    takeInput();
    {
        VirtualPad wheel(VirtualPad::WHEEL);
        wheel.button(19, true);
        takeInput();
        EXPECT_FALSE(gamepadActive());
        EXPECT_EQ(heldButtons(), std::set<int>{19});
    }
    takeInput();
    EXPECT_EQ(heldButtons(), std::set<int>());
    VirtualPad later(VirtualPad::GAME_CONTROLLER);
    later.axis(LX, -20000);
    takeInput();
    EXPECT_TRUE(gamepadActive());
    EXPECT_EQ(heldButtons(), std::set<int>{2});
}

// A pad there at start-up, unplugged and plugged in again, plays again, of either kind.
TEST(Gamepad, APadPluggedInAgainPlaysAgain)
{
    for (const VirtualPad::Kind kind : {VirtualPad::WHEEL, VirtualPad::GAME_CONTROLLER}) {
        auto first = std::make_unique<VirtualPad>(kind);
        StagedResources stage;
        Headless sdl;
        SDL_JoystickOpen(0); // as the game opens joystick 0
        game.gameState = STATE_PAUSED;
        takeInput();
        first.reset();
        takeInput();
        VirtualPad again(kind);
        again.button(A, true);
        takeInput();
        takeInput();
        EXPECT_EQ(heldButtons(), std::set<int>{kind == VirtualPad::WHEEL ? 0 : 15}) << kind;
    }
}

// A controller's direction ends the ready banner's wait, as any button does. (Should it not,
// an alarm ends the wait after 20 s as a signal would, and the test fails.)
TEST(Gamepad, ADirectionEndsTheBannersWait)
{
    VirtualPad pad(VirtualPad::GAME_CONTROLLER);
    StagedResources stage;
    Headless sdl;
    installQuitSignals();
    signal(SIGALRM, [](int) { raise(SIGTERM); });
    pad.axis(LY, -20000);
    alarm(20);
    waitForAnyPress();
    alarm(0);
    EXPECT_FALSE(quitSignalled());
}
