#include "Synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace audiosynth
{
namespace
{
constexpr double kTwoPi = 6.283185307179586;
// Shorter attacks and releases click.
constexpr double kMinEdgeMs = 5.0;
// The last moments of a file that is not a loop fade out, so a cut tail does not click.
constexpr double kEndFadeMs = 5.0;
// Output never goes above this, whatever the normalisation asked (about -1 dBFS).
constexpr double kCeiling = 0.89;
constexpr double kDcCutoffHz = 15.0;
constexpr double kSilenceDb = -200.0;

double DbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

double GainToDb(double gain)
{
    return gain > 0 ? 20.0 * std::log10(gain) : kSilenceDb;
}

// A small deterministic generator: voices take their seed from the score's
// seed and their note index.
struct XorShift
{
    uint32_t state;
    explicit XorShift(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    double Next() // uniform in [-1, 1)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }
};

// Chamberlin state-variable filter, low-pass output.
struct LowPass
{
    double low = 0.0, band = 0.0;
    double Process(double x, double cutoff, double q, double rate)
    {
        const double f = 2.0 * std::sin(M_PI * std::min(cutoff, rate / 6.0) / rate);
        const double damp = 1.0 / std::max(q, 0.5);
        low += f * band;
        const double high = x - low - damp * band;
        band += f * high;
        return low;
    }
};

// Removes the step a naive saw or square has at its wrap (PolyBLEP), which
// would otherwise alias into a harsh buzz.
double PolyBlep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

struct Oscillator
{
    double phase = 0.0;
    double modPhase = 0.0;
    double triangle = 0.0;

    double Next(const Instrument& ins, double hz, double rate, double fmIndex)
    {
        const double dt = std::min(hz / rate, 0.49);
        double v = 0.0;
        switch (ins.wave)
        {
        case Wave::kSine:
            v = std::sin(kTwoPi * phase);
            break;
        case Wave::kTriangle:
            v = 1.0 - 4.0 * std::fabs(phase - 0.5);
            break;
        case Wave::kSaw:
            v = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
            break;
        case Wave::kSquare:
        {
            const double duty = std::clamp(ins.duty, 0.05, 0.95);
            v = (phase < duty ? 1.0 : -1.0) + PolyBlep(phase, dt) - PolyBlep(std::fmod(phase + 1.0 - duty, 1.0), dt);
            // Centre an uneven duty cycle so it carries no offset.
            v -= 2.0 * duty - 1.0;
            break;
        }
        case Wave::kFm:
            v = std::sin(kTwoPi * phase + fmIndex * std::sin(kTwoPi * modPhase));
            modPhase += dt * ins.ratio;
            modPhase -= std::floor(modPhase);
            break;
        case Wave::kNoise:
        case Wave::kPluck:
            break;
        }
        phase += dt;
        phase -= std::floor(phase);
        return v;
    }
};

// Karplus-Strong string: a noise burst circulating in a delay line one
// period long, averaged on every pass.
struct Pluck
{
    std::vector<double> line;
    size_t pos = 0;
    double damping = 1.0;
    void Start(double hz, double rate, XorShift& rng, double damp)
    {
        line.assign(std::max<size_t>(2, static_cast<size_t>(rate / hz)), 0.0);
        double previous = 0.0;
        for (double& s : line)
        {
            // A softened burst rings rounder than raw noise.
            previous = 0.5 * previous + 0.5 * rng.Next();
            s = previous;
        }
        double mean = 0.0;
        for (double s : line)
            mean += s;
        mean /= static_cast<double>(line.size());
        for (double& s : line)
            s -= mean;
        damping = std::clamp(damp, 0.9, 1.0);
    }
    double Next()
    {
        const size_t next = (pos + 1) % line.size();
        const double out = line[pos];
        line[pos] = damping * 0.5 * (line[pos] + line[next]);
        pos = next;
        return out;
    }
};

double Envelope(const Instrument& ins, double t, double gate)
{
    const double attack = std::max(ins.attackMs, kMinEdgeMs) / 1000.0;
    const double decay = std::max(ins.decayMs, 1.0) / 1000.0;
    const double release = std::max(ins.releaseMs, kMinEdgeMs) / 1000.0;
    const auto held = [&](double at) {
        if (at < attack)
            return at / attack;
        if (at < attack + decay)
            return 1.0 - (1.0 - ins.sustain) * (at - attack) / decay;
        return ins.sustain;
    };
    if (t < gate)
        return held(t);
    const double fromLevel = held(gate);
    const double r = (t - gate) / release;
    return r >= 1.0 ? 0.0 : fromLevel * (1.0 - r);
}

struct VoiceTarget
{
    std::vector<float>& samples;
    int channels;
    size_t frames;
    bool loop;
};

void RenderNote(const Score& score, const Note& note, uint32_t seed, VoiceTarget& target)
{
    const Instrument& ins = score.instruments.at(note.instrument);
    const double rate = score.rate;
    const double secondsPerBeat = 60.0 / score.tempo;
    const double gate = note.duration * secondsPerBeat * std::clamp(ins.legato, 0.05, 1.0);
    const double total = gate + std::max(ins.releaseMs, kMinEdgeMs) / 1000.0;
    const size_t first = static_cast<size_t>(std::llround(note.start * secondsPerBeat * rate));
    const size_t count = static_cast<size_t>(std::ceil(total * rate));
    const double glide = ins.glideMs > 0 ? ins.glideMs / 1000.0 : gate;
    const double ratio = note.frequencyEnd / note.frequency;
    const double filterRatio = ins.lowpassEnd > 0 && ins.lowpass > 0 ? ins.lowpassEnd / ins.lowpass : 1.0;
    const double detune = std::pow(2.0, ins.detuneCents / 1200.0);
    const double level = ins.gain * note.velocity;
    const double panAngle = (std::clamp(ins.pan, -1.0, 1.0) + 1.0) * M_PI / 4.0;
    const double gains[2] = {std::cos(panAngle), std::sin(panAngle)};
    const double driveNorm = ins.drive > 0 ? std::tanh(1.0 + ins.drive) : 1.0;

    XorShift rng(seed);
    Oscillator a, b;
    // The second voice starts elsewhere in its cycle so the pair does not begin in phase.
    b.phase = 0.25;
    Pluck pluck;
    if (ins.wave == Wave::kPluck)
        pluck.Start(note.frequency, rate, rng, ins.decayTo);
    LowPass filter, noiseFilter;
    for (size_t i = 0; i < count; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double g = std::min(t / glide, 1.0);
        double hz = note.frequency * std::pow(ratio, g);
        if (ins.vibratoHz > 0)
            hz *= std::pow(2.0, ins.vibratoCents / 1200.0 * std::sin(kTwoPi * ins.vibratoHz * t));
        const double fmIndex =
            ins.indexDecayMs > 0 ? ins.index * std::exp(-t * 1000.0 / ins.indexDecayMs) : ins.index;
        double v = 0.0;
        if (ins.wave == Wave::kNoise)
            v = noiseFilter.Process(rng.Next(), hz, ins.resonance, rate);
        else if (ins.wave == Wave::kPluck)
            v = pluck.Next();
        else
        {
            v = a.Next(ins, hz, rate, fmIndex);
            if (ins.detuneCents != 0)
                v = 0.5 * (v + b.Next(ins, hz * detune, rate, fmIndex));
        }
        if (ins.lowpass > 0)
        {
            const double cutoff = ins.lowpass * std::pow(filterRatio, std::min(t / std::max(gate, 1e-3), 1.0));
            v = filter.Process(v, cutoff, ins.resonance, rate);
        }
        if (ins.drive > 0)
            v = std::tanh(v * (1.0 + ins.drive)) / driveNorm;
        v *= level * Envelope(ins, t, gate);
        size_t frame = first + i;
        if (frame >= target.frames)
        {
            if (!target.loop)
                break;
            frame %= target.frames;
        }
        if (target.channels == 1)
            target.samples[frame] += static_cast<float>(v);
        else
            for (int c = 0; c < 2; ++c)
                target.samples[frame * 2 + c] += static_cast<float>(v * gains[c]);
    }
}

// Per-channel effects: a feedback echo, a small Schroeder reverb and a DC
// blocker, run in this order.
class Chain
{
public:
    Chain(const Score& score, int channel)
        : m_score(score)
    {
        const double rate = score.rate;
        if (score.echoMix > 0)
            m_echo.assign(static_cast<size_t>(score.echoBeats * 60.0 / score.tempo * rate), 0.0);
        if (score.reverbMix > 0)
        {
            // Mutually prime lengths at 44.1 kHz; the right channel is a little longer for width.
            static const std::array<int, 4> kCombs = {1116, 1188, 1277, 1356};
            static const std::array<int, 2> kAllPasses = {556, 441};
            const double scale = rate / 44100.0;
            const int spread = channel == 1 ? 23 : 0;
            for (int length : kCombs)
                m_combs.push_back({std::vector<double>(static_cast<size_t>((length + spread) * scale), 0.0), 0, 0.0});
            for (int length : kAllPasses)
                m_allPasses.push_back({std::vector<double>(static_cast<size_t>((length + spread) * scale), 0.0), 0, 0.0});
        }
        m_dcCoefficient = 1.0 - kTwoPi * kDcCutoffHz / rate;
    }

    double Process(double x)
    {
        double y = x;
        if (!m_echo.empty())
        {
            const double delayed = m_echo[m_echoPos];
            m_echo[m_echoPos] = x + m_score.echoFeedback * delayed;
            m_echoPos = (m_echoPos + 1) % m_echo.size();
            y += m_score.echoMix * delayed;
        }
        if (!m_combs.empty())
        {
            constexpr double kDamp = 0.25;
            constexpr double kInputScale = 0.015;
            const double feedback = 0.7 + 0.28 * m_score.reverbSize;
            double wet = 0.0;
            for (Delay& d : m_combs)
            {
                const double out = d.line[d.pos];
                d.filter = out * (1.0 - kDamp) + d.filter * kDamp;
                d.line[d.pos] = y * kInputScale + d.filter * feedback;
                d.pos = (d.pos + 1) % d.line.size();
                wet += out;
            }
            for (Delay& d : m_allPasses)
            {
                constexpr double kAllPassGain = 0.5;
                const double buffered = d.line[d.pos];
                const double out = -wet + buffered;
                d.line[d.pos] = wet + buffered * kAllPassGain;
                d.pos = (d.pos + 1) % d.line.size();
                wet = out;
            }
            y += m_score.reverbMix * wet;
        }
        const double out = y - m_dcIn + m_dcCoefficient * m_dcOut;
        m_dcIn = y;
        m_dcOut = out;
        return out;
    }

private:
    struct Delay
    {
        std::vector<double> line;
        size_t pos;
        double filter;
    };
    const Score& m_score;
    std::vector<double> m_echo;
    size_t m_echoPos = 0;
    std::vector<Delay> m_combs, m_allPasses;
    double m_dcCoefficient = 1.0;
    double m_dcIn = 0.0, m_dcOut = 0.0;
};

double NoteEndSeconds(const Score& score, const Note& note)
{
    const Instrument& ins = score.instruments.at(note.instrument);
    return (note.start + note.duration) * 60.0 / score.tempo + std::max(ins.releaseMs, kMinEdgeMs) / 1000.0;
}
} // namespace

bool Render(const Score& score, audioencoder::Pcm* out, std::string* error)
{
    double seconds = score.length * 60.0 / score.tempo;
    if (score.length <= 0)
        for (const Note& n : score.notes)
            seconds = std::max(seconds, NoteEndSeconds(score, n));
    if (seconds <= 0)
    {
        *error = "the score has no length and no notes";
        return false;
    }
    if (score.loop && score.length <= 0)
    {
        *error = "a loop needs a length";
        return false;
    }
    out->channels = score.channels;
    out->rate = score.rate;
    const size_t frames = static_cast<size_t>(std::llround(seconds * score.rate));
    out->samples.assign(frames * static_cast<size_t>(score.channels), 0.0f);
    VoiceTarget target{out->samples, score.channels, frames, score.loop};
    for (size_t i = 0; i < score.notes.size(); ++i)
        RenderNote(score, score.notes[i], score.seed * 2654435761u + static_cast<uint32_t>(i) * 40503u + 1u, target);

    for (int c = 0; c < score.channels; ++c)
    {
        Chain chain(score, c);
        // A loop runs through its effects twice, so the echo and reverb
        // tails of its end sound again at its start, as they will when it repeats.
        if (score.loop)
            for (size_t f = 0; f < frames; ++f)
                chain.Process(out->samples[f * score.channels + c]);
        for (size_t f = 0; f < frames; ++f)
        {
            float& s = out->samples[f * score.channels + c];
            s = static_cast<float>(chain.Process(s));
        }
    }

    if (!score.loop)
    {
        const size_t fade = std::min(frames, static_cast<size_t>(kEndFadeMs / 1000.0 * score.rate));
        for (size_t i = 0; i < fade; ++i)
            for (int c = 0; c < score.channels; ++c)
                out->samples[(frames - 1 - i) * score.channels + c] *= static_cast<float>(i) / static_cast<float>(fade);
    }

    Levels levels = Measure(*out);
    double gain = 1.0;
    if (score.hasPeak && levels.peakDb > kSilenceDb)
        gain = DbToGain(score.peakDb - levels.peakDb);
    else if (score.hasRms && levels.rmsDb > kSilenceDb)
        gain = DbToGain(score.rmsDb - levels.rmsDb);
    const double peak = DbToGain(levels.peakDb) * gain;
    if (peak > kCeiling)
        gain *= kCeiling / peak;
    for (float& s : out->samples)
        s = static_cast<float>(s * gain);
    return true;
}

Levels Measure(const audioencoder::Pcm& pcm)
{
    Levels levels;
    if (pcm.samples.empty())
        return levels;
    double peak = 0.0, sum = 0.0, squares = 0.0;
    for (float s : pcm.samples)
    {
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
        sum += s;
        squares += static_cast<double>(s) * s;
    }
    const double n = static_cast<double>(pcm.samples.size());
    levels.peakDb = GainToDb(peak);
    levels.rmsDb = GainToDb(std::sqrt(squares / n));
    levels.dcOffset = sum / n;
    levels.seconds = n / pcm.channels / pcm.rate;
    return levels;
}
} // namespace audiosynth
