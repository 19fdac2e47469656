#include "platform/clock.h"
#include "platform/stopwatch.h"
#include <gtest/gtest.h>

class StopwatchTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        useVirtualClock(true);
        setVirtualTicks(5000);
    }
    void TearDown() override { useVirtualClock(false); }
};

TEST_F(StopwatchTest, ElapsedIsZeroUnlessStartedWhateverTheFieldsHold)
{
    Stopwatch w;
    w.startTicks = 123;
    w.pausedTicks = 456;
    EXPECT_EQ(w.elapsed(), 0);
    w.start();
    advanceVirtualTicks(250);
    EXPECT_EQ(w.elapsed(), 250);
    w.stop();
    EXPECT_EQ(w.elapsed(), 0);
    EXPECT_FALSE(w.isStarted());
}

TEST_F(StopwatchTest, PausedTimeIsNotCounted)
{
    Stopwatch w;
    w.start();
    advanceVirtualTicks(300);
    w.pause();
    advanceVirtualTicks(10000);
    EXPECT_EQ(w.elapsed(), 300);
    EXPECT_TRUE(w.isPaused());
    w.resume();
    EXPECT_EQ(w.elapsed(), 300);
    advanceVirtualTicks(50);
    EXPECT_EQ(w.elapsed(), 350);
    EXPECT_EQ(w.pausedTicks, 0u);
}

TEST_F(StopwatchTest, PauseAndResumeOutOfTurnChangeNothing)
{
    Stopwatch w;
    w.pause(); // not started
    EXPECT_FALSE(w.isPaused());
    w.resume(); // not paused
    w.start();
    advanceVirtualTicks(100);
    w.pause();
    advanceVirtualTicks(100);
    w.pause(); // second pause keeps the first frozen value
    EXPECT_EQ(w.elapsed(), 100);
    w.resume();
    w.resume();
    advanceVirtualTicks(20);
    EXPECT_EQ(w.elapsed(), 120);
}

TEST_F(StopwatchTest, StartOnPausedOrStoppedBeginsAfresh)
{
    Stopwatch w;
    w.start();
    advanceVirtualTicks(700);
    w.pause();
    w.start();
    EXPECT_FALSE(w.isPaused());
    EXPECT_EQ(w.elapsed(), 0);
    advanceVirtualTicks(40);
    w.pause();
    w.stop();
    EXPECT_FALSE(w.isPaused());
    EXPECT_FALSE(w.isStarted());
    w.start();
    advanceVirtualTicks(5);
    EXPECT_EQ(w.elapsed(), 5);
}

TEST_F(StopwatchTest, SurvivesTheTickCounterWrapping)
{
    setVirtualTicks(0xFFFFFF00u);
    Stopwatch w;
    w.start();
    advanceVirtualTicks(0x200); // wraps past zero
    EXPECT_EQ(w.elapsed(), 0x200);
    w.clear();
    EXPECT_EQ(w.startTicks, 0u);
    EXPECT_FALSE(w.isStarted());
}
