#pragma once

// Exit statuses of the program.
constexpr int EXIT_NO_LEVEL = 1;
constexpr int EXIT_NO_SCREEN = 2;
constexpr int EXIT_BAD_REPLAY = 2; // a replay that cannot be read, or is not this game's
constexpr int EXIT_REPLAY_DIFFERS = 3;
constexpr int EXIT_OUTPUT_FAILED = 2; // what the program said could not be written
constexpr int EXIT_USAGE = 64;
