#include "Score.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace audiosynth
{
namespace
{
constexpr double kA4 = 440.0;
constexpr int kA4Semitone = 9; // A is nine semitones above C
constexpr int kSemitonesPerOctave = 12;
constexpr int kMaxRepeat = 1000;

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// strtod follows the locale; scores are C-locale text, so parse by hand.
bool ParseNumber(const std::string& text, double* value)
{
    if (text.empty())
        return false;
    size_t i = 0;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+')
        negative = text[i++] == '-';
    double whole = 0.0, scale = 1.0;
    bool digits = false, point = false;
    for (; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '.' && !point)
        {
            point = true;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        digits = true;
        if (point)
        {
            scale /= 10.0;
            whole += (c - '0') * scale;
        }
        else
        {
            whole = whole * 10.0 + (c - '0');
        }
    }
    if (!digits)
        return false;
    *value = negative ? -whole : whole;
    return true;
}

bool ParseWave(const std::string& text, Wave* wave)
{
    static const std::map<std::string, Wave> kWaves = {
        {"sine", Wave::kSine},   {"triangle", Wave::kTriangle}, {"square", Wave::kSquare}, {"saw", Wave::kSaw},
        {"noise", Wave::kNoise}, {"pluck", Wave::kPluck},       {"fm", Wave::kFm},
    };
    const auto it = kWaves.find(text);
    if (it == kWaves.end())
        return false;
    *wave = it->second;
    return true;
}

bool SetInstrumentValue(Instrument& ins, const std::string& key, const std::string& value)
{
    if (key == "wave")
        return ParseWave(value, &ins.wave);
    static const std::map<std::string, double Instrument::*> kFields = {
        {"attack", &Instrument::attackMs},     {"decay", &Instrument::decayMs},
        {"sustain", &Instrument::sustain},     {"release", &Instrument::releaseMs},
        {"gain", &Instrument::gain},           {"pan", &Instrument::pan},
        {"duty", &Instrument::duty},           {"ratio", &Instrument::ratio},
        {"index", &Instrument::index},         {"indexdecay", &Instrument::indexDecayMs},
        {"lowpass", &Instrument::lowpass},     {"lowpassend", &Instrument::lowpassEnd},
        {"resonance", &Instrument::resonance}, {"vibrato", &Instrument::vibratoHz},
        {"vibratodepth", &Instrument::vibratoCents}, {"detune", &Instrument::detuneCents},
        {"glide", &Instrument::glideMs},       {"drive", &Instrument::drive},
        {"legato", &Instrument::legato},       {"damping", &Instrument::decayTo},
    };
    const auto it = kFields.find(key);
    if (it == kFields.end())
        return false;
    return ParseNumber(value, &(ins.*(it->second)));
}

// "C4", "F#3", "Bb2": note name, accidentals, octave (middle C = C4).
bool ParseNoteName(const std::string& text, double* hz)
{
    static const int kSteps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text.size() < 2)
        return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'A' || letter > 'G')
        return false;
    int semitone = kSteps[letter - 'A'];
    size_t i = 1;
    for (; i < text.size() && (text[i] == '#' || text[i] == 'b'); ++i)
        semitone += text[i] == '#' ? 1 : -1;
    if (i >= text.size())
        return false;
    double octave = 0.0;
    if (!ParseNumber(text.substr(i), &octave) || octave != std::floor(octave) || octave < 0 || octave > 9)
        return false;
    const double fromA4 = (octave - 4) * kSemitonesPerOctave + (semitone - kA4Semitone);
    *hz = kA4 * std::pow(2.0, fromA4 / kSemitonesPerOctave);
    return true;
}

// "C4", "440", or a glide "C5>C4".
bool ParseGlide(const std::string& text, double* from, double* to)
{
    const size_t arrow = text.find('>');
    if (arrow == std::string::npos)
    {
        if (!ParsePitch(text, from))
            return false;
        *to = *from;
        return true;
    }
    return ParsePitch(text.substr(0, arrow), from) && ParsePitch(text.substr(arrow + 1), to);
}

struct SeqState
{
    double duration = 1.0;
    double velocity = 1.0;
};

