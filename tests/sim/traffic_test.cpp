#include "platform/clock.h"
#include "rules/game_state.h"
#include "sim/car.h"
#include "sim/road.h"
#include "sim/traffic.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <gtest/gtest.h>

namespace
{
class TrafficTest : public ::testing::Test
{
  protected:
    TileList tiles;
    void SetUp() override
    {
        useVirtualClock(true);
        setVirtualTicks(777);
        resetEveryRoom();
        setKind(trafficCar, CAR_TRAFFIC);
        const std::vector<int> road = {1, 3, 2, 2, 2, 2, 4, 1};
        tiles = makeTiles({road, road, road, road, road, road, road, road, road, road, road, road});
        placeTrafficAtStart(trafficCar);
    }
    void TearDown() override { useVirtualClock(false); }

    void update(int playerSpeed, int playerState = CAR_DRIVING)
    {
        advanceVirtualTicks(19);
        updateTraffic(trafficCar, tiles, playerSpeed, playerState);
    }
};
} // namespace

TEST_F(TrafficTest, SpeedRuleSettlesBelowTheTopSpeedForASlowPlayer)
{
    for (auto [top, settled] : {std::pair{16, -4}, {15, -5}, {14, -6}}) {
        trafficCar.maxSpeed = top;
        trafficCar.trafficSpeed = -top;
        for (int i = 0; i < 30; ++i)
            adjustTrafficSpeed(trafficCar, 0);
        EXPECT_EQ(trafficCar.trafficSpeed, settled) << top;
    }
    // A fast player: up to its top speed, but never more than 4 above the player.
    trafficCar.maxSpeed = 16;
    trafficCar.trafficSpeed = -1;
    for (int i = 0; i < 40; ++i)
        adjustTrafficSpeed(trafficCar, -11);
    EXPECT_EQ(trafficCar.trafficSpeed, -15);
    for (int i = 0; i < 40; ++i)
        adjustTrafficSpeed(trafficCar, -20);
    EXPECT_EQ(trafficCar.trafficSpeed, -16);
}

TEST_F(TrafficTest, AFastPlayerLeavesTheCarBehindAndItReturnsAtTheTop)
{
    game.gameState = STATE_PLAYING;
    trafficCar.y = 100;
    trafficCar.maxSpeed = 14;
    trafficCar.trafficSpeed = -14;
    update(-20);
    EXPECT_EQ(trafficCar.y, 106); // falls back by the difference in speed
    trackView.scrollY = 80;       // rows above the screen, where the car is placed again
    for (int frames = 0; frames < 100 && trafficCar.y >= 0; ++frames)
        update(-20);
    // Placed at -41 with its new top speed, then falling back 4 to 6 at once.
    EXPECT_GE(trafficCar.y, -TRAFFIC_MARGIN + 4);
    EXPECT_LE(trafficCar.y, -TRAFFIC_MARGIN + 6);
    EXPECT_GE(trafficCar.maxSpeed, 14);
    EXPECT_LE(trafficCar.maxSpeed, 16);
    EXPECT_GE(trafficCar.x, 40);
    EXPECT_LE(trafficCar.x, 280);
}

TEST_F(TrafficTest, ACarPullingAwayFromAStandingPlayerComesBackFromBelow)
{
    game.gameState = STATE_ATTRACT;
    trafficCar.y = -30;
    trafficCar.trafficSpeed = -4;
    trafficCar.maxSpeed = 16;
    for (int i = 0; i < 5 && trafficCar.y <= 0; ++i)
        update(0);
    EXPECT_GT(trafficCar.y, 200); // 281, then moved up by its own speed
    EXPECT_LE(trafficCar.y, 281);
}

TEST_F(TrafficTest, TheLeftEdgeRuleWhenThePlayerCannotPass)
{
    game.gameState = STATE_PLAYING;
    trackView.scrollY = 80; // the row above the screen, at -41, is road too
    for (int state : {CAR_CRASHED, CAR_SKIDDING, CAR_DRIVING}) {
        for (int round = 0; round < 5; ++round) {
            trafficCar.y = 300;               // off the bottom: placed again this update
            trafficLane.laneCheckCounter = 0; // no lane check in this update
            update(state == CAR_DRIVING ? 0 : -5, state);
            EXPECT_EQ(trafficCar.nextLane, 0);
            EXPECT_EQ(trafficCar.x, 80 + 1); // the left edge, then one step of drift
            EXPECT_EQ(trafficCar.drift, 1);
        }
    }
}

TEST_F(TrafficTest, AnXOutsideTheRoadBandGoesBackToTheLastGoodOne)
{
    trafficCar.x = 150;
    trafficCar.y = 120;
    update(-10);
    EXPECT_EQ(trafficLane.lastGoodTrafficX, 150); // the x found at the start of the update
    trafficCar.x = 290;
    trafficCar.drift = 1;
    update(-10);
    EXPECT_EQ(trafficLane.lastGoodTrafficX, 150);
    EXPECT_EQ(trafficCar.x, 150);
}

TEST_F(TrafficTest, TheLaneCheckRunsOnTheNinthUpdateThenEveryEighth)
{
    game.gameState = STATE_ATTRACT;
    std::vector<int> checks;
    for (int i = 1; i <= 25; ++i) {
        roadReadings.diagLeftEdge = 12345;
        trafficCar.y = 120;
        update(0);
        if (roadReadings.diagLeftEdge != 12345)
            checks.push_back(i);
    }
    EXPECT_EQ(checks, (std::vector<int>{9, 17, 25}));
}

TEST_F(TrafficTest, ASplitRoadKeepsTheCarOnItsOwnSide)
{
    const std::vector<int> split = {3, 2, 2, 16, 15, 2, 2, 4};
    tiles = makeTiles({split, split, split, split, split, split, split, split});
    game.gameState = STATE_ATTRACT;
    trafficLane.laneCheckCounter = 8;
    trafficCar.x = 130; // past the left carriageway's right limit of 120
    trafficCar.y = 150;
    trafficCar.drift = 1;
    update(0);
    EXPECT_EQ(trafficCar.drift, -1);
    trafficLane.laneCheckCounter = 8;
    trafficCar.x = 190; // right-hand side: limits 200..320
    trafficCar.drift = -1;
    update(0);
    EXPECT_EQ(trafficCar.drift, 1);
    trafficLane.laneCheckCounter = 8;
    trafficCar.x = 159; // at 160 when checked: still the left-hand side
    trafficCar.drift = 1;
    update(0);
    EXPECT_EQ(trafficCar.drift, -1);
}

TEST_F(TrafficTest, ACarAboveTheScreenWaitsForACrashedPlayer)
{
    game.gameState = STATE_ATTRACT;
    trafficCar.y = -100;
    trafficCar.trafficSpeed = -16;
    for (int i = 0; i < 3 * 60 * 52; ++i) // three minutes of attract
        update(0, CAR_CRASHED);
    EXPECT_EQ(trafficCar.y, -100);
    update(0, CAR_DRIVING); // the player is back: the car comes in from below
    EXPECT_GT(trafficCar.y, 200);
}
