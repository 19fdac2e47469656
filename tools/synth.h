#pragma once
#include <string>
#include <vector>

constexpr int SAMPLE_RATE = 22050;

// Mono signal in -1..1; written as 16-bit stereo WAV at 22050 Hz.
using Signal = std::vector<float>;

bool writeWav(const Signal& mono, const std::string& path, int channels = 2);
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
// A tune of the game's: a melody, a bass line and drums over a chord progression, looping
// without a seam after `bars` bars of four beats.
struct Tune {
    float bpm;
    float tonicHz; // the key's first note, in the melody's octave
    bool minor;
    int progression[4]; // the chords, a bar each, as degrees of the scale (0 = the tonic)
    float brightness;   // 0 dark (filtered, no hats) to 1 bright
    unsigned seed;      // the melody's choices
    int bars;
};
constexpr float MUSIC_PEAK = 0.38f;
Signal musicLoop(const Tune& tune);
// The tunes: attract's, then one for each shipped course in order.
const Tune& gameTune(int index); // 0 attract, 1..4 the courses
constexpr int GAME_TUNES = 5;
// Scales the signal so its peak is `peak`.
void normalise(Signal& s, float peak);
