#include "sim/traffic.h"
#include "platform/clock.h"
#include "sim/road.h"
#include "state/game.h"
#include <cstdlib>

TrafficLane trafficLane;

void resetTrafficState()
{
    trafficLane = TrafficLane();
}

void visitTrafficState(StateVisitor& v)
{
    v(GROUP_CARS, trafficLane.lastGoodTrafficX), v(GROUP_CARS, trafficLane.laneCheckCounter);
    v.require(trafficLane.lastGoodTrafficX >= -2000 && trafficLane.lastGoodTrafficX <= 2000,
              "the traffic car's last lane");
    v.require(trafficLane.laneCheckCounter >= 0 && trafficLane.laneCheckCounter <= 1000,
              "the traffic car's lane check");
}

void placeTrafficAtStart(Car& car)
{
    setX(car, 80);
    setY(car, SCREEN_HEIGHT);
    setDrift(car, +1);
    setMaxSpeed(car, 15);
    setSpeed(car, -1);
}

void applyColour(Car& car, int colour)
{
    const int c = std::abs(colour);
    if (c > 3)
        return;
    car.frameA = car.colourFrames[c].first;
    car.frameB = car.colourFrames[c].second;
}

void adjustTrafficSpeed(Car& car, int playerSpeed)
{
    int s = car.trafficSpeed;
    const int lim = 20 - car.maxSpeed;
    const int ps = std::abs(playerSpeed);
    if (ps > 10) {
        if (std::abs(s) < car.maxSpeed)
            s -= car.speedStep;
    } else if (std::abs(s) <= lim && std::abs(s) < car.maxSpeed) {
        s -= car.speedStep;
    }
    // Never more than 4 ahead of the player's pace.
    if (std::abs(s) > ps + 4 && std::abs(s) >= lim)
        s += car.speedStep;
    car.trafficSpeed = s;
}

namespace
{

// Every eighth update the car looks 50 pixels ahead and keeps itself between the edges.
void checkLane(Car& car, const TileList& tiles)
{
    const int probe = car.y - 50;
    int under = 0;
    const int code = terrainUnder(tiles, car.x, probe, true, true, under);
    RoadEdges e = roadEdges(tiles, probe);
    roadReadings.diagLeftEdge = e.left;
    roadReadings.diagRightEdge = e.right;
    if (e.split) {
        if (car.x <= 160) {
            e.left = 40;
            e.right = 120;
        } else {
            e.left = 200;
            e.right = 320;
        }
    }
    if (car.x < e.left || car.x > e.right) {
        if (car.x <= e.left)
            car.drift = +1;
        else if (car.x >= e.right)
            car.drift = -1;
    } else {
        const int m = std::abs(code);
        if (m != 2 && m != 11 && m != 12)
            car.drift = car.drift <= 0 ? +1 : -1;
    }
}

} // namespace

namespace
{
// A car back on the screen: the top speed, lane and colour chosen for it this frame.
void placeAgain(Car& car, const TileList& tiles)
{
    car.maxSpeed = car.nextTopSpeed;
    car.trafficSpeed = -car.nextTopSpeed;
    switch (car.nextLane) {
    case 0:
        car.x = laneEdge(tiles, car.y, true, false);
        car.drift = +1;
        break;
    case 1:
        car.x = laneEdge(tiles, car.y, false, false);
        car.drift = -1;
        break;
    default:
        car.x = laneEdge(tiles, car.y, true, false) + 40;
        std::srand(ticksNow());
        car.drift = std::rand() % 2 == 0 ? +1 : -1;
        break;
    }
    applyColour(car, car.nextColour);
    car.respawnPending = false;
}
} // namespace

void updateTraffic(Car& car, const TileList& tiles, int playerSpeed, int playerState)
{
    if (car.x >= 40 && car.x <= 280)
        trafficLane.lastGoodTrafficX = car.x;

    std::srand(ticksNow());
    car.nextColour = std::rand() % 4;
    const bool keepLeft =
        game.gameState == STATE_PLAYING &&
        (playerState == CAR_CRASHED || playerState == CAR_SKIDDING || playerSpeed == 0);
    car.nextLane = keepLeft ? 0 : std::rand() % 3;
    car.nextTopSpeed = 14 + std::rand() % 3;

    // Off one edge of the screen, back in at the other.
    const bool waitingAbove = car.y < -TRAFFIC_MARGIN && playerState == CAR_CRASHED;
    car.respawnPending = false;
    if (car.y < -TRAFFIC_MARGIN && playerState != CAR_CRASHED) {
        car.y = SCREEN_HEIGHT + TRAFFIC_MARGIN;
        car.respawnPending = true;
    }
    if (car.y > SCREEN_HEIGHT + TRAFFIC_MARGIN) {
        car.y = -TRAFFIC_MARGIN;
        car.respawnPending = true;
    }

    roadReadings.diagTrafficSpeed = car.trafficSpeed;
    adjustTrafficSpeed(car, playerSpeed);

    if (car.respawnPending)
        placeAgain(car, tiles);

    adjustTrafficSpeed(car, playerSpeed);

    car.x += car.drift;
    if (car.x < 0 || car.x > SCREEN_WIDTH - CAR_WIDTH)
        car.x -= car.drift;

    // Screen motion is the difference between the two speeds. A car waiting above the
    // screen for a crashed player stays put rather than climbing away without bound.
    if (!waitingAbove) {
        if (playerSpeed == 0)
            car.y += car.trafficSpeed;
        else
            car.y -= std::abs(car.trafficSpeed) - std::abs(playerSpeed);
    }

    if (trafficLane.laneCheckCounter == 8) {
        checkLane(car, tiles);
        trafficLane.laneCheckCounter = 1;
    } else {
        ++trafficLane.laneCheckCounter;
    }

    if (car.x < 40 || car.x > 280)
        car.x = trafficLane.lastGoodTrafficX;
}
