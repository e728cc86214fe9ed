#include "SoundTestSupport.h"

#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Platform/Bass/StandIn.h"

#include <cmath>

namespace soundtest
{
namespace
{
const Track kTracks[] = {{"a", 440, 0.5}, {"b", 880, 0.5}, {"c", 660, 0.5}, {"click", 1320, 0.5}};
} // namespace

SoundWorld::SoundWorld(Output output)
{
    if (output == Output::Manual)
        audiotest::StartManualBass();
    m_current = std::make_unique<hvtest::CurrentDirectory>(m_folder.Folder());
}

SoundWorld::~SoundWorld()
{
    // The sounds go with their singletons while the files are still there.
    base::testing::TeardownSingletonsNow();
    bass::DeliverSyncs();
    m_current.reset();
}

double Level(const std::vector<float>& stereo)
{
    return audiotest::Measure(stereo).rms / audiotest::RmsOf(1.0);
}

std::string Audible(const std::vector<float>& stereo)
{
    audiotest::Measured m = audiotest::Measure(stereo);
    if (m.rms < 0.005)
        return "";
    for (const Track& t : kTracks)
        if (std::fabs(m.frequency - t.frequency) < t.frequency * 0.04)
            return t.name;
    return "?";
}

std::vector<float> Mix(double milliseconds, int steps)
{
    std::vector<float> all;
    for (int i = 0; i < steps; ++i)
    {
        std::vector<float> part = audiotest::MixMs(milliseconds / steps);
        all.insert(all.end(), part.begin(), part.end());
        bass::DeliverSyncs();
    }
    return all;
}
} // namespace soundtest