// One token of a sequence: "C4+E4+G4/2@0.8", "r/1", "C5>C4/0.5".
bool ParseToken(const std::string& token, SeqState& state, std::vector<std::pair<double, double>>* pitches,
                bool* rest)
{
    std::string body = token;
    const size_t at = body.find('@');
    if (at != std::string::npos)
    {
        if (!ParseNumber(body.substr(at + 1), &state.velocity))
            return false;
        body = body.substr(0, at);
    }
    const size_t slash = body.find('/');
    if (slash != std::string::npos)
    {
        if (!ParseNumber(body.substr(slash + 1), &state.duration) || state.duration <= 0)
            return false;
        body = body.substr(0, slash);
    }
    pitches->clear();
    *rest = body == "r";
    if (*rest)
        return true;
    size_t begin = 0;
    while (begin <= body.size())
    {
        size_t plus = body.find('+', begin);
        if (plus == std::string::npos)
            plus = body.size();
        double from = 0, to = 0;
        if (!ParseGlide(body.substr(begin, plus - begin), &from, &to))
            return false;
        pitches->push_back({from, to});
        begin = plus + 1;
    }
    return !pitches->empty();
}
} // namespace

bool ParsePitch(const std::string& text, double* hz)
{
    if (!text.empty() && std::isalpha(static_cast<unsigned char>(text[0])))
        return ParseNoteName(text, hz);
    return ParseNumber(text, hz) && *hz > 0;
}

