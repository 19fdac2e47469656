#pragma once

// A playing frame's scoring and time rules, after the cars have moved: the contact penalty
// once its 1.5 s have run (100 points, from 100 on, the high score lowered with the score when
// they were equal), 2 points for every new row of distance while the car moves, the time left,
// the run's end when it runs out, and the high score following the score.
void scoreFrame();
// The seconds the checkpoints passed in this frame have earned, added to the run's time.
void addCheckpointTime(int seconds);
