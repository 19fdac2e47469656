#include "synth.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace
{
constexpr float TAU = 6.28318530718f;

struct Noise {
    uint32_t s;
    explicit Noise(uint32_t seed) : s(seed | 1) {}
    float next()
    {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return (s & 0xffff) / 32767.5f - 1.0f;
    }
};

// One-pole low-pass run twice round a loop so the filter state matches at the seam.
void circularLowPass(Signal& s, float k)
{
    float y = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (float& v : s) {
            y += k * (v - y);
            if (pass == 1)
                v = y;
        }
}

void fadeEdges(Signal& s, int in, int out)
{
    for (int i = 0; i < in && i < int(s.size()); ++i)
        s[i] *= float(i) / in;
    for (int i = 0; i < out && i < int(s.size()); ++i)
        s[s.size() - 1 - i] *= float(i) / out;
}

Signal tone(float seconds, float hz, float decay, float harmonics)
{
    Signal s(static_cast<size_t>(seconds * SAMPLE_RATE));
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / SAMPLE_RATE;
        float v = std::sin(TAU * hz * t) + harmonics * std::sin(2 * TAU * hz * t) +
                  harmonics * 0.5f * std::sin(3 * TAU * hz * t);
        s[i] = v * std::exp(-decay * t);
    }
    return s;
}

void addAt(Signal& into, const Signal& part, float at)
{
    const size_t start = size_t(at * SAMPLE_RATE);
    if (into.size() < start + part.size())
        into.resize(start + part.size(), 0.0f);
    for (size_t i = 0; i < part.size(); ++i)
        into[start + i] += part[i];
}
} // namespace

void normalise(Signal& s, float peak)
{
    float most = 0;
    for (float v : s)
        most = std::max(most, std::fabs(v));
    if (most > 0)
        for (float& v : s)
            v *= peak / most;
}

