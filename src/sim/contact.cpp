#include "sim/contact.h"
#include "platform/sound.h"
#include "state/game.h"

CrashSpin crashSpin;

void resetContactState()
{
    crashSpin = CrashSpin();
}

void visitContactState(StateVisitor& v)
{
    v(GROUP_CARS, crashSpin.crashFrameStep), v(GROUP_CARS, crashSpin.recoveryWatch);
    v.require(crashSpin.crashFrameStep >= 0 && crashSpin.crashFrameStep < SPIN_STEPS,
              "the crash spin step");
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
    if (!crashSpin.recoveryWatch.isStarted())
        crashSpin.recoveryWatch.start();
    // Out of the crash only after 1.3 s and once the car has rolled to a standstill.
    if (crashSpin.recoveryWatch.elapsed() > 1299 && car.speed == 0) {
        car.state = CAR_DRIVING;
        car.lastChannel = soundPlay(car.engineChannel, car.engineSounds[1].plain, -1);
        crashSpin.recoveryWatch.stop();
        crashSpin.recoveryWatch.clear();
    }
}
