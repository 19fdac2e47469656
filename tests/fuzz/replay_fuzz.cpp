// Any bytes as a replay: refused with a reason, or read whole; what is read writes out and
// reads back the same, and its starting state restores or is refused.
#include "app/session.h"
#include "present/intro.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "rules/loop.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Replay replay;
    std::string error;
    if (!decodeReplay(data, size, replay, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const std::vector<uint8_t> again = encodeReplay(replay);
    Replay back;
    if (!decodeReplay(again.data(), again.size(), back, error) || encodeReplay(back) != again)
        std::abort();
    FrameLoop loop;
    restoreSnapshot(replay.snapshot, loop);
    return 0;
}
