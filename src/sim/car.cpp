#include "sim/car.h"
#include <cstdlib>

Car playerCar;
Car trafficCar;

namespace
{
// Both records are reset when the process ends; the surfaces themselves belong to the
// asset catalogue and are left to the end of the process.
struct ResetCarsAtExit {
    ~ResetCarsAtExit()
    {
        resetCar(playerCar);
        resetCar(trafficCar);
    }
} resetCarsAtExit;
} // namespace

void resetCars()
{
    playerCar = Car();
    trafficCar = Car();
}

namespace
{
// Generous bounds of what the game produces: a car stays within a few screens of the road.
constexpr int SCREEN_LIMIT = 2000;

int colourIndexOf(const Car& car)
{
    for (int c = 0; c < TRAFFIC_COLOURS; ++c)
        if (car.frameA && car.frameA == car.colourFrames[c].first)
            return c;
    return -1; // the pair loaded at start-up
}

void visitCar(StateVisitor& v, Car& c)
{
    const StateGroup g = GROUP_CARS;
    v(g, c.x), v(g, c.y), v(g, c.screenY), v(g, c.lateralSpeed), v(g, c.speed), v(g, c.drift);
    v(g, c.trafficSpeed), v(g, c.maxSpeed), v(g, c.speedStep), v(g, c.kind), v(g, c.state);
    v(g, c.offRoadDrag), v(g, c.headlightsOn), v(g, c.animPhase), v(g, c.steeredDiagonally);
    v(g, c.throttleHeld), v(g, c.nextColour), v(g, c.nextLane), v(g, c.nextTopSpeed);
    v(g, c.respawnPending), v(g, c.passSoundPlayed), v(g, c.echoLatch11), v(g, c.echoLatch10);
    v(g, c.engineChannel), v(g, c.engineLevel), v(g, c.engineLevelLatched);
    // The channel the mixer last answered is never read back, and a replay without a sound
    // device gets other answers: it is kept, not compared.
    v(GROUP_NONE, c.lastChannel);
    // The sprites by which colour they are, not by where they lie in memory.
    int colour = colourIndexOf(c);
    v(g, colour);
    // Where a car can be and how fast it can go, with room for a crash slide off the road.
    auto within = [](int value, int low, int high) { return value >= low && value <= high; };
    v.require(within(c.kind, CAR_PLAYER, CAR_TRAFFIC), "a car's kind");
    v.require(c.state == CAR_DRIVING || c.state == CAR_CRASHED || c.state == CAR_SKIDDING ||
                  c.state == CAR_ON_GRAVEL,
              "a car's state");
    v.require(within(c.x, -SCREEN_LIMIT, SCREEN_LIMIT) &&
                  within(c.y, -SCREEN_LIMIT, SCREEN_LIMIT) &&
                  within(c.screenY, -SCREEN_LIMIT, SCREEN_LIMIT),
              "a car's position");
    v.require(
        within(c.speed, -CAR_SPEED_LIMIT, CAR_SPEED_LIMIT) &&
            within(c.lateralSpeed, -LATERAL_SPEED_LIMIT, LATERAL_SPEED_LIMIT) &&
            within(c.drift, -CAR_SPEED_LIMIT, CAR_SPEED_LIMIT) &&
            within(c.trafficSpeed, -CAR_SPEED_LIMIT, CAR_SPEED_LIMIT) &&
            within(c.maxSpeed, 0, CAR_SPEED_LIMIT) && within(c.speedStep, 0, CAR_SPEED_LIMIT) &&
            within(c.offRoadDrag, 0, CAR_SPEED_LIMIT) && within(c.nextTopSpeed, 0, CAR_SPEED_LIMIT),
        "a car's speed");
    v.require(within(c.nextColour, 0, TRAFFIC_COLOURS - 1) &&
                  within(colour, -1, TRAFFIC_COLOURS - 1),
              "a car's colour");
    v.require(within(c.nextLane, 0, 2), "a car's lane");
    v.require(within(c.engineChannel, -1, 7) && within(c.lastChannel, -1, 7),
              "a car's sound channel");
    v.require(within(c.engineLevel, 0, CAR_SPEED_LIMIT), "a car's engine level");
    if (v.restoring() && colour >= 0 && colour < TRAFFIC_COLOURS) {
        c.frameA = c.colourFrames[colour].first;
        c.frameB = c.colourFrames[colour].second;
    }
}
} // namespace

void visitCars(StateVisitor& v)
{
    visitCar(v, playerCar);
    visitCar(v, trafficCar);
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

void setMaxSpeed(Car& car, int v)
{
    car.maxSpeed = v;
}

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