bool writeWav(const Signal& mono, const std::string& path, int channels)
{
    const uint32_t frames = uint32_t(mono.size()), frameBytes = 2 * uint32_t(channels);
    const uint32_t dataBytes = frames * frameBytes;
    std::vector<uint8_t> out(44 + dataBytes);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = uint8_t(v >> (8 * i));
    };
    auto put16 = [&](size_t at, uint16_t v) {
        out[at] = uint8_t(v);
        out[at + 1] = uint8_t(v >> 8);
    };
    std::copy_n("RIFF", 4, out.begin());
    put32(4, 36 + dataBytes);
    std::copy_n("WAVEfmt ", 8, out.begin() + 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, uint16_t(channels));
    put32(24, SAMPLE_RATE);
    put32(28, SAMPLE_RATE * frameBytes);
    put16(32, uint16_t(frameBytes));
    put16(34, 16);
    std::copy_n("data", 4, out.begin() + 36);
    put32(40, dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        const int16_t v = int16_t(std::lround(std::clamp(mono[i], -1.0f, 1.0f) * 32767.0f));
        for (int c = 0; c < channels; ++c)
            put16(44 + frameBytes * i + 2 * c, uint16_t(v));
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

int loopLength(float seconds, float hz, float& exactHz)
{
    const int length = int(seconds * SAMPLE_RATE);
    const int cycles = std::max(1, int(std::lround(hz * length / SAMPLE_RATE)));
    exactHz = float(cycles) * SAMPLE_RATE / length;
    return length;
}

Signal engineLoop(int level)
{
    // Idle at a low burble, climbing to a howl at top speed.
    float hz = 0;
    const int length = loopLength(0.5f, 38.0f + level * 9.0f, hz);
    Signal s(size_t(length), 0.0f);
    Noise noise(uint32_t(level) * 7919u);
    // A fixed grain of noise per cycle, read by phase, keeps the rasp periodic: whole
    // cycles fill the loop, so its end meets its start without a seam.
    constexpr int GRAIN = 64;
    float grain[GRAIN];
    for (float& g : grain)
        g = noise.next();
    for (int i = 0; i < length; ++i) {
        const float cycles = hz * float(i) / SAMPLE_RATE;
        const float phase = TAU * cycles;
        float v = 0.55f * std::sin(phase) + 0.35f * std::sin(2 * phase + 0.4f) +
                  0.22f * std::sin(3 * phase + 1.1f) + 0.12f * std::sin(4 * phase + 2.0f) +
                  0.08f * std::sin(6 * phase);
        // Firing pulses: a sharp peak once per cycle.
        const float pulse = std::pow(0.5f + 0.5f * std::cos(phase), 8.0f);
        const int g = int((cycles - std::floor(cycles)) * GRAIN) % GRAIN;
        v += 0.45f * pulse + 0.10f * grain[g] * (0.4f + pulse);
        s[size_t(i)] = v;
    }
    circularLowPass(s, 0.55f);
    normalise(s, 0.55f);
    return s;
}

Signal withTunnelEcho(const Signal& loop)
{
    Signal out = loop;
    const size_t n = loop.size();
    const size_t delays[3] = {size_t(0.061f * SAMPLE_RATE), size_t(0.117f * SAMPLE_RATE),
                              size_t(0.173f * SAMPLE_RATE)};
    const float gains[3] = {0.55f, 0.38f, 0.25f};
    // Feed the echoes round the loop a few times so the tail wraps into the start.
    for (int pass = 0; pass < 3; ++pass) {
        Signal next = loop;
        for (size_t i = 0; i < n; ++i)
            for (int d = 0; d < 3; ++d)
                next[i] += gains[d] * out[(i + n - delays[d] % n) % n];
        out = next;
    }
    circularLowPass(out, 0.35f);
    normalise(out, 0.6f);
    return out;
}

Signal skidLoop()
{
    float hz = 0;
    const int length = loopLength(0.6f, 820.0f, hz);
    Signal s(static_cast<size_t>(length));
    Noise noise(99);
    for (int i = 0; i < length; ++i) {
        const float t = float(i) / SAMPLE_RATE;
        // Vibrato of exactly 5 cycles over the loop keeps it seamless.
        const float wobble = std::sin(TAU * 5.0f * float(i) / length);
        const float phase = TAU * hz * t + 3.0f * wobble;
        s[size_t(i)] =
            0.6f * std::sin(phase) + 0.25f * std::sin(2.01f * phase) + 0.25f * noise.next();
    }
    circularLowPass(s, 0.6f);
    normalise(s, 0.45f);
    return s;
}

Signal gravelLoop()
{
    const int length = int(0.8f * SAMPLE_RATE);
    Signal s(size_t(length), 0.0f);
    Noise noise(4242);
    for (float& v : s)
        v = 0.25f * noise.next();
    // Crunches: short decaying clicks at random places, wrapping round the loop.
    for (int k = 0; k < 90; ++k) {
        const int at = int((noise.next() * 0.5f + 0.5f) * length);
        const float amp = 0.5f + 0.5f * std::fabs(noise.next());
        for (int j = 0; j < 300; ++j)
            s[size_t((at + j) % length)] += amp * noise.next() * std::exp(-j / 40.0f);
    }
    circularLowPass(s, 0.3f);
    normalise(s, 0.5f);
    return s;
}

Signal passBy()
{
    const int n = int(0.9f * SAMPLE_RATE);
    Signal s(static_cast<size_t>(n));
    Noise noise(7);
    float phase = 0, low = 0;
    for (int i = 0; i < n; ++i) {
        const float t = float(i) / n;
        const float hz = 260.0f - 140.0f * t; // the pitch falls as it goes past
        phase += TAU * hz / SAMPLE_RATE;
        low += 0.2f * (noise.next() - low);
        const float envelope = std::exp(-std::pow((t - 0.4f) / 0.22f, 2.0f));
        s[size_t(i)] =
            envelope * (0.5f * std::sin(phase) + 0.3f * std::sin(2 * phase) + 0.6f * low);
    }
    normalise(s, 0.7f);
    return s;
}

Signal explosion()
{
    const int n = int(1.3f * SAMPLE_RATE);
    Signal s(static_cast<size_t>(n));
    Noise noise(1234);
    float low = 0, lower = 0;
    for (int i = 0; i < n; ++i) {
        const float t = float(i) / SAMPLE_RATE;
        const float raw = noise.next();
        low += 0.25f * (raw - low);
        lower += 0.05f * (raw - lower);
        const float bang = std::exp(-t * 9.0f) * raw * 0.6f;
        const float rumble = std::exp(-t * 2.5f) * (low * 0.8f + lower * 2.5f);
        s[size_t(i)] = bang + rumble + 0.3f * std::exp(-t * 4.0f) * std::sin(TAU * 55.0f * t);
    }
    fadeEdges(s, 20, 2000);
    normalise(s, 0.9f);
    return s;
}

Signal coinChime()
{
    Signal s;
    addAt(s, tone(0.25f, 1318.5f, 9.0f, 0.3f), 0.0f);
    addAt(s, tone(0.45f, 1975.5f, 7.0f, 0.3f), 0.09f);
    fadeEdges(s, 30, 400);
    normalise(s, 0.6f);
    return s;
}

Signal signalBeeps()
{
    Signal s;
    for (int k = 0; k < 3; ++k) {
        Signal beep = tone(0.09f, 880.0f, 4.0f, 0.5f);
        fadeEdges(beep, 40, 150);
        addAt(s, beep, 0.14f * k);
    }
    normalise(s, 0.55f);
    return s;
}

Signal checkpointFanfare()
{
    Signal s;
    const float notes[4] = {523.3f, 659.3f, 784.0f, 1046.5f};
    for (int k = 0; k < 4; ++k)
        addAt(s, tone(k == 3 ? 0.5f : 0.16f, notes[k], k == 3 ? 4.0f : 8.0f, 0.4f), 0.09f * k);
    fadeEdges(s, 30, 600);
    normalise(s, 0.65f);
    return s;
}

namespace
{
// A note of `seconds` at `hz` with a soft attack, its harmonics shaped by `bright`.
Signal note(float seconds, float hz, float decay, float bright)
{
    Signal s(static_cast<size_t>(seconds * SAMPLE_RATE));
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / SAMPLE_RATE;
        const float attack = std::min(1.0f, t * 200.0f);
        const float v = std::sin(TAU * hz * t) + bright * 0.5f * std::sin(2 * TAU * hz * t) +
                        bright * 0.25f * std::sin(3 * TAU * hz * t);
        s[i] = v * attack * std::exp(-decay * t);
    }
    fadeEdges(s, 0, 200);
    return s;
}

Signal kick()
{
    Signal s(static_cast<size_t>(0.25f * SAMPLE_RATE));
    float phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / SAMPLE_RATE;
        phase += TAU * (45.0f + 90.0f * std::exp(-t * 30.0f)) / SAMPLE_RATE;
        s[i] = std::sin(phase) * std::exp(-t * 12.0f);
    }
    return s;
}

