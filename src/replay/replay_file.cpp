// The replay file: a small versioned binary format, described in docs/replay-format.md.
#include "replay/replay_file.h"
#include "platform/file_replace.h"
#include "platform/hash.h"
#include "rules/input.h"
#include "save/game_files.h"
#include "save/score_table.h"
#include <SDL.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char MAGIC[4] = {'Q', 'R', 'P', 'L'};
constexpr uint32_t MAX_SNAPSHOT_BYTES = 1u << 20;
constexpr uint32_t MAX_FRAME_ITEMS = 4096; // events or clock readings in one frame

struct Out {
    std::vector<uint8_t> bytes;
    void u8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) { u8(v), u8(v >> 8); }
    void u32(uint32_t v) { u16(v), u16(v >> 16); }
    void varint(uint32_t v)
    {
        for (; v >= 0x80; v >>= 7)
            u8(v | 0x80);
        u8(v);
    }
    // Clock readings go as differences, mostly a byte each.
    void delta(uint32_t from, uint32_t to)
    {
        const int32_t d = static_cast<int32_t>(to - from);
        varint(static_cast<uint32_t>(d << 1) ^ static_cast<uint32_t>(d >> 31));
    }
    void text(const std::string& t)
    {
        u8(static_cast<uint32_t>(t.size()));
        bytes.insert(bytes.end(), t.begin(), t.end());
    }
    void trail(const RunTrail& t)
    {
        varint(static_cast<uint32_t>(t.points.size()));
        TrailPoint before;
        for (const TrailPoint& p : t.points) {
            delta(static_cast<uint32_t>(before.x), static_cast<uint32_t>(p.x));
            delta(static_cast<uint32_t>(before.screenY), static_cast<uint32_t>(p.screenY));
            delta(static_cast<uint32_t>(before.progress), static_cast<uint32_t>(p.progress));
            before = p;
        }
        varint(static_cast<uint32_t>(t.checkpointFrames.size()));
        uint32_t frame = 0;
        for (uint32_t f : t.checkpointFrames)
            varint(f - frame), frame = f;
        varint(static_cast<uint32_t>(t.finalScore));
    }
};

