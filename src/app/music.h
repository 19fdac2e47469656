#pragma once

// Between frames: the music follows the game. Attract's tune while no run is on, the chosen
// course's in a run (the first course's on a course of the player's own), paused with the game,
// faded out as the time runs out; none when the player switched it off.
void keepMusic();