Signal snare(uint32_t seed)
{
    Noise n(seed);
    Signal s(static_cast<size_t>(0.18f * SAMPLE_RATE));
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / SAMPLE_RATE;
        s[i] = (0.7f * n.next() + 0.4f * std::sin(TAU * 185.0f * t)) * std::exp(-t * 22.0f);
    }
    return s;
}

Signal hat(uint32_t seed)
{
    Noise n(seed);
    Signal s(static_cast<size_t>(0.05f * SAMPLE_RATE));
    float last = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float v = n.next(), high = v - last; // the noise's top end
        last = v;
        s[i] = high * std::exp(-float(i) / SAMPLE_RATE * 70.0f);
    }
    return s;
}

// Adds `part` at sample `at` of a loop, what runs past its end carried round to its start.
void addRound(Signal& loop, const Signal& part, size_t at, float gain)
{
    for (size_t i = 0; i < part.size(); ++i)
        loop[(at + i) % loop.size()] += gain * part[i];
}

float semitones(float hz, int steps)
{
    return hz * std::pow(2.0f, steps / 12.0f);
}
} // namespace

Signal musicLoop(const Tune& tune)
{
    static const int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11}, MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
    const int* scale = tune.minor ? MINOR : MAJOR;
    auto degreeHz = [&](float tonic, int degree) {
        const int octave = degree >= 0 ? degree / 7 : (degree - 6) / 7;
        return semitones(tonic, scale[degree - 7 * octave] + 12 * octave);
    };
    const float step = 60.0f / tune.bpm / 4; // a sixteenth
    const size_t stepSamples = size_t(step * SAMPLE_RATE);
    Signal loop(stepSamples * 16 * size_t(tune.bars), 0.0f);
    Noise choice(tune.seed);
    // A two-bar phrase and its answer, each a line of eighths on the scale, rests among them;
    // the tune plays phrase, answer, phrase, answer varied, round its chords.
    int phrases[2][16];
    for (auto& phrase : phrases) {
        int degree = int(std::fabs(choice.next()) * 5);
        for (int& n : phrase) {
            degree += int(std::lround(choice.next() * 2.4f));
            degree = std::clamp(degree, -2, 9);
            n = std::fabs(choice.next()) < 0.18f ? -100 : degree; // -100: a rest
        }
    }
    const float brightK = 0.08f + 0.5f * tune.brightness;
    for (int bar = 0; bar < tune.bars; ++bar) {
        const int chord = tune.progression[bar % 4];
        const size_t barStart = size_t(bar) * 16 * stepSamples;
        // The bass: the chord's root on the beats, its fifth between, an octave below the tonic.
        for (int beat = 0; beat < 8; ++beat) {
            const int degree = chord + (beat % 2 ? 4 : 0);
            addRound(loop, note(step * 1.8f, degreeHz(tune.tonicHz / 4, degree), 5.0f, 0.6f),
                     barStart + size_t(beat) * 2 * stepSamples, 0.55f);
        }
        // The melody: the phrase of this pair of bars, lifted to the chord on its strong notes.
        const int* phrase = phrases[(bar / 2) % 2];
        const bool varied = bar / 4 % 2 == 1 && bar % 2 == 1;
        for (int eighth = 0; eighth < 8; ++eighth) {
            int degree = phrase[(bar % 2) * 8 + eighth];
            if (degree == -100)
                continue;
            if (eighth % 4 == 0)
                degree = chord + (degree - chord + 70) % 7 / 3 * 2; // a chord note: root, 3rd, 5th
            if (varied)
                degree += 2;
            addRound(loop, note(step * 2.2f, degreeHz(tune.tonicHz, degree), 3.5f, tune.brightness),
                     barStart + size_t(eighth) * 2 * stepSamples, 0.32f);
        }
        // The drums: kick on one and three (and before three, every other bar), snare on two
        // and four, hats on the eighths as bright as the tune.
        for (int beat = 0; beat < 4; ++beat) {
            const size_t at = barStart + size_t(beat) * 4 * stepSamples;
            addRound(loop, beat % 2 ? snare(uint32_t(bar * 4 + beat + 7)) : kick(), at,
                     beat % 2 ? 0.32f : 0.7f);
        }
        if (bar % 2)
            addRound(loop, kick(), barStart + 6 * stepSamples, 0.5f);
        for (int eighth = 0; eighth < 8; ++eighth)
            addRound(loop, hat(uint32_t(bar * 8 + eighth + 99)),
                     barStart + size_t(eighth) * 2 * stepSamples,
                     0.16f * tune.brightness * (eighth % 2 ? 0.6f : 1.0f));
    }
    circularLowPass(loop, brightK);
    // Under the effects: at the music's full volume, with the engine's loudest note (0.6)
    // beside it, the mix stays within range.
    normalise(loop, MUSIC_PEAK);
    return loop;
}

const Tune& gameTune(int index)
{
    // At least 30 s each before it repeats: bars of four beats at the tune's tempo.
    static const Tune tunes[GAME_TUNES] = {
        {108, 392.0f, false, {0, 5, 3, 4}, 0.55f, 11, 16}, // attract: G, easy going
        {124, 523.3f, false, {0, 4, 5, 3}, 0.65f, 23, 16}, // Quindara Ring: C, on its way
        {132, 587.3f, false, {0, 3, 4, 3}, 0.95f, 37, 20}, // Coast Road: D, bright and open
        {88, 440.0f, true, {0, 5, 2, 6}, 0.15f, 41, 12},   // Night Run: A minor, slow and dark
        {140, 329.6f, true, {0, 6, 5, 6}, 0.6f, 53, 20},   // Motorway: E minor, driving
    };
    return tunes[std::clamp(index, 0, GAME_TUNES - 1)];
}
