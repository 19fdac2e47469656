#include "replay/snapshot.h"
#include "present/render.h"
#include "shell/game.h"
#include "shell/hash.h"
#include "shell/input.h"
#include "shell/loop.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/player.h"
#include "sim/traffic.h"
#include "track/track.h"
#include <SDL.h>
#include <cstring>

const char* const DIGEST_GROUP_NAMES[DIGEST_GROUPS] = {
    "state", "score", "time", "cars", "scroll", "markers", "checkpoints", "screen", "sound"};

bool FrameDigest::operator==(const FrameDigest& o) const
{
    return std::memcmp(group, o.group, sizeof group) == 0;
}

namespace {

// Three ways through the same list of values: writing them, reading them back, hashing them.
struct Writer {
    static constexpr bool restores = false;
    std::vector<uint8_t>& out;
    template <typename T> void operator()(T& v)
    {
        const auto* p = reinterpret_cast<const uint8_t*>(&v);
        out.insert(out.end(), p, p + sizeof v);   // the machine's order: one machine writes and reads
    }
};

struct Reader {
    static constexpr bool restores = true;
    const std::vector<uint8_t>& in;
    size_t pos = 0;
    bool failed = false;
    template <typename T> void operator()(T& v)
    {
        if (failed || in.size() - pos < sizeof v) {
            failed = true;
            return;
        }
        std::memcpy(&v, in.data() + pos, sizeof v);
        pos += sizeof v;
        if constexpr (std::is_same_v<T, bool>)
            v = reinterpret_cast<const uint8_t&>(v) != 0;   // never an invalid bool
    }
};

struct Hasher {
    static constexpr bool restores = false;
    uint32_t hash = 2166136261u;
    template <typename T> void operator()(T& v) { hash = fnv1a(&v, sizeof v, hash); }
};

template <class A> void visit(A& a, Stopwatch& w)
{
    a(w.startTicks), a(w.pausedTicks), a(w.paused), a(w.started);
}

template <class A, typename T, size_t N> void visitAll(A& a, T (&values)[N])
{
    for (T& v : values)
        a(v);
}

int colourIndexOf(const Car& car)
{
    for (int c = 0; c < TRAFFIC_COLOURS; ++c)
        if (car.frameA && car.frameA == car.colourFrames[c].first)
            return c;
    return -1;   // the pair loaded at start-up
}

// `withChannel` leaves out the channel the mixer last answered: nothing reads it back, and
// a replay without a sound device gets other answers.
template <class A> void visit(A& a, Car& c, bool withChannel)
{
    a(c.x), a(c.y), a(c.screenY), a(c.lateralSpeed), a(c.speed), a(c.drift), a(c.trafficSpeed);
    a(c.maxSpeed), a(c.speedStep), a(c.kind), a(c.state), a(c.offRoadDrag), a(c.headlightsOn);
    a(c.animPhase), a(c.steeredDiagonally), a(c.throttleHeld), a(c.nextColour), a(c.nextLane);
    a(c.nextTopSpeed), a(c.respawnPending), a(c.passSoundPlayed), a(c.echoLatch11);
    a(c.echoLatch10), a(c.engineChannel), a(c.engineLevel);
    visitAll(a, c.engineLevelLatched);
    if (withChannel)
        a(c.lastChannel);
    int colour = colourIndexOf(c);
    a(colour);
    if (A::restores && colour >= 0 && colour < TRAFFIC_COLOURS)
        applyColour(c, colour);
}

template <class A> void visitGroup(A& a, int group, bool snapshot)
{
    switch (group) {
    case GROUP_STATE:
        a(gameState), a(runArmed), a(penaltyDue), a(showDiagnostics), a(volumeBarAge);
        a(masterVolume), a(savedPlayerSpeed), a(overlayToggleLatch), a(quitButtonPressSeen);
        visitAll(a, quitKeyPressSeen);
        visitAll(a, keyHeld);
        visitAll(a, buttonHeld);
        break;
    case GROUP_SCORE:
        a(score), a(highScore), a(distanceMark), a(lastScoredMark);
        visit(a, penaltyWatch);
        break;
    case GROUP_TIME:
        a(timeLimit), a(timeLeft);
        visit(a, gameClock);
        break;
    case GROUP_CARS:
        visit(a, playerCar, snapshot);
        visit(a, trafficCar, snapshot);
        a(crashTarget), a(skidLoopOn), a(gravelLoopOn), a(controlTick), a(coastCounter);
        a(gravelRecentreCounter), a(lastGoodTrafficX), a(laneCheckCounter), a(crashFrameStep);
        visit(a, recoveryWatch);
        break;
    case GROUP_SCROLL:
        a(scrollY), a(diagScroll), a(diagFirstTile);
        break;
    case GROUP_MARKERS:
        for (TrackMarker& m : trackMarkers)
            a(m.tileIndex), a(m.code), a(m.done), a(m.active);
        break;
    case GROUP_CHECKPOINTS:
        a(checkpointCount), a(checkpointMessageAge), a(warnOpenFrames), a(warnFunnelFrames);
        a(warnOpenSounded), a(warnFunnelSounded);
        break;
    default:
        break;
    }
}

// Everything else a frame's drawing reads: blink phases, the overlay's values, the loop.
template <class A> void visitRest(A& a, FrameLoop& loop)
{
    a(scoreBlinkOn), a(scoreBlinkCounter), a(messageBlinkOn), a(messageBlinkCounter);
    a(playerTerrain), a(diagTileRow), a(diagTrafficSpeed), a(probeX), a(probeY);
    a(diagLeftEdge), a(diagRightEdge);
    visit(a, loop.frameWatch);
    visit(a, loop.fpsIntervalWatch);
    visit(a, loop.runWatch);
    a(loop.framesCounted), a(loop.fpsEstimate);
}

uint16_t fold(uint32_t h) { return static_cast<uint16_t>(h ^ (h >> 16)); }

uint32_t screenChecksum()
{
    if (!screen)
        return 0;
    SDL_LockSurface(screen);
    uint32_t h = 2166136261u;
    const int rowBytes = screen->w * screen->format->BytesPerPixel;
    for (int y = 0; y < screen->h; ++y)
        h = fnv1a(static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch, rowBytes, h);
    SDL_UnlockSurface(screen);
    return h;
}

}  // namespace

std::vector<uint8_t> saveSnapshot(const FrameLoop& loop)
{
    std::vector<uint8_t> bytes;
    Writer w{bytes};
    for (int g = 0; g < GROUP_SCREEN; ++g)
        visitGroup(w, g, true);
    visitRest(w, const_cast<FrameLoop&>(loop));
    return bytes;
}

bool restoreSnapshot(const std::vector<uint8_t>& bytes, FrameLoop& loop)
{
    Reader r{bytes};
    for (int g = 0; g < GROUP_SCREEN; ++g)
        visitGroup(r, g, true);
    visitRest(r, loop);
    return !r.failed && r.pos == bytes.size();
}

FrameDigest digestFrame(const std::vector<SoundRequest>& sounds)
{
    FrameDigest d;
    for (int g = 0; g < GROUP_SCREEN; ++g) {
        Hasher h;
        visitGroup(h, g, false);
        d.group[g] = fold(h.hash);
    }
    d.group[GROUP_SCREEN] = fold(screenChecksum());
    uint32_t h = 2166136261u;
    for (const SoundRequest& r : sounds) {
        const int32_t fields[4] = {r.op, r.channel, static_cast<int32_t>(sampleId(r.sample)), r.loops};
        h = fnv1a(fields, sizeof fields, h);
    }
    d.group[GROUP_SOUND] = fold(h);
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