struct In {
    const uint8_t* data;
    size_t size, pos = 0;
    bool bad = false;
    bool need(size_t n)
    {
        if (bad || size - pos < n)
            bad = true;
        return !bad;
    }
    // A number that does not fit in what is left reads as 0, never as part of itself.
    uint32_t little(size_t width)
    {
        uint32_t v = 0;
        if (need(width))
            for (size_t i = 0; i < width; ++i)
                v |= uint32_t(data[pos++]) << 8 * i;
        return v;
    }
    uint32_t u8() { return little(1); }
    uint32_t u16() { return little(2); }
    uint32_t u32() { return little(4); }
    uint32_t varint()
    {
        uint32_t v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const uint32_t b = u8();
            v |= (b & 0x7f) << shift;
            if (!(b & 0x80))
                return v;
        }
        bad = true;
        return 0;
    }
    uint32_t delta(uint32_t from)
    {
        const uint32_t z = varint();
        return from + ((z >> 1) ^ (0u - (z & 1)));
    }
    // A short text of printable characters, at most `limit` of them; "" and bad when not.
    std::string text(size_t limit)
    {
        const uint32_t length = u8();
        if (length > limit || !need(length)) {
            bad = true;
            return "";
        }
        std::string t(data + pos, data + pos + length);
        pos += length;
        for (char c : t)
            if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) >= 127)
                bad = true;
        return t;
    }
    // A count of items each taking at least a byte: never more than are left.
    uint32_t count(uint32_t limit)
    {
        const uint32_t n = varint();
        if (n > limit || n > size - pos)
            bad = true;
        return bad ? 0 : n;
    }
    void trail(RunTrail& t)
    {
        const uint32_t points = count(MAX_REPLAY_FRAMES);
        t.points.reserve(points);
        TrailPoint p;
        for (uint32_t i = 0; i < points && !bad; ++i) {
            // Each value is bounded as a whole once read (trailFault).
            const int32_t x = static_cast<int32_t>(delta(static_cast<uint32_t>(p.x)));
            const int32_t y = static_cast<int32_t>(delta(static_cast<uint32_t>(p.screenY)));
            p.progress = static_cast<int32_t>(delta(static_cast<uint32_t>(p.progress)));
            if (x < TRAIL_MIN_X || x > TRAIL_MAX_X || y < TRAIL_MIN_Y || y > TRAIL_MAX_Y)
                bad = true;
            p.x = static_cast<int16_t>(x), p.screenY = static_cast<int16_t>(y);
            t.points.push_back(p);
        }
        const uint32_t checkpoints = count(TRAIL_MAX_CHECKPOINTS);
        uint32_t frame = 0;
        for (uint32_t i = 0; i < checkpoints && !bad; ++i)
            t.checkpointFrames.push_back(frame += varint());
        t.finalScore = static_cast<int32_t>(varint());
        if (!bad && *trailFault(t))
            bad = true;
    }
};
// One frame's events, clock readings and digest, added to the replay; `clock` and `previous`
// carry the frame before's last reading and digest. False for an event the game cannot take
// (a frame cut short only sets in.bad).
bool decodeFrame(In& in, Replay& r, uint32_t& clock, FrameDigest& previous)
{
    const uint32_t head = in.varint(), events = head >> 1;
    if (events > MAX_FRAME_ITEMS)
        in.bad = true;
    for (uint32_t i = 0; i < events && !in.bad; ++i) {
        const uint32_t type = in.u8(), code = in.varint();
        // Only the presses and releases of keys and buttons the game can take.
        // A button number fits a byte; the quit a signal asked for carries none.
        const bool byteCode =
            type == SDL_JOYBUTTONDOWN || type == SDL_JOYBUTTONUP || type == QUIT_REQUEST_EVENT;
        if (!in.bad && (!isInputEvent(static_cast<uint8_t>(type)) || (byteCode && code > 255)))
            return false;
        r.events.push_back({static_cast<uint8_t>(type), static_cast<uint16_t>(code)});
    }
    const uint32_t ticks = in.bad ? 0 : in.varint();
    if (ticks > MAX_FRAME_ITEMS)
        in.bad = true;
    for (uint32_t i = 0; i < ticks && !in.bad; ++i)
        r.ticks.push_back(clock = in.delta(clock));
    const uint32_t changed = in.varint();
    if (changed >> DIGEST_GROUPS)
        in.bad = true;
    FrameDigest digest;
    for (int g = 0; g < DIGEST_GROUPS; ++g)
        digest.group[g] = changed >> g & 1 ? static_cast<uint16_t>(in.u16()) : previous.group[g];
    previous = digest;
    r.closeFrame(digest, head & 1);
    return true;
}
// The table entry a run carries: none at all, or three initials, a day and a stamp that can
// only name a file of the settings folder.
bool entryFieldsSound(const Replay& r)
{
    if (r.initials.empty() && r.date.empty() && r.stamp.empty())
        return true;
    if (r.initials.size() != 3 || r.date.size() != 10 || r.stamp.empty())
        return false;
    for (char c : r.initials)
        if (!std::isupper(static_cast<unsigned char>(c)) &&
            !std::isdigit(static_cast<unsigned char>(c)) && c != ' ' && c != '.')
            return false;
    for (size_t i = 0; i < 10; ++i)
        if ((i == 4 || i == 7) ? r.date[i] != '-'
                               : !std::isdigit(static_cast<unsigned char>(r.date[i])))
            return false;
    return stampIsSafe(r.stamp);
}
} // namespace

void Replay::closeFrame(const FrameDigest& digest, bool quit)
{
    const ReplayFrame* last = frames.empty() ? nullptr : &frames.back();
    ReplayFrame f;
    f.firstEvent = last ? last->firstEvent + last->eventCount : 0;
    f.eventCount = static_cast<uint32_t>(events.size()) - f.firstEvent;
    f.firstTick = last ? last->firstTick + last->tickCount : 0;
    f.tickCount = static_cast<uint32_t>(ticks.size()) - f.firstTick;
    f.digest = digest;
    f.quit = quit;
    frames.push_back(f);
}

