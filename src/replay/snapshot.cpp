#include "replay/snapshot.h"
#include "platform/hash.h"
#include "rules/game_state.h"
#include "rules/loop.h"
#include "state/game.h"
#include <SDL.h>
#include <cstring>

const char* const DIGEST_GROUP_NAMES[DIGEST_GROUPS] = {
    "state", "score", "time", "cars", "scroll", "markers", "checkpoints", "screen", "sound"};

bool FrameDigest::operator==(const FrameDigest& o) const
{
    return std::memcmp(group, o.group, sizeof group) == 0;
}

namespace
{

// Three ways through the same fields: writing them, reading them back, hashing them.
struct Writer : StateVisitor {
    std::vector<uint8_t>& out;
    explicit Writer(std::vector<uint8_t>& bytes) : out(bytes) {}
    void field(StateGroup, void* data, size_t size, FieldKind) override
    {
        const auto* p = static_cast<const uint8_t*>(data);
        out.insert(out.end(), p, p + size); // the machine's order: one machine writes and reads
    }
};

struct Reader : StateVisitor {
    const std::vector<uint8_t>& in;
    size_t pos = 0;
    bool failed = false;
    explicit Reader(const std::vector<uint8_t>& bytes) : in(bytes) {}
    const char* outOfRange = nullptr; // the first value the game could not have produced
    bool restoring() const override { return true; }
    void refuse(const char* what) override
    {
        if (!outOfRange)
            outOfRange = what;
    }
    void field(StateGroup, void* data, size_t size, FieldKind kind) override
    {
        if (failed || in.size() - pos < size) {
            failed = true;
            return;
        }
        auto* out = static_cast<uint8_t*>(data);
        for (size_t i = 0; i < size; ++i, ++pos)
            out[i] = kind == FIELD_FLAG ? in[pos] != 0 : in[pos]; // never an invalid bool
    }
};

struct Hasher : StateVisitor {
    uint32_t hash[DIGEST_GROUPS];
    Hasher() { std::fill(hash, hash + DIGEST_GROUPS, fnv1a(nullptr, 0)); }
    void field(StateGroup group, void* data, size_t size, FieldKind) override
    {
        if (group < GROUP_SCREEN)
            hash[group] = fnv1a(data, size, hash[group]);
    }
};

struct Layout : StateVisitor {
    uint32_t hash = fnv1a(nullptr, 0);
    void field(StateGroup group, void*, size_t size, FieldKind kind) override
    {
        const uint32_t shape[3] = {uint32_t(group), uint32_t(size), uint32_t(kind)};
        hash = fnv1a(shape, sizeof shape, hash);
    }
};

uint16_t fold(uint32_t h)
{
    return static_cast<uint16_t>(h ^ (h >> 16));
}
} // namespace

void saveSnapshot(const FrameLoop& loop, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    Writer w(bytes);
    visitGameState(w);
    visitFrameLoop(w, const_cast<FrameLoop&>(loop));
}

bool restoreSnapshot(const std::vector<uint8_t>& bytes, FrameLoop& loop, std::string* why)
{
    Reader r(bytes);
    visitGameState(r);
    visitFrameLoop(r, loop);
    const bool whole = !r.failed && r.pos == bytes.size();
    if (why)
        *why = !whole ? "its starting state does not fit this game"
               : r.outOfRange
                   ? std::string("its starting state holds ") + r.outOfRange + " out of range"
                   : "";
    return whole && !r.outOfRange;
}

uint32_t snapshotLayout()
{
    Layout l;
    FrameLoop loop;
    visitGameState(l);
    visitFrameLoop(l, loop);
    return l.hash;
}

namespace
{
constexpr uint64_t MIX = 0x9e3779b97f4a7c15u;
inline uint64_t mix(uint64_t h, uint64_t word)
{
    h = (h ^ word) * MIX;
    return h ^ (h >> 32);
}
} // namespace

uint64_t screenChecksum()
{
    if (!screen)
        return 0;
    SDL_LockSurface(screen);
    // Four lanes, each word of a row in turn: the multiplies do not wait on each other.
    uint64_t lane[4] = {0x243f6a8885a308d3u, 0x13198a2e03707344u, 0xa4093822299f31d0u,
                        0x082efa98ec4e6c89u};
    const int rowBytes = screen->w * screen->format->BytesPerPixel;
    for (int y = 0; y < screen->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch;
        int x = 0;
        for (; x + 32 <= rowBytes; x += 32) {
            uint64_t words[4];
            std::memcpy(words, row + x, sizeof words);
            for (int k = 0; k < 4; ++k)
                lane[k] = mix(lane[k], words[k]);
        }
        for (int k = 0; x < rowBytes; x += 8, ++k) { // what is left of a row, word by word
            uint64_t word = 0;
            std::memcpy(&word, row + x, rowBytes - x < 8 ? rowBytes - x : 8);
            lane[k] = mix(lane[k], word);
        }
    }
    SDL_UnlockSurface(screen);
    uint64_t h = 0;
    for (uint64_t l : lane)
        h = mix(h, l);
    return h;
}

FrameDigest digestFrame(const std::vector<SoundRequest>& sounds)
{
    FrameDigest d;
    Hasher h;
    visitGameState(h);
    for (int g = 0; g < GROUP_SCREEN; ++g)
        d.group[g] = fold(h.hash[g]);
    const uint64_t screenSum = screenChecksum();
    d.group[GROUP_SCREEN] = fold(static_cast<uint32_t>(screenSum ^ (screenSum >> 32)));
    uint32_t s = fnv1a(nullptr, 0);
    for (const SoundRequest& r : sounds) {
        const int32_t fields[4] = {r.op, r.channel, static_cast<int32_t>(sampleId(r.sample)),
                                   r.loops};
        s = fnv1a(fields, sizeof fields, s);
    }
    d.group[GROUP_SOUND] = fold(s);
    return d;
}

std::string differingGroups(const FrameDigest& a, const FrameDigest& b)
{
    std::string names;
    for (int g = 0; g < DIGEST_GROUPS; ++g)
        if (a.group[g] != b.group[g])
            names += (names.empty() ? "" : ", ") + std::string(DIGEST_GROUP_NAMES[g]);
    return names;
}
