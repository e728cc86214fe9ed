// make_audio's pieces: scores refused with their line, pitches, the levels
// and edges of rendered notes, loops that wrap, and files that decode.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "tools/make_audio/Score.h"
#include "tools/make_audio/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
using audiosynth::ParseScore;
using audiosynth::Score;

constexpr const char* kTone = "peak -3\n"
                              "instrument s wave=sine attack=5 decay=10 sustain=1 release=20\n"
                              "note s 0 0.5 A4\n";

Score Parse(const std::string& text)
{
    Score score;
    std::string error;
    EXPECT_TRUE(ParseScore(text, &score, &error)) << error;
    return score;
}

audioencoder::Pcm Render(const std::string& text)
{
    audioencoder::Pcm pcm;
    std::string error;
    EXPECT_TRUE(audiosynth::Render(Parse(text), &pcm, &error)) << error;
    return pcm;
}

double Db(double gain)
{
    return 20.0 * std::log10(gain);
}

TEST(MakeAudioScore, BadScoresAreRefusedWithTheirLine)
{
    struct Case
    {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"tempo 60\nvolume 3\n", "line 2: unknown keyword 'volume'"},
        {"format mp3\n", "line 1: format is ogg or wav"},
        {"channels 3\n", "line 1: channels is 1 or 2"},
        {"instrument s wave=organ\n", "line 1: bad instrument setting 'wave=organ'"},
        {"instrument s atack=5\n", "line 1: bad instrument setting 'atack=5'"},
        {"instrument s\nnote s 0 1 H4\n", "line 2: note INSTRUMENT START DURATION PITCH"},
        {"instrument s\nnote s 0 0 A4\n", "line 2: note INSTRUMENT START DURATION PITCH"},
        {"instrument s\nseq s 0 : A4/1 *chorus\n", "line 2: unknown pattern 'chorus'"},
        {"instrument s\nseq s 0 : A4/0\n", "line 2: bad token 'A4/0'"},
        {"peak -3\nrms -18\n", "give peak or rms, not both"},
        {"peak 2\n", "line 1: peak is at most 0 dBFS"},
        {"echo 0.5 1 0.2\n", "line 1: echo DELAY FEEDBACK MIX (feedback below 1)"},
        {"note ghost 0 1 A4\n", "unknown instrument 'ghost'"},
        // Numbers are read in the C locale only: no comma decimals.
        {"tempo 1,5\n", "line 1: tempo is above 0"},
    };
    for (const Case& c : cases)
    {
        Score score;
        std::string error;
        EXPECT_FALSE(ParseScore(c.text, &score, &error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(MakeAudioScore, PitchesAreEqualTemperedFromA440)
{
    const std::pair<const char*, double> cases[] = {
        {"A4", 440.0}, {"C4", 261.626}, {"F#3", 184.997}, {"Bb2", 116.541}, {"C#5", 554.365}, {"880", 880.0}};
    for (const auto& [text, hz] : cases)
    {
        double got = 0;
        ASSERT_TRUE(audiosynth::ParsePitch(text, &got)) << text;
        EXPECT_NEAR(got, hz, 0.01) << text;
    }
    double unused = 0;
    EXPECT_FALSE(audiosynth::ParsePitch("H4", &unused));
    EXPECT_FALSE(audiosynth::ParsePitch("-5", &unused));
}

TEST(MakeAudioScore, SequencesRepeatTransposeAndKeepTheirDurations)
{
    const Score score = Parse("instrument s\n"
                              "pattern p : C4/0.5 E4 r/1\n"
                              "seq s 2 x2 t12 : *p G4+B4/2@0.5 # a comment after the notes\n");
    // Per pass: C4 at 2, E4 at 2.5, a rest, then a two-note chord at 4.
    ASSERT_EQ(score.notes.size(), 8u);
    EXPECT_DOUBLE_EQ(score.notes[0].start, 2.0);
    EXPECT_NEAR(score.notes[0].frequency, 523.251, 0.01); // an octave up
    EXPECT_DOUBLE_EQ(score.notes[1].start, 2.5);
    EXPECT_DOUBLE_EQ(score.notes[1].duration, 0.5);
    EXPECT_DOUBLE_EQ(score.notes[2].start, 4.0);
    EXPECT_DOUBLE_EQ(score.notes[3].start, 4.0);
    EXPECT_DOUBLE_EQ(score.notes[3].velocity, 0.5);
    EXPECT_DOUBLE_EQ(score.notes[4].start, 6.0); // the second pass
}

TEST(MakeAudioRender, ANoteReachesItsPeakAndStartsAndEndsAtRest)
{
    const audioencoder::Pcm pcm = Render(kTone);
    ASSERT_EQ(pcm.channels, 1);
    const audiosynth::Levels levels = audiosynth::Measure(pcm);
    EXPECT_NEAR(levels.peakDb, -3.0, 0.05);
    EXPECT_NEAR(levels.seconds, 0.5 + 0.02, 0.001); // the written length and the release
    EXPECT_NEAR(levels.dcOffset, 0.0, 1e-3);
    EXPECT_EQ(pcm.samples.front(), 0.0f);
    EXPECT_EQ(pcm.samples.back(), 0.0f);
    // The 5 ms attack: no sample step anywhere comes near a click.
    float step = 0;
    for (size_t i = 1; i < pcm.samples.size(); ++i)
        step = std::max(step, std::fabs(pcm.samples[i] - pcm.samples[i - 1]));
    EXPECT_LT(step, 0.05f);
    // 440 Hz: upward zero crossings over the steady part.
    int crossings = 0;
    const size_t from = 4410, to = 4410 * 4;
    for (size_t i = from + 1; i < to; ++i)
        crossings += pcm.samples[i - 1] < 0 && pcm.samples[i] >= 0;
    EXPECT_NEAR(crossings, 440 * 0.3, 2);
}

TEST(MakeAudioRender, TooShortEdgesAreLengthenedSoTheyDoNotClick)
{
    const audioencoder::Pcm pcm = Render("peak -3\n"
                                         "instrument s wave=square attack=0 decay=1 sustain=1 release=0\n"
                                         "note s 0 0.1 220\n");
    float step = 0;
    for (size_t i = 1; i < pcm.samples.size(); ++i)
        step = std::max(step, std::fabs(pcm.samples[i] - pcm.samples[i - 1]));
    // A square edge itself is steep; what matters is that the file starts and ends at rest.
    EXPECT_EQ(pcm.samples.front(), 0.0f);
    EXPECT_NEAR(pcm.samples.back(), 0.0f, 1e-6);
    EXPECT_GT(audiosynth::Measure(pcm).seconds, 0.1 * 0.95 + 0.004);
}

TEST(MakeAudioRender, MusicIsNormalisedByRmsAndNeverClips)
{
    const audioencoder::Pcm quiet = Render("rms -18\nchannels 2\ntempo 120\nlength 4\nloop 1\n"
                                           "instrument s wave=saw gain=0.1\nseq s 0 : A3+E4/2 C4+G4/2\n");
    EXPECT_EQ(quiet.channels, 2);
    EXPECT_NEAR(audiosynth::Measure(quiet).rmsDb, -18.0, 0.05);
    EXPECT_NEAR(audiosynth::Measure(quiet).seconds, 2.0, 1e-4);
    // Asking for more than the crest factor allows stops at the ceiling.
    const audioencoder::Pcm loud = Render("rms -1\ninstrument s wave=sine\nnote s 0 1 A4\n");
    EXPECT_LT(audiosynth::Measure(loud).peakDb, -0.9);
    EXPECT_GT(audiosynth::Measure(loud).peakDb, -1.1);
}

TEST(MakeAudioRender, ALoopWrapsTailsToItsStart)
{
    const std::string score = "peak -3\ntempo 60\nlength 1\n"
                              "instrument s wave=sine attack=5 sustain=1 release=5\n"
                              "note s 0.75 0.5 A4\n";
    const audioencoder::Pcm once = Render(score);
    const audioencoder::Pcm looped = Render(score + "loop 1\n");
    ASSERT_EQ(once.samples.size(), looped.samples.size());
    float onceStart = 0, loopStart = 0;
    for (size_t i = 0; i < 4410; ++i)
    {
        onceStart = std::max(onceStart, std::fabs(once.samples[i]));
        loopStart = std::max(loopStart, std::fabs(looped.samples[i]));
    }
    EXPECT_EQ(onceStart, 0.0f);
    EXPECT_GT(loopStart, 0.5f);
    // The seam: the last sample runs on into the first.
    EXPECT_LT(std::fabs(looped.samples.back() - looped.samples.front()), 0.1f);
}

TEST(MakeAudioEncode, OggIsRepeatableCarriesItsSerialAndDecodes)
{
    const audioencoder::Pcm pcm = Render(kTone);
    const uint32_t serial = audioencoder::SerialFromName("tone.ogg");
    const std::string a = audioencoder::EncodeOggVorbis(pcm, 0.3f, serial);
    const std::string b = audioencoder::EncodeOggVorbis(pcm, 0.3f, serial);
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == b);
    // The serial is the little-endian field at offset 14 of every page.
    uint32_t stored = 0;
    for (int i = 0; i < 4; ++i)
        stored |= uint32_t(uint8_t(a[size_t(14 + i)])) << (8 * i);
    EXPECT_EQ(stored, serial);
    EXPECT_NE(audioencoder::SerialFromName("tone.ogg"), audioencoder::SerialFromName("tune.ogg"));

    audiotest::StartManualBass();
    for (const std::string& bytes : {a, audioencoder::EncodeWav16(pcm)})
    {
        HSAMPLE sample = audiotest::LoadSample(bytes);
        ASSERT_NE(sample, 0u);
        HCHANNEL channel = BASS_SampleGetChannel(sample, TRUE);
        ASSERT_TRUE(BASS_ChannelPlay(channel, TRUE));
        const std::vector<float> out = audiotest::MixMs(600);
        const audiotest::Measured m = audiotest::Measure(out.data() + audiotest::Frames(100) * 2,
                                                         audiotest::Frames(300));
        EXPECT_NEAR(m.frequency, 440.0, 440 * 0.02);
        // A sine peaking at -3 dBFS.
        EXPECT_NEAR(Db(m.rms), -3.0 - 3.01, 0.3);
        EXPECT_TRUE(BASS_SampleFree(sample));
    }
}
} // namespace
