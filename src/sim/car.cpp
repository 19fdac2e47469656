#include "sim/car.h"
#include <cstdlib>

Car playerCar;
Car trafficCar;

namespace {
// Both records are reset when the process ends; the surfaces themselves belong to the
// asset catalogue and are left to the end of the process.
struct ResetCarsAtExit {
    ~ResetCarsAtExit()
    {
        resetCar(playerCar);
        resetCar(trafficCar);
    }
} resetCarsAtExit;
}

void resetCars()
{
    playerCar = Car();
    trafficCar = Car();
}

bool setKind(Car& car, int k)
{
    if (static_cast<unsigned>(k) > 1u)
        return false;
    car.kind = k;
    return true;
}

void setX(Car& car, int v)
{
    if (car.kind == CAR_PLAYER || car.kind == CAR_TRAFFIC)
        car.x = v;
}

void setY(Car& car, int v)
{
    if (car.kind == CAR_TRAFFIC)
        car.y = v;
}

void setDrift(Car& car, int v)
{
    if (car.kind == CAR_TRAFFIC)
        car.drift = v;
}

void setSpeed(Car& car, int v)
{
    if (car.kind == CAR_PLAYER)
        car.speed = v;
    else if (car.kind == CAR_TRAFFIC)
        car.trafficSpeed = v;
}

void setMaxSpeed(Car& car, int v) { car.maxSpeed = v; }

void resetCar(Car& car)
{
    car.frameA = nullptr;
    car.frameB = nullptr;
    car.headlightImage = nullptr;
    for (auto& step : car.crashFrames)
        for (auto& view : step)
            view = nullptr;
}

void clearEngineLatches(int keep, bool latches[22])
{
    for (int i = 0; i < 22; ++i)
        if (i != keep)
            latches[i] = false;
}