bool ParseScore(const std::string& text, Score* score, std::string* error)
{
    std::map<std::string, std::vector<std::string>> patterns;
    std::istringstream in(text);
    int lineNumber = 0;
    const auto fail = [&](const std::string& message) {
        *error = "line " + std::to_string(lineNumber) + ": " + message;
        return false;
    };
    for (std::string line; std::getline(in, line);)
    {
        ++lineNumber;
        // A comment starts with '#' at the start of a word; "F#4" is a pitch.
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1]))))
            {
                line.erase(i);
                break;
            }
        const std::vector<std::string> w = Split(line);
        if (w.empty())
            continue;
        const std::string& key = w[0];
        double number = 0.0;
        const auto one = [&](double* out) { return w.size() == 2 && ParseNumber(w[1], out); };
        if (key == "format")
        {
            if (w.size() != 2 || (w[1] != "ogg" && w[1] != "wav"))
                return fail("format is ogg or wav");
            score->format = w[1];
        }
        else if (key == "channels")
        {
            if (!one(&number) || (number != 1 && number != 2))
                return fail("channels is 1 or 2");
            score->channels = static_cast<int>(number);
        }
        else if (key == "rate")
        {
            if (!one(&number) || number < 8000 || number > 96000 || number != std::floor(number))
                return fail("rate is a whole number of Hz, 8000 to 96000");
            score->rate = static_cast<int>(number);
        }
        else if (key == "quality")
        {
            if (!one(&score->quality) || score->quality < -0.1 || score->quality > 1.0)
                return fail("quality is -0.1 to 1");
        }
        else if (key == "tempo")
        {
            if (!one(&score->tempo) || score->tempo <= 0)
                return fail("tempo is above 0");
        }
        else if (key == "length")
        {
            if (!one(&score->length) || score->length <= 0)
                return fail("length is above 0");
        }
        else if (key == "loop")
        {
            if (!one(&number))
                return fail("loop is 0 or 1");
            score->loop = number != 0;
        }
        else if (key == "peak")
        {
            if (!one(&score->peakDb) || score->peakDb > 0)
                return fail("peak is at most 0 dBFS");
            score->hasPeak = true;
        }
        else if (key == "rms")
        {
            if (!one(&score->rmsDb) || score->rmsDb > 0)
                return fail("rms is at most 0 dBFS");
            score->hasRms = true;
        }
        else if (key == "echo")
        {
            if (w.size() != 4 || !ParseNumber(w[1], &score->echoBeats) || !ParseNumber(w[2], &score->echoFeedback) ||
                !ParseNumber(w[3], &score->echoMix) || score->echoBeats <= 0 || score->echoFeedback < 0 ||
                score->echoFeedback >= 1)
                return fail("echo DELAY FEEDBACK MIX (feedback below 1)");
        }
        else if (key == "reverb")
        {
            if (w.size() != 3 || !ParseNumber(w[1], &score->reverbMix) || !ParseNumber(w[2], &score->reverbSize) ||
                score->reverbSize < 0 || score->reverbSize > 1)
                return fail("reverb MIX SIZE (size 0 to 1)");
        }
        else if (key == "instrument")
        {
            if (w.size() < 2)
                return fail("instrument NAME key=value ...");
            Instrument ins;
            for (size_t i = 2; i < w.size(); ++i)
            {
                const size_t eq = w[i].find('=');
                if (eq == std::string::npos || !SetInstrumentValue(ins, w[i].substr(0, eq), w[i].substr(eq + 1)))
                    return fail("bad instrument setting '" + w[i] + "'");
            }
            score->instruments[w[1]] = ins;
        }
        else if (key == "note")
        {
            // note INSTRUMENT START DURATION PITCH [VELOCITY]
            Note n;
            if (w.size() < 5 || w.size() > 6 || !ParseNumber(w[2], &n.start) || !ParseNumber(w[3], &n.duration) ||
                !ParseGlide(w[4], &n.frequency, &n.frequencyEnd) ||
                (w.size() == 6 && !ParseNumber(w[5], &n.velocity)) || n.duration <= 0 || n.start < 0)
                return fail("note INSTRUMENT START DURATION PITCH [VELOCITY]");
            n.instrument = w[1];
            score->notes.push_back(n);
        }
        else if (key == "pattern")
        {
            // pattern NAME : tokens
            if (w.size() < 3 || w[2] != ":")
                return fail("pattern NAME : tokens");
            patterns[w[1]] = std::vector<std::string>(w.begin() + 3, w.end());
        }
        else if (key == "seq")
        {
            // seq INSTRUMENT START [xREPEAT] [tSEMITONES] : tokens (a token "*NAME" plays a pattern)
            size_t colon = 0;
            for (size_t i = 0; i < w.size(); ++i)
                if (w[i] == ":")
                {
                    colon = i;
                    break;
                }
            double start = 0.0, repeat = 1.0, transpose = 0.0;
            if (colon < 3 || !ParseNumber(w[2], &start) || start < 0)
                return fail("seq INSTRUMENT START [xN] [tN] : tokens");
            for (size_t i = 3; i < colon; ++i)
            {
                const bool ok = w[i].size() > 1 &&
                                ((w[i][0] == 'x' && ParseNumber(w[i].substr(1), &repeat) && repeat >= 1 &&
                                  repeat <= kMaxRepeat && repeat == std::floor(repeat)) ||
                                 (w[i][0] == 't' && ParseNumber(w[i].substr(1), &transpose)));
                if (!ok)
                    return fail("bad sequence option '" + w[i] + "'");
            }
            std::vector<std::string> tokens;
            for (size_t i = colon + 1; i < w.size(); ++i)
            {
                if (w[i][0] != '*')
                {
                    tokens.push_back(w[i]);
                    continue;
                }
                const auto p = patterns.find(w[i].substr(1));
                if (p == patterns.end())
                    return fail("unknown pattern '" + w[i].substr(1) + "'");
                tokens.insert(tokens.end(), p->second.begin(), p->second.end());
            }
            const double shift = std::pow(2.0, transpose / kSemitonesPerOctave);
            double t = start;
            SeqState state;
            for (int r = 0; r < static_cast<int>(repeat); ++r)
                for (const std::string& token : tokens)
                {
                    std::vector<std::pair<double, double>> pitches;
                    bool rest = false;
                    if (!ParseToken(token, state, &pitches, &rest))
                        return fail("bad token '" + token + "'");
                    for (const auto& [from, to] : pitches)
                    {
                        Note n;
                        n.instrument = w[1];
                        n.start = t;
                        n.duration = state.duration;
                        n.frequency = from * shift;
                        n.frequencyEnd = to * shift;
                        n.velocity = state.velocity;
                        score->notes.push_back(n);
                    }
                    t += state.duration;
                }
        }
        else
        {
            return fail("unknown keyword '" + key + "'");
        }
    }
    if (score->hasPeak && score->hasRms)
        return fail("give peak or rms, not both");
    for (const Note& n : score->notes)
        if (!score->instruments.count(n.instrument))
            return fail("unknown instrument '" + n.instrument + "'");
    return true;
}
} // namespace audiosynth
