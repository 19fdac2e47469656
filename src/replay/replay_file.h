#pragma once
#include "replay/snapshot.h"
#include "rules/ghost.h"
#include "track/level.h"
#include <cstdint>
#include <string>
#include <vector>

// The replay format. Raise it whenever the snapshot or the digests change (a field added,
// removed or moved, another hash): a replay of another format is refused as another
// version's, never misread. The committed replays are then recorded again (make replays
// NEW_FORMAT=1).
constexpr uint16_t REPLAY_FORMAT = 5;
// snapshotLayout() of this format's snapshot; a test fails when the two part company.
constexpr uint32_t REPLAY_FORMAT_LAYOUT = 0x38bb4471u;

// One input event as readInput took it from the queue.
struct ReplayEvent {
    uint8_t type;  // SDL_KEYDOWN, SDL_KEYUP, SDL_JOYBUTTONDOWN or SDL_JOYBUTTONUP
    uint16_t code; // the key symbol or the button
};

// One frame: where its events and clock readings lie in the run's lists, and its digest.
struct ReplayFrame {
    uint32_t firstEvent = 0, eventCount = 0;
    uint32_t firstTick = 0, tickCount = 0;
    FrameDigest digest;
    bool quit = false; // the frame in which the player quit (not drawn)
};

// A run: where it started, and every frame's inputs and digest, the frames' events and
// readings one after the other in two lists. See docs/replay-format.md.
struct Replay {
    uint32_t courseChecksum = 0;
    std::string courseName; // printable, at most MAX_COURSE_NAME characters
    // The course itself, row by row, when it is not one shipped with the game: a friend with
    // nothing but the file can watch and check the run.
    std::vector<std::vector<int>> courseRows;
    // The table entry the run made, when it made one: three initials, the day (YYYY-MM-DD) and
    // the entry's stamp.
    std::string initials, date, stamp;
    uint32_t seed = 0;
    std::vector<uint8_t> snapshot;
    std::vector<ReplayFrame> frames;
    std::vector<ReplayEvent> events;
    std::vector<uint32_t> ticks; // every clock reading, in order
    RunTrail trail;              // where the run's car was, for racing it as a ghost
    // The run this one raced as its ghost (its file's checksum, 0 for none) and its trail.
    bool ghostSwitchedOn = true;
    uint32_t ghostId = 0;
    RunTrail ghost;
    uint32_t fileChecksum = 0; // the checksum the file ends with (set when it is read)

    // Adds a frame holding the events and readings added since the frame before.
    void closeFrame(const FrameDigest& digest, bool quit);
    // Empties the lists, keeping their storage.
    void clear();
};

constexpr size_t MAX_COURSE_NAME = 64;
constexpr uint32_t MAX_CARRIED_ROWS = 1u << 20;
constexpr size_t MAX_CARRIED_ROW_TILES = 64;
constexpr int MAX_CARRIED_CODE = 100000;
constexpr uint32_t MAX_REPLAY_FRAMES = 1u << 20; // about five and a half hours
constexpr size_t MAX_REPLAY_BYTES = 32u << 20;

std::vector<uint8_t> encodeReplay(const Replay& replay);
// False, with one line saying why, for a file that is not a whole, sound replay of this
// format.
bool decodeReplay(const uint8_t* data, size_t size, Replay& replay, std::string& error);
bool readReplayFile(const std::string& path, Replay& replay, std::string& error);
bool writeReplayFile(const std::string& path, const Replay& replay);
uint32_t courseChecksum(const TileList& tiles);
// The same, over a course's rows as its file gives them (the tiles follow each other in order).
uint32_t courseChecksum(const std::vector<std::vector<int>>& rows);
