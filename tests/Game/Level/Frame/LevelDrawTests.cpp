// The level drawing over the quad recorder: the world order, the road glow,
// the queues, the ring's end, the beams and the interface pictures.
#include "Game/Level/Input/InputFixture.h"


#include "Game/Game.h"
#include "Game/Level/NQScreenState.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/TMobShader.h"

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Resource/ResourceManager.h"
#include "support/HlslSamples.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using gametest::InputTest;
using gametest::RecordedQuad;

class LevelDrawTest : public InputTest
{
protected:
    void TearDown() override
    {
        if (map && map->mDecorationSet && swapped)
            map->mDecorationSet->mFrames.swap(savedDecorations);
        decorations.clear();
        if (map)
            map->mArmedSpell = nullptr;
        // The library keeps its pictures until it is told to let them go.
        if (dotLibrary)
            render::ParticleSystem::Instance()->ReleaseTextures();
        InputTest::TearDown();
    }

    std::vector<RecordedQuad> DrawLevel()
    {
        return Recorder()->Record([&](render::Graphics* g) { map->Draw(g); });
    }

    // The decorations in place of the level's, one 20 x 20 picture each at
    // x = 10 + 20 × i, y = 700.
    void UseDecorations(const std::vector<std::wstring>& names)
    {
        for (size_t i = 0; i < names.size(); ++i)
        {
            auto frame = std::make_unique<NQFrameEntry>();
            frame->mName = names[i];
            frame->mPicture = Picture();
            frame->mRect[0] = 20.0f * float(i);
            frame->mRect[1] = 690.0f;
            frame->mRect[2] = 20.0f;
            frame->mRect[3] = 20.0f;
            decorations.push_back(std::move(frame));
        }
        std::vector<NQFrameEntry*> mine;
        for (auto& frame : decorations)
            mine.push_back(frame.get());
        savedDecorations.swap(mine);
        map->mDecorationSet->mFrames.swap(savedDecorations);
        // savedDecorations now holds the level's own list.
        swapped = true;
    }

    // The map-space point as drawn on the screen.
    float ScreenX(float x) const { return x * map->mZoom + map->mViewOffsetX; }
    float ScreenY(float y) const { return y * map->mZoom + map->mViewOffsetY; }

    // Adds "beam_dot" to the real particle library: one still dot born where
    // its emitter is when it starts, drawn as one quad.
    void LoadDotLibrary()
    {
        data->Write("nq/fx/beam_atlas.png", gametest::SolidPng(8, 8, 0xFFFFFFFFu));
        // The library numbers atlases per file while the engine appends them to
        // one list: the dot's atlas is declared at the index it gets in that list.
        render::ParticleSystem* particles = render::ParticleSystem::Instance();
        const size_t atlas = particles->mAtlases.size();
        std::string library = "<particles version=\"1\">";
        for (size_t i = 0; i <= atlas; ++i)
            library += "<atlas file=\"beam_atlas.png\"/>";
        library += "<emitter name=\"beam_dot\" interval2=\"3600000\"><type atlas=\"" + std::to_string(atlas) +
                   "\" rate=\"0\" burst=\"1\" life=\"100000\" speed=\"0\" size0=\"2\" size1=\"2\" "
                   "color1=\"FFFFFFFF\"/></emitter></particles>";
        data->Write("nq/fx/beam.ptc", library);
        particles->Load("beam.ptc", application->mRender);
        dotLibrary = true;
    }

    std::vector<std::unique_ptr<NQFrameEntry>> decorations;
    std::vector<NQFrameEntry*> savedDecorations;
    bool swapped = false;
    bool dotLibrary = false;
};

TEST_F(LevelDrawTest, InterfacePictureMaps)
{
    EXPECT_EQ(map->mTowerIcons.size(), 20u);
    EXPECT_EQ(map->mAbilityIcons.size(), 12u);
    for (int line : {10000, 20000, 30000, 40000})
        EXPECT_EQ(map->mTowerIcons.at(line), map->mTowerIcons.at(line + 2));
    EXPECT_NE(map->mWaveHints, nullptr);
    EXPECT_NE(map->mFloatingIcons, nullptr);
}

