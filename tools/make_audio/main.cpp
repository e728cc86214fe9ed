// make_audio SCORE OUT [--wav COPY]: renders a text score (content/README.md,
// "Audio scores") to Ogg Vorbis or 16-bit WAV, as the score's "format" says.
// The Ogg stream serial comes from OUT's file name, so a build gives the same
// bytes every time. --wav also writes a WAV copy for listening. Prints the
// length, peak, RMS and DC offset. Exit 0 written, 1 failed, 2 bad usage.
#include "Score.h"
#include "Synth.h"

#include "tools/audio_encoder/AudioEncoder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
int Usage()
{
    std::fprintf(stderr, "usage: make_audio SCORE OUT [--wav COPY]\n");
    return 2;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--wav"))
        return Usage();
    const std::string scorePath = argv[1], outPath = argv[2];
    std::ifstream in(scorePath, std::ios::binary);
    if (!in)
    {
        std::fprintf(stderr, "make_audio: cannot read %s\n", scorePath.c_str());
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();

    audiosynth::Score score;
    // Noise and plucks are seeded by the score's name, not by where it lies.
    score.seed = audioencoder::SerialFromName(std::filesystem::path(scorePath).stem().string());
    std::string error;
    if (!audiosynth::ParseScore(text.str(), &score, &error))
    {
        std::fprintf(stderr, "%s: %s\n", scorePath.c_str(), error.c_str());
        return 1;
    }
    const std::string extension = std::filesystem::path(outPath).extension().string();
    if (extension != "." + score.format)
    {
        std::fprintf(stderr, "make_audio: the score writes %s, but %s ends in '%s'\n", score.format.c_str(),
                     outPath.c_str(), extension.c_str());
        return 1;
    }
    audioencoder::Pcm pcm;
    if (!audiosynth::Render(score, &pcm, &error))
    {
        std::fprintf(stderr, "%s: %s\n", scorePath.c_str(), error.c_str());
        return 1;
    }
    const std::string bytes =
        score.format == "wav"
            ? audioencoder::EncodeWav16(pcm)
            : audioencoder::EncodeOggVorbis(pcm, static_cast<float>(score.quality),
                                            audioencoder::SerialFromName(std::filesystem::path(outPath).filename().string()));
    if (bytes.empty())
    {
        std::fprintf(stderr, "make_audio: the encoder refused %s\n", scorePath.c_str());
        return 1;
    }
    if (!WriteFile(outPath, bytes) || (argc == 5 && !WriteFile(argv[4], audioencoder::EncodeWav16(pcm))))
    {
        std::fprintf(stderr, "make_audio: cannot write %s\n", outPath.c_str());
        return 1;
    }
    const audiosynth::Levels levels = audiosynth::Measure(pcm);
    std::printf("%s: %.2f s, peak %.1f dBFS, rms %.1f dBFS, dc %.5f\n", outPath.c_str(), levels.seconds,
                levels.peakDb, levels.rmsDb, levels.dcOffset);
    return 0;
}