void Replay::clear()
{
    courseRows.clear();
    initials.clear(), date.clear(), stamp.clear();
    trail = RunTrail();
    ghostSwitchedOn = true;
    ghostId = 0;
    ghost = RunTrail();
    snapshot.clear();
    frames.clear();
    events.clear();
    ticks.clear();
}

uint32_t courseChecksum(const TileList& tiles)
{
    uint32_t h = fnv1a(nullptr, 0);
    for (const Tile& t : tiles)
        h = fnv1a(&t.code, sizeof t.code, h);
    return h;
}

uint32_t courseChecksum(const std::vector<std::vector<int>>& rows)
{
    uint32_t h = fnv1a(nullptr, 0);
    for (const std::vector<int>& row : rows)
        for (const int& code : row)
            h = fnv1a(&code, sizeof code, h);
    return h;
}

std::vector<uint8_t> encodeReplay(const Replay& r)
{
    Out o;
    o.bytes.assign(MAGIC, MAGIC + 4);
    o.u16(REPLAY_FORMAT);
    o.u32(r.courseChecksum);
    const size_t nameLength = std::min(r.courseName.size(), MAX_COURSE_NAME);
    o.u8(static_cast<uint8_t>(nameLength));
    o.bytes.insert(o.bytes.end(), r.courseName.begin(), r.courseName.begin() + nameLength);
    o.varint(static_cast<uint32_t>(r.courseRows.size()));
    for (const std::vector<int>& row : r.courseRows) {
        o.varint(static_cast<uint32_t>(row.size()));
        for (int code : row)
            o.delta(0, static_cast<uint32_t>(code));
    }
    o.text(r.initials), o.text(r.date), o.text(r.stamp);
    o.u32(r.seed);
    o.u32(static_cast<uint32_t>(r.snapshot.size()));
    o.bytes.insert(o.bytes.end(), r.snapshot.begin(), r.snapshot.end());
    o.u32(static_cast<uint32_t>(r.frames.size()));
    uint32_t clock = r.seed;
    FrameDigest previous;
    for (const ReplayFrame& f : r.frames) {
        o.varint(f.eventCount << 1 | (f.quit ? 1 : 0));
        for (uint32_t i = 0; i < f.eventCount; ++i)
            o.u8(r.events[f.firstEvent + i].type), o.varint(r.events[f.firstEvent + i].code);
        o.varint(f.tickCount);
        for (uint32_t i = 0; i < f.tickCount; ++i)
            o.delta(clock, r.ticks[f.firstTick + i]), clock = r.ticks[f.firstTick + i];
        // Only the groups that changed since the frame before, after a mask of which.
        uint32_t changed = 0;
        for (int g = 0; g < DIGEST_GROUPS; ++g)
            changed |= (f.digest.group[g] != previous.group[g]) << g;
        o.varint(changed);
        for (int g = 0; g < DIGEST_GROUPS; ++g)
            if (changed >> g & 1)
                o.u16(f.digest.group[g]);
        previous = f.digest;
    }
    o.trail(r.trail);
    o.u8(r.ghostSwitchedOn ? 1 : 0);
    o.u32(r.ghostId);
    if (r.ghostId != 0)
        o.trail(r.ghost);
    o.u32(fnv1a(o.bytes.data(), o.bytes.size()));
    return o.bytes;
}

