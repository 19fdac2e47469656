#pragma once
#include <string>
#include <vector>

constexpr int SAMPLE_RATE = 22050;

// Mono signal in -1..1; written as 16-bit stereo WAV at 22050 Hz.
using Signal = std::vector<float>;

bool writeWav(const Signal& mono, const std::string& path);
// The loop length in samples closest to `seconds` that holds a whole number of cycles of
// `hz`, and the exact frequency that makes it loop without a seam.
int loopLength(float seconds, float hz, float& exactHz);
// Engine note for level 1..20: harmonics of the firing frequency, periodic over the loop.
Signal engineLoop(int level);
// Tunnel version: the same note fed through echoes that wrap around the loop.
Signal withTunnelEcho(const Signal& loop);
Signal skidLoop();
Signal gravelLoop();
Signal passBy();
Signal explosion();
Signal coinChime();
Signal signalBeeps();
Signal checkpointFanfare();
// Scales the signal so its peak is `peak`.
void normalise(Signal& s, float peak);