TEST_F(LevelDrawTest, SectorTable)
{
    struct Case
    {
        float angle;
        int sector;
    };
    for (const Case& c : {Case{0.0f, 31}, Case{11.25f, 30}, Case{11.24f, 31}, Case{359.9f, 0}, Case{360.0f, 31}})
        EXPECT_EQ(NQTower::GetSector(c.angle), c.sector) << c.angle;
}

TEST_F(LevelDrawTest, DecorationsAroundTheWorldAndTheQueuesEmptied)
{
    UseDecorations({L"##", L"^a", L"$b", L"#3", L"##x", L"a"});
    const std::vector<RecordedQuad> quads = DrawLevel();
    std::vector<int> order;
    for (const RecordedQuad& quad : quads)
    {
        if (std::fabs(quad.CentreY() - ScreenY(700.0f)) > 0.5f)
            continue;
        for (int i = 0; i < 6; ++i)
            if (std::fabs(quad.CentreX() - ScreenX(10.0f + 20.0f * float(i))) < 0.5f)
                order.push_back(i);
    }
    // Below the units in reverse order, then "##", "^a" and "$b" above them.
    EXPECT_EQ(order, (std::vector<int>{5, 4, 3, 0, 1, 2}));
    for (const auto& queue : map->mDrawQueues)
        EXPECT_TRUE(queue.empty());
    // The copies borrowed the pictures: drawn again, the decorations are intact.
    const size_t count = DrawLevel().size();
    EXPECT_EQ(DrawLevel().size(), count);
    for (const auto& frame : decorations)
        EXPECT_NE(frame->mPicture, nullptr);
}

TEST_F(LevelDrawTest, RoadGlowOnlyWhileASpellIsArmed)
{
    ASSERT_NE(map->mRoadMask, nullptr);
    const render::Texture* mask = map->mRoadMask->GetTexture();
    auto glow = [&]() -> const RecordedQuad* {
        static std::vector<RecordedQuad> quads;
        quads = DrawLevel();
        for (const RecordedQuad& quad : quads)
            if (quad.texture == mask)
                return &quad;
        return nullptr;
    };
    EXPECT_EQ(glow(), nullptr);
    map->mArmedSpell = reinterpret_cast<HUDSpellButton*>(map);
    for (float time : {0.0f, 0.3f, 1.0f})
    {
        map->mGameTime = time;
        const RecordedQuad* quad = glow();
        ASSERT_NE(quad, nullptr) << time;
        const float alpha = (std::sin(time * 5.0f) + 1.0f) * 0.5f * 0.2f + 0.2f;
        EXPECT_NEAR(quad->Alpha(), alpha, 1.0f / 255.0f) << time;
        EXPECT_EQ(quad->blend, 2);
    }
    map->mArmedSpell = nullptr;
}

TEST_F(LevelDrawTest, HealthBar)
{
    map->mBarPicture = Picture();
    NQEnemy* enemy = SpawnNow(gametest::units::kTank);
    ASSERT_NE(enemy, nullptr);
    const float max = enemy->GetMaxHealth();
    struct Case
    {
        float health;
        float timer;
        int state;
        size_t quads;
        float alpha;
    };
    const Case cases[] = {
        {max, 2.0f, NQEnemy::kWalking, 0, 0.0f},        {0.0f, 2.0f, NQEnemy::kWalking, 0, 0.0f},
        {max / 2, 2.0f, NQEnemy::kDying, 0, 0.0f},      {max / 2, 0.0f, NQEnemy::kWalking, 0, 0.0f},
        {max / 2, 2.0f, NQEnemy::kWalking, 2, 1.0f},    {max / 4, 0.25f, NQEnemy::kWalking, 2, 0.5f},
        {-5.0f, 1.0f, NQEnemy::kWalking, 2, 1.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.health << " " << c.timer << " " << c.state);
        enemy->mHealth = c.health;
        enemy->mHealthBarTimer = c.timer;
        enemy->mState = c.state;
        const std::vector<RecordedQuad> quads =
            Recorder()->Record([&](render::Graphics* g) { enemy->DrawOverlay(g); });
        ASSERT_EQ(quads.size(), c.quads);
        if (c.quads == 0)
            continue;
        EXPECT_NEAR(quads[0].Alpha(), c.alpha, 1.0f / 255.0f);
        EXPECT_EQ(quads[0].argb & 0x00FFFFFFu, 0x00FF0000u);
        EXPECT_EQ(quads[1].argb & 0x00FFFFFFu, 0x0000FF00u);
        EXPECT_NEAR(quads[1].Width(), quads[0].Width() * std::max(c.health, 0.0f) / max, 0.01f);
    }
    // Drawing leaves the enemy's health as it was.
    EXPECT_EQ(enemy->mHealth, -5.0f);
    enemy->mState = NQEnemy::kWalking;
}

