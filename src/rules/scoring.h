#pragma once

// A playing frame's scoring and time rules, after the cars have moved: the contact penalty
// once its 1.5 s have run (100 points, from 100 on, the high score lowered with the score when
// they were equal), 2 points for every new row of distance while the car moves, the time left,
// the run's end when it runs out, and the high score following the score.
void scoreFrame();
// The seconds the checkpoints passed in this frame have earned, added to the run's time.
void addCheckpointTime(int seconds);

// The HI readout is the chosen course's best, and every change to it goes through here: on the
// first course the settings file's high score follows it (the file keeps that course's best).
void setHighScore(int value);
// The HI readout for the course just chosen: the settings file's high score on the first
// course, its table's best on any other.
void showChosenCourseBest();
// The HI readout raised to the chosen course's table's best (a contact penalty may have taken
// it below what the table holds).
void raiseHighScoreToTable();
