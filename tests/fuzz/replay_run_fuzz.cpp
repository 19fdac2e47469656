// Any bytes as a replay, played: the checksum and the format are mended so that the fuzzer
// reaches past them, then a replay the reader takes is restored and its first frames are
// run and drawn, as --check and the viewer would. Nothing a file holds may crash the game.
#include "app/session.h"
#include "platform/hash.h"
#include "replay/playback.h"
#include "replay/replay_file.h"
#include "rules/loop.h"
#include "save/settings.h"
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
TileList tiles;
constexpr int FRAMES = 40;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    enterSession(true); // the resources beside the fuzzer
    if (startSession({.withSound = false, .headless = true, .course = ""}, tiles) != 0)
        std::abort();
    settingsFile.savesDisabled = true;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 10 || size > MAX_REPLAY_BYTES)
        return 0;
    std::vector<uint8_t> bytes(data, data + size);
    std::memcpy(bytes.data(), "QRPL", 4);
    bytes[4] = REPLAY_FORMAT & 0xff, bytes[5] = REPLAY_FORMAT >> 8;
    const uint32_t sum = fnv1a(bytes.data(), size - 4);
    for (int i = 0; i < 4; ++i)
        bytes[size - 4 + i] = uint8_t(sum >> 8 * i);
    Replay replay;
    std::string error;
    if (!decodeReplay(bytes.data(), bytes.size(), replay, error))
        return 0;
    FrameLoop loop;
    if (!restoreSnapshot(replay.snapshot, loop))
        return 0;
    startPlayback(replay, true);
    for (size_t i = 0; i < replay.frames.size() && i < FRAMES; ++i)
        if (runFrame(loop, tiles))
            break;
    stopPlayback();
    return 0;
}