// The level is the HUD's one painter: the panel and both window layers once a
// frame, in the world and on the menu screens alike, and nothing before the
// level's pictures are loaded.
TEST_F(LevelDrawTest, TheHudDrawsOnceAFrameInEveryState)
{
    const std::vector<std::string> once = {"HUD.Draw", "HUD.DrawWindows 0", "HUD.DrawWindows 1"};
    for (const NQScreenState state : {screen::kPlaying, screen::kWon, screen::kMainMenu, screen::kGemShop})
    {
        map->mScreenState = state;
        gametest::CallLog().clear();
        DrawLevel();
        std::vector<std::string> calls;
        for (const gametest::LoggedCall& call : gametest::CallsStarting("HUD.Draw"))
            calls.push_back(call.call);
        EXPECT_EQ(calls, once) << state;
    }
    map->mResourcesLoaded = false;
    gametest::CallLog().clear();
    DrawLevel();
    map->mResourcesLoaded = true;
    EXPECT_EQ(gametest::CountCalls("HUD.Draw"), 0);
}

TEST_F(LevelDrawTest, AFinishedRingGoesInTheSameFrame)
{
    map->mContextMenu = new NQContextMenu;
    map->mContextMenu->mActive = 0;
    DrawLevel();
    EXPECT_EQ(map->mContextMenu, nullptr);
}

// Every link of the beam holds one still dot at its origin, so that each
// link draws one quad centred on where the beam puts it.
TEST_F(LevelDrawTest, BeamLinksAlongTheTarget)
{
    LoadDotLibrary();
    constexpr float kSourceX = 300.0f;
    constexpr float kSourceY = 200.0f;
    struct Case
    {
        float dx;
        float dy;
        std::vector<float> along;
    };
    const Case cases[] = {
        {0.0f, 61.0f, {0.0f, 30.0f, 31.0f}},
        {0.0f, 60.0f, {0.0f, 30.0f}},
        {60.0f, 0.0f, {0.0f, 30.0f}},
        {61.0f, 0.0f, {0.0f, 30.0f, 31.0f}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy);
        NQBeamParticle beam(kSourceX, kSourceY, nullptr, "beam_dot");
        beam.mTargetX = kSourceX + c.dx;
        beam.mTargetY = kSourceY + c.dy;
        // Full intensity after 0.1 s; the links made for the first target
        // (the origin) go one per update.
        for (int i = 0; i < 20 && beam.mEmitters.size() != c.along.size(); ++i)
            beam.Update(0.1f);
        ASSERT_EQ(beam.mIntensity, 1.0f);
        ASSERT_EQ(beam.mEmitters.size(), c.along.size());
        const std::vector<RecordedQuad> quads =
            Recorder()->Record([&](render::Graphics* g) { beam.Draw(g); });
        ASSERT_EQ(quads.size(), c.along.size());
        const float length = std::sqrt(c.dx * c.dx + c.dy * c.dy);
        for (size_t i = 0; i < quads.size(); ++i)
        {
            // Right of the source for +x, below it for +y.
            EXPECT_NEAR(quads[i].CentreX(), kSourceX + c.dx / length * c.along[i], 0.01f) << i;
            EXPECT_NEAR(quads[i].CentreY(), kSourceY + c.dy / length * c.along[i], 0.01f) << i;
        }
    }
}

