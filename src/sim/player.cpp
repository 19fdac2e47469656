#include "sim/player.h"
#include "platform/sound.h"
#include "sim/contact.h"
#include "sim/road.h"
#include "state/game.h"
#include "track/track.h"
#include <algorithm>
#include <cstdlib>

PlayerControl playerControl;

namespace
{
int towardZero(int v, int step)
{
    if (v > 0)
        return v - step < 0 ? 0 : v - step;
    if (v < 0)
        return v + step > 0 ? 0 : v + step;
    return 0;
}

// The controls on a control step, for a car that is not crashed: the diagonals first, then,
// when none is held, throttle, brake and steering one by one.
void applyControls(Car& car, const bool keys[], const bool buttons[])
{
    const int step = car.speedStep;
    const bool up = keys[KEY_UP], down = keys[KEY_DOWN];
    const bool left = keys[KEY_LEFT], right = keys[KEY_RIGHT];
    if ((up && left) || buttons[1]) {
        car.throttleHeld = true;
        car.steeredDiagonally = true;
        car.lateralSpeed -= step;
    }
    if ((up && right) || buttons[7]) {
        car.throttleHeld = true;
        car.lateralSpeed += step;
        car.steeredDiagonally = true;
    }
    if ((down && left) || buttons[3]) {
        car.steeredDiagonally = true;
        car.speed += step;
        car.lateralSpeed -= step;
    }
    if ((down && right) || buttons[5]) {
        car.steeredDiagonally = true;
        car.speed += step;
        car.lateralSpeed += step;
    }
    if (!car.steeredDiagonally) {
        if (up || buttons[0] || buttons[15])
            car.throttleHeld = true;
        if (down || buttons[4] || keys[KEY_LSHIFT] || buttons[13])
            car.speed += step;
        if (left || buttons[2])
            car.lateralSpeed -= step;
        if (right || buttons[6])
            car.lateralSpeed += step;
    }
}
} // namespace

void resetPlayerState()
{
    playerControl = PlayerControl();
}

void visitPlayerState(StateVisitor& v)
{
    v(GROUP_CARS, playerControl.crashTarget), v(GROUP_CARS, playerControl.skidLoopOn),
        v(GROUP_CARS, playerControl.gravelLoopOn);
    v(GROUP_CARS, playerControl.controlTick), v(GROUP_CARS, playerControl.coastCounter),
        v(GROUP_CARS, playerControl.gravelRecentreCounter);
    v.require(playerControl.crashTarget >= -1 && playerControl.crashTarget <= 2000,
              "the crash slide's target");
    v.require(playerControl.controlTick >= 0 && playerControl.controlTick < 2 &&
                  playerControl.coastCounter >= 0 && playerControl.coastCounter < 15 &&
                  playerControl.gravelRecentreCounter >= 0 &&
                  playerControl.gravelRecentreCounter < 8,
              "the control step's counters");
}

int engineSampleLevel(int engineLevel)
{
    return engineLevel >= 1 && engineLevel <= ENGINE_LEVELS ? engineLevel : 1;
}

