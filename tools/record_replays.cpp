// Makes the replays under tests/replays: each drives the real game headless with scripted
// presses, records the run as the game does, and fails when the run no longer covers what it
// is kept for. Run through `make replays` when a rule changes on purpose.
//   record_replays RESOURCES_DIR OUTPUT_DIR [NAME...]
#include "app/session.h"
#include "pilot.h"
#include "platform/clock.h"
#include "platform/gamepad.h"
#include "present/intro.h"
#include "private_copy.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "rules/loop.h"
#include "save/settings.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "state/game.h"
#include "track/course.h"
#include "track/track.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
constexpr int PAD_BACK = 4, PAD_START = 6; // SDL2's standard layout

namespace
{
FrameLoop loop;
TileList tiles;
Pilot pilot;
std::string failure;

void frame()
{
    runFrame(loop, tiles);
}

// Drives for up to `limit` frames, until `done` holds; false when the limit came first.
bool driveUntil(int limit, const std::function<bool()>& done)
{
    for (int i = 0; i < limit; ++i) {
        if (done())
            return true;
        pilot.steer(tiles);
        frame();
    }
    return done();
}

void tap(int sym)
{
    pushKeyEvent(sym, true);
    pushKeyEvent(sym, false);
}

void startRun()
{
    for (int i = 0; i < 30; ++i)
        frame();
    if (pilot.pad)
        pilot.pad->button(PAD_START, true), frame(), pilot.pad->button(PAD_START, false);
    else if (pilot.joystick)
        pushButtonEvent(8, true), pushButtonEvent(8, false);
    else
        tap(KEY_RETURN);
    frame();
}

void quitRun()
{
    pilot.releaseAll();
    if (pilot.pad)
        pilot.pad->button(PAD_BACK, true);
    else if (pilot.joystick)
        pushButtonEvent(9, true);
    else
        tap(KEY_ESCAPE);
    frame();
}

bool check(bool covered, const char* what)
{
    if (!covered && failure.empty())
        failure = what;
    return covered;
}

// ---- the runs ------------------------------------------------------------------------------

// A lap at speed: all four checkpoints, the gravel, the tunnels.
void lap()
{
    startRun();
    int checkpoints = 0;
    bool dark = false, echo = false;
    driveUntil(8000, [&] {
        checkpoints += markerCounters.checkpointMessageAge == 1;
        dark = dark || playerCar.headlightsOn;
        echo = echo || playerCar.echoLatch11;
        return checkpoints == 4;
    });
    check(checkpoints == 4, "all four checkpoints");
    check(dark && echo, "the tunnels, lit and echoing");
    quitRun();
}

// Into the traffic car once the score passes 100, twice, then away from it until the penalty
// falls: crashes and their penalties.
void crashes()
{
    startRun();
    int crashes = 0, penalties = 0;
    for (int round = 0; round < 2; ++round) {
        pilot.aim = AIM_MIDDLE; // past the opening, whose two carriageways keep them apart
        driveUntil(3000,
                   [] { return game.score >= 150 && scrollStartY - trackView.scrollY > 150 * 40; });
        check(game.score >= 150, "a score above 100");
        pilot.aim = AIM_TRAFFIC;
        int state = playerCar.state;
        crashes += driveUntil(3000, [&] {
            const bool now = playerCar.state == CAR_CRASHED && state != CAR_CRASHED;
            state = playerCar.state;
            return now;
        });
        pilot.aim = AIM_MIDDLE;
        int before = game.score;
        penalties += driveUntil(3000, [&] {
            const bool fell = game.score < before - 50;
            before = game.score;
            return fell;
        });
    }
    check(crashes == 2 && penalties == 2, "two crashes with their penalty");
    quitRun();
}

// Along the kerbs of both sides, through the gravel of both sides.
void edges()
{
    startRun();
    bool skidLeft = false, skidRight = false, gravelLeft = false, gravelRight = false;
    auto note = [&] {
        const bool left = playerCar.x < 130;
        skidLeft |= playerCar.state == CAR_SKIDDING && left;
        skidRight |= playerCar.state == CAR_SKIDDING && !left;
        gravelLeft |= playerCar.state == CAR_ON_GRAVEL && left;
        gravelRight |= playerCar.state == CAR_ON_GRAVEL && !left;
    };
    driveUntil(200, [] { return false; }); // out of the opening's carriageway first
    pilot.aim = AIM_X;                     // the gravel patch on the left comes first
    pilot.targetX = 100;
    driveUntil(1500, [&] {
        note();
        return gravelLeft;
    });
    pilot.aim = AIM_LEFT_EDGE;
    driveUntil(1500, [&] {
        note();
        return skidLeft;
    });
    pilot.aim = AIM_RIGHT_EDGE;
    driveUntil(1500, [&] {
        note();
        return skidRight;
    });
    pilot.aim = AIM_X; // then the right-hand gravel
    pilot.targetX = 162;
    driveUntil(3000, [&] {
        note();
        return gravelRight;
    });
    check(skidLeft && skidRight, "kerb skids on both sides");
    check(gravelLeft && gravelRight, "gravel on both sides");
    quitRun();
}

// Pause and resume, twice in one frame too; the volume both ways; the overlay on and off.
void controls()
{
    game.masterVolume =
        DEFAULT_VOLUME; // a check reads no settings: the volume a player starts with
    startRun();
    driveUntil(100, [] { return false; });
    tap(KEY_P);
    for (int i = 0; i < 40; ++i)
        frame();
    const bool paused = check(game.gameState == STATE_PAUSED, "a pause");
    tap(KEY_P);
    tap(KEY_P); // resume and pause again in the same frame
    frame();
    check(paused && game.gameState == STATE_PAUSED, "two presses in one frame");
    tap(KEY_RETURN);
    driveUntil(60, [] { return false; });
    const int volume = game.masterVolume;
    pushKeyEvent(KEY_Q, true);
    driveUntil(20, [] { return false; });
    pushKeyEvent(KEY_Q, false);
    pushKeyEvent(KEY_W, true);
    driveUntil(50, [] { return false; });
    pushKeyEvent(KEY_W, false);
    check(game.masterVolume == volume - 30, "the volume up and down");
    for (bool on : {true, false}) { // the overlay flips once per press, however long held
        pushKeyEvent(KEY_F, true);
        driveUntil(5, [] { return false; });
        pushKeyEvent(KEY_F, false);
        driveUntil(100, [] { return false; });
        check(game.showDiagnostics == on, "the overlay");
    }
    quitRun();
}

// A run that times out: the car coasts to a stop and the game returns to attract.
void timeout()
{
    startRun();
    pilot.throttle = false; // a slow run: no checkpoint reached, so the time runs out
    bool timeUp = false;
    driveUntil(6000, [&] {
        pilot.throttle = playerCar.speed > -6;
        timeUp |= game.gameState == STATE_TIME_UP;
        return game.gameState == STATE_ATTRACT;
    });
    check(timeUp && game.gameState == STATE_ATTRACT, "time up, the coast and attract");
}

// The joystick alone, in a session's second run (the first ran out of time).
void joystick()
{
    timeout();
    pilot.releaseAll();
    frame();
    pilot = Pilot();
    pilot.joystick = true;
    startRun();
    driveUntil(1200, [] { return false; });
    bool keyboard = false;
    for (bool held : inputLatches.keyHeld)
        keyboard |= held;
    check(game.score > 50 && !keyboard, "a run on the joystick alone");
    quitRun();
}

// A game controller plugged in after start-up: the stick steers, A accelerates, Start
// starts, and the run is recorded as the game's joystick buttons it became.
void gamepad()
{
    VirtualPad pad(VirtualPad::GAME_CONTROLLER);
    pilot.pad = &pad;
    startRun();
    driveUntil(1200, [] { return false; });
    bool keyboard = false;
    for (bool held : inputLatches.keyHeld)
        keyboard |= held;
    check(pad.attached() && gamepadActive() && game.score > 50 && !keyboard,
          "a run on a game controller");
    quitRun();
    pilot.pad = nullptr;
}

// Another course, chosen with Right in attract as a player does, driven to its second
// checkpoint.
void courseLap(int steps, const char* name, bool dark)
{
    for (int i = 0; i < steps; ++i)
        tap(KEY_RIGHT), frame();
    check(chosenCourse() && chosenCourse()->name == name, "the course chosen in attract");
    startRun();
    int checkpoints = 0;
    bool lit = false;
    driveUntil(6000, [&] {
        checkpoints += markerCounters.checkpointMessageAge == 1;
        lit = lit || (playerCar.headlightsOn && playerCar.echoLatch11);
        return checkpoints == 2;
    });
    check(checkpoints == 2, "two checkpoints");
    check(lit || !dark, "the dark road, lit and echoing");
    quitRun();
}

void coast()
{
    courseLap(1, "Coast Road", false);
}
void night()
{
    courseLap(2, "Night Run", true);
}
void motorway()
{
    courseLap(3, "Motorway", false);
}

struct Run {
    const char* name;
    void (*play)();
};
const Run RUNS[] = {{"lap", lap},           {"crashes", crashes}, {"edges", edges},
                    {"controls", controls}, {"timeout", timeout}, {"joystick", joystick},
                    {"gamepad", gamepad},   {"coast", coast},     {"night", night},
                    {"motorway", motorway}};

// One run in a fresh process: the game as it starts, recording.
int recordOne(const Run& run, const std::string& resources, const std::string& out)
{
    const PrivateCopy copy(resources, "replay");
    // There is no display, so no window has the keyboard's focus: pads are heard all the same.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    useVirtualClock(true);
    setVirtualTicks(4000);
    enterSession(false);
    int status = 1;
    if (startSession({.withSound = false, .headless = true, .course = ""}, tiles) == 0) {
        drawReadyBanner();
        recordRuns(settingsFolder(), tiles);
        startFrameLoop(loop);
        run.play();
        stopRecording();
        const fs::path recorded = fs::path(settingsFolder()) / "last-run.qrp";
        if (!failure.empty())
            std::fprintf(stderr, "record_replays: %s no longer covers %s\n", run.name,
                         failure.c_str());
        else if (fs::exists(recorded))
            fs::copy_file(recorded, fs::path(out) / (std::string(run.name) + ".qrp"),
                          fs::copy_options::overwrite_existing),
                status = 0;
        shutdown(tiles, false);
    }
    return status;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: record_replays RESOURCES_DIR OUTPUT_DIR [NAME...]\n");
        return 2;
    }
    const std::string resources = fs::absolute(argv[1]), out = fs::absolute(argv[2]);
    fs::create_directories(out);
    int failures = 0;
    for (const Run& run : RUNS) {
        bool wanted = argc == 3;
        for (int i = 3; i < argc; ++i)
            wanted |= run.name == std::string(argv[i]);
        if (!wanted)
            continue;
        const pid_t child = fork();
        if (child == 0)
            _exit(recordOne(run, resources, out));
        int status = 1;
        waitpid(child, &status, 0);
        const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::printf("%s: %s\n", run.name, ok ? "recorded" : "FAILED");
        failures += !ok;
    }
    return failures == 0 ? 0 : 1;
}