// The gem shop hides the anchor effects; the bare emitters still show.
TEST_F(LevelDrawTest, TheGemShopHidesAnchorEffectsButNotBareEmitters)
{
    LoadDotLibrary();
    constexpr float kAnchorX = 500.0f;
    constexpr float kBareX = 600.0f;
    constexpr float kRowY = 300.0f;
    ASSERT_NE(PlaceEffect(map->mEffects, "beam_dot", kAnchorX, kRowY, kKeepLoopMode), nullptr);
    render::ParticleEmitter* bare = render::ParticleSystem::Instance()->CreateEmitter("beam_dot");
    ASSERT_NE(bare, nullptr);
    const float at[2] = {kBareX, kRowY};
    bare->SetPosition(at, 1);
    bare->SetState(1);
    map->mLooseEmitters.push_back(bare);
    struct Case
    {
        NQScreenState state;
        int anchors;
        int bares;
    };
    for (const Case& c : {Case{screen::kPlaying, 1, 1}, Case{screen::kGemShop, 0, 1}})
    {
        SCOPED_TRACE(c.state);
        map->mScreenState = c.state;
        int anchors = 0;
        int bares = 0;
        for (const RecordedQuad& quad : DrawLevel())
        {
            if (std::fabs(quad.CentreY() - ScreenY(kRowY)) > 0.5f)
                continue;
            anchors += std::fabs(quad.CentreX() - ScreenX(kAnchorX)) < 0.5f;
            bares += std::fabs(quad.CentreX() - ScreenX(kBareX)) < 0.5f;
        }
        EXPECT_EQ(anchors, c.anchors);
        EXPECT_EQ(bares, c.bares);
    }
    map->mScreenState = screen::kPlaying;
}

// Entries drawn with the enemy shader pass their colour as "color2"; an entry
// of the same colour as the one before it uploads nothing again.
TEST_F(LevelDrawTest, EnemyShaderColourOnlyWhenItChanges)
{
    data->Write("nq/Shaders/MobShader/DX/VS.hlsl", hlsl::kTexturedVs);
    data->Write("nq/Shaders/MobShader/DX/PS.hlsl", hlsl::kEnemyPs);
    resource::ResourceHandle<TMobShader> shader =
        resource::ResourceManager::Instance()->Get<TMobShader>(Game::kMobShaderName);
    ASSERT_TRUE(shader);
    ASSERT_EQ(shader->SetRender(application->mRender), HV_OK);
    ASSERT_EQ(shader->Load(), HV_OK);
    ASSERT_NE(shader->GetColor2Variable(), nullptr);
    const float colours[3][4] = {{1.0f, 0.5f, 0.25f, 1.0f}, {1.0f, 0.5f, 0.25f, 1.0f}, {1.0f, 0.5f, 0.25f, 0.5f}};
    render::Image* picture = Picture();
    for (int i = 0; i < 3; ++i)
    {
        auto* entry = new NQFrameEntry;
        entry->mPicture = picture;
        entry->mShader = shader.Get();
        std::copy(colours[i], colours[i] + 4, entry->mShaderColor);
        entry->mColor[0] = entry->mColor[1] = entry->mColor[2] = entry->mColor[3] = 1.0f;
        entry->mDepth = float(i);
        entry->mTransform.Translate(100.0f + 50.0f * float(i), 400.0f);
        map->mDrawQueues[0].push_back(entry);
    }
    const std::vector<RecordedQuad> quads = DrawLevel();
    std::vector<float> uploads;
    for (const RecordedQuad& quad : quads)
        if (const auto it = quad.variables.find("color2"); it != quad.variables.end())
        {
            uploads.push_back(quad.CentreX());
            EXPECT_EQ(it->second.x, 1.0f);
            EXPECT_EQ(it->second.y, 0.5f);
            EXPECT_EQ(it->second.z, 0.25f);
        }
    // The first and the third entry only.
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_NEAR(uploads[0], ScreenX(100.0f), 0.5f);
    EXPECT_NEAR(uploads[1], ScreenX(200.0f), 0.5f);
    shader.Reset();
}

} // namespace