void steerPlayer(Car& car, const bool keys[], const bool buttons[])
{
    const int step = car.speedStep;
    const bool up = keys[KEY_UP], down = keys[KEY_DOWN];
    const bool left = keys[KEY_LEFT], right = keys[KEY_RIGHT];
    car.steeredDiagonally = false;

    if (++playerControl.controlTick == 2) { // the controls act on every second frame
        playerControl.controlTick = 0;
        if (car.state != CAR_CRASHED)
            applyControls(car, keys, buttons);
        const bool canPull = car.state == CAR_DRIVING || car.state == CAR_ON_GRAVEL;
        // The car creeps up the screen under throttle and sinks back when it is released.
        if (car.throttleHeld && (canPull || game.gameState == STATE_PLAYING)) {
            if (car.screenY > PLAYER_MIN_ROW)
                car.screenY -= 1;
        } else if (car.screenY <= 200) {
            car.screenY += 1;
        }
        if (car.throttleHeld && canPull && game.gameState == STATE_PLAYING) {
            car.speed -= step;
            car.throttleHeld = false;
        } else if (car.state == CAR_CRASHED) {
            recoverFromCrash(car);
        }
    }

    const bool pedal = up || down || buttons[0] || buttons[4] || buttons[15];
    if (!pedal || car.state == CAR_CRASHED || car.state == CAR_SKIDDING ||
        car.state == CAR_ON_GRAVEL) {
        if (++playerControl.coastCounter == 15) {
            playerControl.coastCounter = 0;
            if (car.state == CAR_DRIVING || car.state == CAR_ON_GRAVEL)
                car.speed += step;
            else
                car.speed += 3;
        }
    }

    if (!(left || right || buttons[2] || buttons[6])) {
        if (car.state == CAR_ON_GRAVEL) {
            if (++playerControl.gravelRecentreCounter == 8) {
                car.lateralSpeed = towardZero(car.lateralSpeed, step);
                playerControl.gravelRecentreCounter = 0;
            }
        } else {
            car.lateralSpeed = towardZero(car.lateralSpeed, step);
        }
    }

    if (std::abs(car.speed) > car.maxSpeed)
        car.speed += 1; // eased back towards the limit, not cut
    if (car.speed > 0)
        car.speed = 0; // the car never reverses
}

bool updateCar(Car& car, const TileList& tiles, int trafficY)
{
    if (car.kind != CAR_PLAYER)
        return false;
    movePlayer(car, tiles, trafficY);
    return true;
}

namespace
{
// The skid loop on channel 3 and the gravel loop on channel 4, started and stopped as the car
// goes onto and off a kerb or gravel.
void playTerrainLoops(Car& car)
{
    bool gravelRuleDone = false;
    if (car.state == CAR_SKIDDING) {
        if (!playerControl.skidLoopOn) {
            playerControl.skidLoopOn = true;
            soundHalt(3);
            car.lastChannel = soundPlay(3, car.skidSound, -1);
        } else {
            playerControl.gravelLoopOn = false;
            soundHalt(4);
            gravelRuleDone = true;
        }
    } else {
        playerControl.skidLoopOn = false;
        soundHalt(3);
    }
    if (!gravelRuleDone) {
        if (car.state == CAR_ON_GRAVEL) {
            if (!playerControl.gravelLoopOn) {
                playerControl.gravelLoopOn = true;
                soundHalt(4);
                car.lastChannel = soundPlay(4, car.gravelSound, -1);
            }
        } else {
            playerControl.gravelLoopOn = false;
            soundHalt(4);
        }
    }
}

// Steps 7 to 13 of the move: the sounds that follow the car's terrain, engine level and the
// traffic car passing (`r`: the terrain under the car, as the road queries read it).
void playerSounds(Car& car, int r, int trafficY)
{
    // 7: pausing silences everything, without touching a latch.
    if (game.gameState == STATE_PAUSED) {
        soundPause(-1);
        return;
    }

    // 8-9: the skid and gravel loops.
    playTerrainLoops(car);

    // 10: no engine changes while crashed.
    if (car.state == CAR_CRASHED) {
        car.echoLatch11 = false;
        car.echoLatch10 = false;
        return;
    }

    // 11: into or out of a tunnel, restart the engine in the other variant.
    if (r == CODE_DARK_ROAD && !car.echoLatch11) {
        clearEngineLatches(-1, car.engineLevelLatched);
        car.echoLatch11 = true;
    } else if (r == CODE_TUNNEL_WALL && !car.echoLatch10) {
        clearEngineLatches(-1, car.engineLevelLatched);
        car.echoLatch10 = true;
    }
    if ((r == CODE_ROAD || r == CODE_GRAVEL) && (car.echoLatch11 || car.echoLatch10)) {
        clearEngineLatches(-1, car.engineLevelLatched);
        car.echoLatch11 = false;
        car.echoLatch10 = false;
    }

    // 12: the engine sample follows the speed; requested only when the level changes.
    const int n = engineSampleLevel(car.engineLevel);
    if (!car.engineLevelLatched[n]) {
        car.engineLevelLatched[n] = true;
        clearEngineLatches(n, car.engineLevelLatched);
        const EngineSample& sample = car.engineSounds[n];
        car.lastChannel = soundPlay(
            car.engineChannel,
            (r == CODE_TUNNEL_WALL || r == CODE_DARK_ROAD) ? sample.echo : sample.plain, -1);
    }

    // 13: at top speed, one whoosh per pass of the traffic car.
    if (n == ENGINE_LEVELS) {
        const int band = trafficY - 200;
        if (band >= 0 && band <= 20) {
            if (!car.passSoundPlayed) {
                car.passSoundPlayed = true;
                car.lastChannel = soundPlay(2, car.passSound, 0);
            }
        } else {
            car.passSoundPlayed = false;
        }
    }
}
} // namespace

