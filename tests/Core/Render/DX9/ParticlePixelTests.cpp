// Particle effects end to end: the sample library loaded through the file
// manager by the particle system, played by the real particle library and
// drawn through a draw context on the Direct3D 9 stand-in.

#include "../PictureFixtures.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "RenderFixture.h"
#include "support/TempFolder.h"

#include <memory>
#include <string>

namespace rendertest
{
namespace
{
constexpr uint32_t kSide = 128;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kRed = 0xFFFF0000;

class ParticlePixelTest : public RenderDX9Test
{
protected:
    void SetUp() override
    {
        RenderDX9Test::SetUp();
        folder.Write("particles/sample.ptc", hvtest::TempDir::ReadFile(HV_SAMPLE_PTC));
        // White atlases: a particle shows its own colour.
        const fixtures::Bytes white = fixtures::MakePng(16, 16, std::vector<uint32_t>(256, 0xFFFFFFFF));
        for (const char* name : {"particles/fx_atlas0.png", "particles/fx_atlas1.png"})
            folder.Write(name, std::string(white.begin(), white.end()));
    }
    void TearDown() override
    {
        emitter.reset();
        if (render::ParticleSystem* system = particles)
            system->ReleaseTextures();
        base::testing::TeardownSingletonsNow();
        RenderDX9Test::TearDown();
    }

    void LoadSample()
    {
        ASSERT_EQ(Start(true, kSide, kSide), HV_OK);
        particles = render::ParticleSystem::Instance();
        particles->mFolder = "particles/";
        particles->Load("sample", render.get());
        ASSERT_EQ(particles->mAtlases.size(), 2u);
        ASSERT_NE(particles->mAtlases[0], nullptr);
        ASSERT_NE(particles->mAtlases[1], nullptr);
    }

    // The effect at (100, 100), started and advanced by 0.1 s, drawn over a cleared screen.
    std::vector<uint32_t> Play(const std::string& name, uint32_t background)
    {
        emitter.reset(particles->CreateEmitter(name));
        EXPECT_NE(emitter, nullptr) << name;
        if (!emitter)
            return {};
        const float at[2] = {100, 100};
        emitter->SetPosition(at, 1);
        emitter->SetState(1);
        emitter->Update(0.1);
        EXPECT_EQ(emitter->mState, 1);
        int count = -1;
        EXPECT_EQ(Frame([&] {
                      ClearTo(background);
                      render::Graphics context(render.get());
                      auto record = context.DrawParticles(emitter.get());
                      record->mCountOut = &count;
                  }),
                  HV_OK);
        EXPECT_EQ(count, 1);
        return BackBuffer();
    }

    // The 8x8 pixels around (100, 100) have the colour and the ring around them the background.
    void ExpectSquare(const std::vector<uint32_t>& pixels, uint32_t inside, uint32_t outside)
    {
        ASSERT_EQ(pixels.size(), size_t(kSide * kSide));
        for (int y = 95; y <= 104; ++y)
            for (int x = 95; x <= 104; ++x)
            {
                const bool in = x >= 96 && x < 104 && y >= 96 && y < 104;
                EXPECT_TRUE(Near(At(pixels, x, y, kSide), in ? inside : outside, 2))
                    << std::hex << At(pixels, x, y, kSide) << " at " << std::dec << x << ", " << y;
            }
    }

    hvtest::TempFolder folder;
    hvtest::CurrentDirectory here{folder.Folder()};
    render::ParticleSystem* particles = nullptr;
    std::unique_ptr<render::ParticleEmitter> emitter;
};

TEST_F(ParticlePixelTest, OneParticleFillsItsSquareInItsColour)
{
    LoadSample();
    ExpectSquare(Play("dot", kBlack), kRed, kBlack);
}

TEST_F(ParticlePixelTest, AnAdditiveParticleAddsToWhatIsBelow)
{
    LoadSample();
    ExpectSquare(Play("dot_add", kGrey), 0xFFFF8080, kGrey);
    // The same particle alpha-blended covers the grey.
    ExpectSquare(Play("dot", kGrey), kRed, kGrey);
}

TEST_F(ParticlePixelTest, OfTwoEffectsOfOneNameTheLaterIsCreated)
{
    LoadSample();
    // The later "twin" is a red 8x8 dot; the earlier a blue 16x16 one.
    ExpectSquare(Play("twin", kBlack), kRed, kBlack);
}
} // namespace
} // namespace rendertest
