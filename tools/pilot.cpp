#include "pilot.h"
#include "sim/car.h"
#include "sim/player.h"
#include "sim/road.h"
#include "state/game.h"
#include <SDL.h>
#include <algorithm>
#include <cstdlib>

void Pilot::set(int which, bool down)
{
    if (held[which] == down)
        return;
    held[which] = down;
    static const int keys[3] = {KEY_UP, KEY_LEFT, KEY_RIGHT};
    static const int buttons[3] = {0, 2, 6};
    if (pad && which == 0)
        pad->button(0, down); // A
    else if (pad)
        pad->axis(0, held[1] == held[2] ? 0 : held[1] ? -32767 : 32767); // the left stick
    else if (joystick)
        pushButtonEvent(buttons[which], down);
    else
        pushKeyEvent(keys[which], down);
}

void Pilot::releaseAll()
{
    for (int which = 0; which < 3; ++which)
        set(which, false);
}

void Pilot::steer(const TileList& tiles)
{
    set(0, throttle);
    const RoadEdges road = roadEdges(tiles, playerCar.screenY - lookAhead);
    const int left = road.left >= 0 ? road.left : 40, right = road.right >= 0 ? road.right : 200;
    int target = (left + right) / 2;
    if (aim == AIM_LEFT_EDGE)
        target = left - 12;
    else if (aim == AIM_RIGHT_EDGE)
        target = right + 12;
    else if (aim == AIM_TRAFFIC)
        target = trafficCar.x;
    else if (aim == AIM_X)
        target = targetX;
    const int gapAhead = playerCar.screenY - trafficCar.y;
    if (aim != AIM_TRAFFIC && gapAhead > -45 && gapAhead < 220 &&
        std::abs(trafficCar.x - playerCar.x) < 50) {
        // Round the traffic car on the side with more road; one already level with it (after
        // a crash, say) keeps to the side it is on.
        const int roomLeft = trafficCar.x - left, roomRight = right - trafficCar.x;
        const bool level = gapAhead < 40;
        const bool goLeft = level ? playerCar.x < trafficCar.x : roomLeft > roomRight;
        target =
            goLeft ? trafficCar.x - CAR_WIDTH - passingGap : trafficCar.x + CAR_WIDTH + passingGap;
    }
    const int wanted = std::clamp((target - playerCar.x) / pixelsPerStep, -maxLateral, maxLateral);
    set(1, playerCar.lateralSpeed > wanted);
    set(2, playerCar.lateralSpeed < wanted);
}
