#pragma once
#include "replay/snapshot.h"
#include "track/level.h"
#include <cstdint>
#include <string>
#include <vector>

struct FrameLoop;

// One input event as pollInput took it from the queue.
struct ReplayEvent {
    uint8_t type;    // SDL_KEYDOWN, SDL_KEYUP, SDL_JOYBUTTONDOWN or SDL_JOYBUTTONUP
    uint16_t code;   // the key symbol or the button
};

struct ReplayFrame {
    std::vector<ReplayEvent> events;
    std::vector<uint32_t> ticks;   // every clock reading of the frame, in order
    FrameDigest digest;
    bool quit = false;             // the frame in which the player quit (not drawn)
};

// A run: where it started, and every frame's inputs and digest. See docs/replay-format.md.
struct Replay {
    std::string gameVersion;
    uint32_t courseChecksum = 0;
    uint32_t seed = 0;
    std::vector<uint8_t> snapshot;
    std::vector<ReplayFrame> frames;
};

constexpr uint32_t MAX_REPLAY_FRAMES = 1u << 20;        // about five and a half hours
constexpr size_t MAX_REPLAY_BYTES = 32u << 20;

std::vector<uint8_t> encodeReplay(const Replay& replay);
// False, with one line saying why, for a file that is not a whole, sound replay.
bool decodeReplay(const uint8_t* data, size_t size, Replay& replay, std::string& error);
bool readReplayFile(const std::string& path, Replay& replay, std::string& error);
bool writeReplayFile(const std::string& path, const Replay& replay);
uint32_t courseChecksum(const TileList& tiles);

