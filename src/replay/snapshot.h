#pragma once
#include "present/sound.h"
#include <cstdint>
#include <string>
#include <vector>

struct FrameLoop;

// What a replay compares frame by frame: a short hash of each group of the game's state, of
// the screen, and of the frame's sound requests.
enum DigestGroup {
    GROUP_STATE, GROUP_SCORE, GROUP_TIME, GROUP_CARS, GROUP_SCROLL, GROUP_MARKERS,
    GROUP_CHECKPOINTS, GROUP_SCREEN, GROUP_SOUND, DIGEST_GROUPS
};
extern const char* const DIGEST_GROUP_NAMES[DIGEST_GROUPS];

struct FrameDigest {
    uint16_t group[DIGEST_GROUPS] = {};
    bool operator==(const FrameDigest& o) const;
};

// Every value a run depends on, from the game variables to the frame loop's stopwatches, as
// bytes; restoring them puts a fresh process where the recorded one was.
std::vector<uint8_t> saveSnapshot(const FrameLoop& loop);
bool restoreSnapshot(const std::vector<uint8_t>& bytes, FrameLoop& loop);

FrameDigest digestFrame(const std::vector<SoundRequest>& sounds);
// The groups in which two digests differ, by name ("cars, screen").
std::string differingGroups(const FrameDigest& a, const FrameDigest& b);
