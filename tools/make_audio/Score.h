#pragma once

// A text score: global settings, instruments and timed notes. The format is
// described in content/README.md ("Audio scores").
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace audiosynth
{
enum class Wave
{
    kSine,
    kTriangle,
    kSquare,
    kSaw,
    kNoise,
    kPluck,
    kFm,
};

struct Instrument
{
    Wave wave = Wave::kSine;
    double attackMs = 5.0;
    double decayMs = 100.0;
    double sustain = 0.7;
    double releaseMs = 80.0;
    double gain = 0.5;
    double pan = 0.0;        // -1 left … 1 right
    double duty = 0.5;       // square
    double ratio = 2.0;      // fm: modulator / carrier frequency
    double index = 2.0;      // fm: modulation index at the note's start
    double indexDecayMs = 0; // fm: 0 keeps the index
    double lowpass = 0.0;    // Hz, 0 = off; for noise the pitch is the cutoff
    double lowpassEnd = 0.0; // Hz, 0 = stays at lowpass
    double resonance = 0.7;  // filter Q
    double vibratoHz = 0.0;
    double vibratoCents = 0.0;
    double detuneCents = 0.0; // a second voice this far up, for width
    double glideMs = 0.0;     // 0 = the glide spans the whole note
    double drive = 0.0;       // tanh saturation amount, 0 = clean
    double legato = 0.95;     // the gate's share of the written duration
    double decayTo = 1.0;     // pluck: damping (1 = long ring)
};

struct Note
{
    std::string instrument;
    double start = 0.0;    // beats
    double duration = 0.0; // beats
    double frequency = 0.0;
    double frequencyEnd = 0.0; // equal to frequency without a glide
    double velocity = 1.0;
};

struct Score
{
    std::string format = "ogg"; // "ogg" or "wav"
    int channels = 1;
    int rate = 44100;
    double quality = 0.3;
    double tempo = 60.0;  // beats per minute; at 60 a beat is a second
    double length = 0.0;  // beats; 0 = up to the end of the last release
    bool loop = false;    // tails past the end wrap to the start
    bool hasPeak = false; // normalise to a peak level …
    double peakDb = -3.0;
    bool hasRms = false; // … or to an RMS level
    double rmsDb = -18.0;
    double echoBeats = 0.0;
    double echoFeedback = 0.0;
    double echoMix = 0.0;
    double reverbMix = 0.0;
    double reverbSize = 0.5;
    uint32_t seed = 1;
    std::map<std::string, Instrument> instruments;
    std::vector<Note> notes;
};

// False with "line N: message" in *error on a malformed score.
bool ParseScore(const std::string& text, Score* score, std::string* error);

// Hz of a pitch written as a note name ("A4", "C#3", "Bb2") or a number.
bool ParsePitch(const std::string& text, double* hz);
} // namespace audiosynth