int crashSlideTarget(int edge)
{
    return edge + 15 >= SCREEN_WIDTH ? edge - 25 : edge + 15;
}

void movePlayer(Car& car, const TileList& tiles, int trafficY)
{
    // 1-2: sideways, or the slide to the roadside after a crash.
    const int startX = car.x;
    if (car.state == CAR_CRASHED) {
        if (playerControl.crashTarget == -1) {
            playerControl.crashTarget = crashSlideTarget(laneEdge(tiles, car.y, false, true));
        }
        if (car.x == playerControl.crashTarget) {
            playerControl.crashTarget = -1;
        } else {
            // Slide at 4 pixels a frame, landing exactly on the target.
            const int gap = playerControl.crashTarget - car.x;
            car.x += gap > 0 ? std::min(4, gap) : std::max(-4, gap);
        }
    } else {
        car.x += car.lateralSpeed;
        playerControl.crashTarget = -1;
    }
    // A move that leaves the field is taken back: the field ends where the side panel begins,
    // so the car stays in sight whatever the player steers. A slide can carry the car past the
    // right edge; a move back towards the field then stands, or the car would be stuck
    // out there for good.
    constexpr int RIGHTMOST = PANEL_X - CAR_WIDTH;
    const bool outside = car.x < 0 || car.x > RIGHTMOST;
    const bool backTowardsField =
        (startX > RIGHTMOST && car.x < startX) || (startX < 0 && car.x > startX);
    if (outside && !backTowardsField)
        car.x -= car.lateralSpeed;

    // 3: travel offset, used only to find the row for a crash slide.
    if (car.y + car.speed >= 0 && car.y + car.speed <= SCREEN_HEIGHT)
        car.y += car.speed;

    // 4-6: terrain.
    int under = 0;
    const int result = terrainUnder(tiles, car.x, car.screenY, false, true, under);
    const int r = std::abs(result);
    const bool crashed = car.state == CAR_CRASHED;
    if (r == CODE_ROAD || r == CODE_DARK_ROAD) {
        if (!crashed)
            car.state = CAR_DRIVING;
    } else if (r == CODE_GRAVEL) {
        if (!crashed)
            car.state = CAR_ON_GRAVEL;
    } else if (r == CODE_CHECKPOINT || r == CODE_ROAD_NARROWS) {
        if (!crashed)
            car.state = CAR_SKIDDING;
    } else {
        if (!crashed)
            car.state = CAR_DRIVING;
        if (std::abs(car.speed) >= car.offRoadDrag)
            car.speed += car.offRoadDrag;
    }
    car.headlightsOn = isDarkCode(under);
    roadReadings.playerTerrain = r;
    car.engineLevel = std::abs(car.speed);

    playerSounds(car, r, trafficY);
}
