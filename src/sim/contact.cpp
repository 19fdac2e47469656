#include "sim/contact.h"
#include "platform/sound.h"
#include "state/game.h"
#include "track/track.h"

int crashFrameStep = 0;
int checkpointCount = 0;
int checkpointMessageAge = 0;
int warnOpenFrames = 0;
int warnFunnelFrames = 0;
bool warnOpenSounded = false;
bool warnFunnelSounded = false;
Mix_Chunk* checkpointSound = nullptr;
Mix_Chunk* signalSound = nullptr;
int signsShown[MARKER_SLOTS];
int signsShownCount = 0;

namespace
{
Stopwatch recoveryWatch;
}

constexpr int SIGN_FRAMES = 100;
constexpr int CHECKPOINT_BONUS = 30;

void resetContactState()
{
    crashFrameStep = 0;
    recoveryWatch = Stopwatch();
    checkpointCount = checkpointMessageAge = 0;
    warnOpenFrames = warnFunnelFrames = 0;
    warnOpenSounded = warnFunnelSounded = false;
    signsShownCount = 0;
}

void visitContactState(StateVisitor& v)
{
    v(GROUP_CARS, crashFrameStep), v(GROUP_CARS, recoveryWatch);
    const StateGroup g = GROUP_CHECKPOINTS;
    v(g, checkpointCount), v(g, checkpointMessageAge), v(g, warnOpenFrames), v(g, warnFunnelFrames);
    v(g, warnOpenSounded), v(g, warnFunnelSounded);
    v.require(crashFrameStep >= 0 && crashFrameStep < SPIN_STEPS, "the crash spin step");
    v.require(checkpointCount >= 0 && checkpointCount <= 1 && checkpointMessageAge >= 0 &&
                  checkpointMessageAge <= 100 && warnOpenFrames >= 0 && warnFunnelFrames >= 0 &&
                  warnOpenFrames <= 100 && warnFunnelFrames <= 100,
              "the checkpoint and sign counters");
}

bool carsTouch(int trafficX, int trafficY, int playerX, int playerY)
{
    // Hit boxes sit 1..28 across and 2..38 down inside the 30x40 sprites.
    return playerY + 38 > trafficY + 2 && playerY + 2 < trafficY + 38 &&
           playerX + 28 > trafficX + 1 && playerX + 1 < trafficX + 28;
}

bool startCrash(Car& car, int state)
{
    if (car.kind != CAR_PLAYER || car.state == CAR_CRASHED || state != STATE_PLAYING)
        return false;
    car.state = CAR_CRASHED;
    soundPlay(1, car.crashSound, 0); // takes the engine's channel: the engine falls silent
    return true;
}

void recoverFromCrash(Car& car)
{
    if (!recoveryWatch.isStarted())
        recoveryWatch.start();
    // Out of the crash only after 1.3 s and once the car has rolled to a standstill.
    if (recoveryWatch.elapsed() > 1299 && car.speed == 0) {
        car.state = CAR_DRIVING;
        car.lastChannel = soundPlay(car.engineChannel, car.engineSounds[1].plain, -1);
        recoveryWatch.stop();
        recoveryWatch.clear();
    }
}

namespace
{

// One warning sign's turn: shown at the top of the road, one signal per sign episode. Signs
// of one kind share the counter and the signal flag.
void showSign(TrackMarker& slot, int& frames, bool& sounded)
{
    signsShown[signsShownCount++] = slot.code;
    if (!sounded) {
        soundPlay(-1, signalSound, 0);
        sounded = true;
    }
    if (++frames >= SIGN_FRAMES) {
        slot.done = true;
        sounded = false;
        frames = 0;
    }
}

} // namespace

void processMarkers()
{
    signsShownCount = 0;
    for (TrackMarker& slot : trackMarkers) {
        if (!slot.active || slot.done)
            continue;
        switch (slot.code) {
        case CODE_CHECKPOINT:
            slot.done = true;
            if (gameState == STATE_PLAYING) {
                // Every checkpoint shows its message in full; a new one starts it afresh.
                checkpointCount = 1;
                checkpointMessageAge = 0;
                soundPlay(5, checkpointSound, 0);
                timeLimit += CHECKPOINT_BONUS;
            }
            break;
        case CODE_ROAD_OPENS:
            showSign(slot, warnOpenFrames, warnOpenSounded);
            break;
        case CODE_ROAD_NARROWS:
            showSign(slot, warnFunnelFrames, warnFunnelSounded);
            break;
        default:
            break;
        }
    }
}

void ageCheckpointMessage()
{
    if (checkpointCount == 1)
        ++checkpointMessageAge;
    if (checkpointMessageAge > 99) {
        checkpointMessageAge = 0;
        checkpointCount = 0;
    }
}

bool checkpointMessageShowing()
{
    return checkpointMessageAge >= 1 && checkpointMessageAge <= 99;
}
