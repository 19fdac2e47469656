#include "support/driver.h"
#include "present/render.h"
#include "sim/car.h"
#include "sim/player.h"
#include "support/stage.h"
#include "track/track.h"
#include <algorithm>
#include <cstdlib>

void SimpleDriver::drive(const TileList& tiles)
{
    press(KEY_UP, true);
    int left = 0, right = 0;
    roadAhead(tiles, playerCar.screenY - 30, left, right);
    int target = (left + right) / 2 - CAR_WIDTH / 2;
    const int gapAhead = playerCar.screenY - trafficCar.y;
    if (gapAhead > -40 && gapAhead < 220 && std::abs(trafficCar.x - playerCar.x) < 50) {
        // Pass on the side with more road.
        const int roomLeft = trafficCar.x - left, roomRight = right - (trafficCar.x + CAR_WIDTH);
        target =
            roomLeft > roomRight ? trafficCar.x - CAR_WIDTH - 20 : trafficCar.x + CAR_WIDTH + 20;
        target = std::clamp(target, left, std::max(left, right - CAR_WIDTH));
    }
    const int wanted = std::clamp((target - playerCar.x) / 10, -3, 3);
    press(KEY_RIGHT, playerCar.lateralSpeed < wanted);
    press(KEY_LEFT, playerCar.lateralSpeed > wanted);
}

void SimpleDriver::press(int key, bool down)
{
    if (held[key] != down)
        pushKey(key, down);
    held[key] = down;
}

// The stretch of road in that screen row nearest to the car, as [left, right).
void SimpleDriver::roadAhead(const TileList& tiles, int rowY, int& left, int& right)
{
    const int carMiddle = playerCar.x + CAR_WIDTH / 2;
    int bestDistance = 1 << 30;
    int runStart = -1;
    left = playerCar.x;
    right = playerCar.x + CAR_WIDTH;
    for (const Tile& t : tiles) {
        const int top = t.y - scrollY;
        if (top > rowY || rowY >= top + 40)
            continue;
        const bool road = isRoadCode(t.code);
        if (road && runStart < 0)
            runStart = t.x;
        if (runStart >= 0 && (!road || t.x == 280)) {
            const int runEnd = road ? t.x + 40 : t.x;
            const int distance = std::abs((runStart + runEnd) / 2 - carMiddle);
            if (distance < bestDistance) {
                left = runStart;
                right = std::min(runEnd, PANEL_X);
                bestDistance = distance;
            }
            runStart = -1;
        }
    }
}
