#pragma once
#include "platform/sound.h"
#include "platform/state_visitor.h"
#include <cstdint>
#include <string>
#include <vector>

struct FrameLoop;

// What a replay compares frame by frame: a short hash of each group of the game's state, of
// the screen, and of the frame's sound requests.
extern const char* const DIGEST_GROUP_NAMES[DIGEST_GROUPS];

struct FrameDigest {
    uint16_t group[DIGEST_GROUPS] = {};
    bool operator==(const FrameDigest& o) const;
};

// Every value a run depends on, from the game variables to the frame loop's stopwatches, as
// bytes; restoring them puts a fresh process where the recorded one was. `bytes` keeps its
// storage from one snapshot to the next.
void saveSnapshot(const FrameLoop& loop, std::vector<uint8_t>& bytes);
// False when the bytes do not fit the game's state or hold a value the game cannot produce;
// `why` then says which (the state is then no good for playing).
bool restoreSnapshot(const std::vector<uint8_t>& bytes, FrameLoop& loop,
                     std::string* why = nullptr);
// The snapshot's layout: a checksum of every field's group and size, in order. It changes
// when a field is added, removed or moved, and with it the replay format must.
uint32_t snapshotLayout();

FrameDigest digestFrame(const std::vector<SoundRequest>& sounds);
// The groups in which two digests differ, by name ("cars, screen").
std::string differingGroups(const FrameDigest& a, const FrameDigest& b);
// The screen's pixels, eight bytes at a time: a multiply and a shift per word carry every
// bit into the high half, so any one changed bit, or two, changes the sum.
uint64_t screenChecksum();