bool decodeReplay(const uint8_t* data, size_t size, Replay& r, std::string& error)
{
    r = Replay();
    if (size < 4 || std::memcmp(data, MAGIC, 4) != 0) {
        error = "not a Quindara replay";
        return false;
    }
    if (size > MAX_REPLAY_BYTES) {
        error = "too large for a replay";
        return false;
    }
    In head{data, size, 4};
    const uint32_t format = head.u16();
    if (head.bad) {
        error = "cut short";
        return false;
    }
    if (format != REPLAY_FORMAT) {
        error = "recorded by another version of Quindara";
        return false;
    }
    if (size < 10 || fnv1a(data, size - 4) != In{data, size, size - 4}.u32()) {
        error = "damaged (its checksum does not match)";
        return false;
    }
    r.fileChecksum = In{data, size, size - 4}.u32();
    In in{data, size - 4, 6}; // what the checksum covers
    r.courseChecksum = in.u32();
    const uint32_t nameLength = in.u8();
    if (nameLength > MAX_COURSE_NAME || !in.need(nameLength)) {
        error = "damaged (its course's name is cut short)";
        return false;
    }
    r.courseName.assign(data + in.pos, data + in.pos + nameLength);
    in.pos += nameLength;
    for (char c : r.courseName)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) >= 127) {
            error = "damaged (its course's name is not text)";
            return false;
        }
    const uint32_t rows = in.count(MAX_CARRIED_ROWS);
    r.courseRows.resize(rows);
    for (uint32_t i = 0; i < rows && !in.bad; ++i) {
        const uint32_t tiles = in.count(MAX_CARRIED_ROW_TILES);
        for (uint32_t t = 0; t < tiles && !in.bad; ++t) {
            const int32_t code = static_cast<int32_t>(in.delta(0));
            if (code < -MAX_CARRIED_CODE || code > MAX_CARRIED_CODE)
                in.bad = true;
            r.courseRows[i].push_back(code);
        }
    }
    r.initials = in.text(3), r.date = in.text(10), r.stamp = in.text(40);
    if (in.bad || !entryFieldsSound(r)) {
        error = "damaged (the course or the table entry it carries)";
        return false;
    }
    r.seed = in.u32();
    const uint32_t snapshotSize = in.u32();
    if (snapshotSize > MAX_SNAPSHOT_BYTES || !in.need(snapshotSize)) {
        error = "damaged (its starting state is cut short)";
        return false;
    }
    r.snapshot.assign(data + in.pos, data + in.pos + snapshotSize);
    in.pos += snapshotSize;
    const uint32_t frames = in.u32();
    if (frames == 0 && !in.bad) { // a run is kept from the frame of its start press on
        error = "damaged (it holds no frames)";
        return false;
    }
    if (frames > MAX_REPLAY_FRAMES || frames > size) { // every frame takes bytes
        error = "damaged (it claims too many frames)";
        return false;
    }
    r.frames.reserve(frames);
    uint32_t clock = r.seed;
    FrameDigest previous;
    for (uint32_t n = 0; n < frames && !in.bad; ++n) {
        if (!decodeFrame(in, r, clock, previous)) {
            error = "damaged (frame " + std::to_string(n) + " holds an event the game cannot take)";
            return false;
        }
    }
    if (in.bad) {
        error = "damaged (its frames do not add up)";
        return false;
    }
    in.trail(r.trail);
    const uint32_t switched = in.u8();
    r.ghostSwitchedOn = switched == 1;
    r.ghostId = in.u32();
    if (switched > 1 || (r.ghostId != 0 && !r.ghostSwitchedOn))
        in.bad = true;
    if (r.ghostId != 0)
        in.trail(r.ghost);
    if (in.bad || r.trail.points.size() > r.frames.size() || in.pos != in.size) {
        error = "damaged (the way its car went, or its ghost's, does not add up)";
        return false;
    }
    return true;
}

bool readReplayFile(const std::string& path, Replay& replay, std::string& error)
{
    std::string bytes, why;
    if (!readGameFile(path, MAX_REPLAY_BYTES, bytes, why)) {
        // A file too large is still said to be one: decoding says so in its words.
        if (why.compare(0, 6, "larger") != 0) {
            error = why == "not a plain file" ? "not a regular file" : "cannot be read";
            return false;
        }
    }
    return decodeReplay(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), replay,
                        error);
}

bool writeReplayFile(const std::string& path, const Replay& replay)
{
    const std::vector<uint8_t> bytes = encodeReplay(replay);
    // Under the folder's lock, as the settings are saved: the start-up's clean-up of what a
    // killed save left never takes a file being written now.
    const FolderLock lock(folderOf(path), SAVE_LOCK_WAIT_MS);
    return replaceFile(path, bytes.data(), bytes.size());
}
