// The game's built data root read by the engine's real loaders: what the
// content check verifies by format, this verifies by use.
#include "DX9/RenderFixture.h"
#include "PictureFixtures.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/Archiver.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/Shaders/ShaderVariableImpl.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/TextLayout.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Video/TheoraVideo.h"
#include "Core/Video/TheoraVideoListener.h"
#include "Framework/Widget/Dialog.h"
#include "Framework/Widget/DialogEffects.h"
#include "Framework/Widget/DialogEffectsManager.h"
#include "Platform/Bass/Bass.h"
#include "Platform/Bass/StandIn.h"
#include "support/TempFolder.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using rendertest::Near;

const fs::path kRoot = HV_CONTENT_ROOT;
const fs::path kPacked = HV_PACKED_ROOT;

constexpr const char* kFontFolder = "nq/data/fonts";
constexpr const char* kStrings = "nq/strings_en.csv";
constexpr const char* kParticleFolder = "nq/fx/";
constexpr const char* kParticleFile = "fx2";
constexpr const wchar_t* kIntro = L"nq/video/intro.ogv";
constexpr const wchar_t* kEnemyShader = L"nq/Shaders/MobShader/DX/";
constexpr const char* kGameXml = "data/game.xml";
// Effects run at the game's frame step until they end, for at most this long.
constexpr double kEffectStep = 1.0 / 60.0;
constexpr double kEffectLimit = 10.0;
// A sound whose loudest sample stays below this is silent; one that reaches
// the other end is clipped.
constexpr float kSilent = 0.01f;
constexpr float kClipped = 0.999f;
constexpr double kLongestSound = 70.0;
// The sheet of every effect caught in mid-play, beside the test program.
constexpr const char* kEffectSheet = "content_effects.png";
constexpr int kSheetWidth = 1024, kSheetHeight = 768, kSheetColumns = 8, kSheetRows = 6;
constexpr double kSheetMoment = 0.4;

// The file through the file manager; empty when it does not open.
std::string Read(const std::string& path)
{
    std::unique_ptr<base::Stream> stream(file::FileManager::Instance()->OpenStream(base::Utf8ToWide(path)));
    if (!stream)
        return {};
    std::string out(stream->Size(), '\0');
    const uint32_t got = out.empty() ? 0 : stream->Read(out.data(), static_cast<uint32_t>(out.size()));
    out.resize(got);
    return out;
}

// Files of a folder of the data root, by their path from the root, sorted.
std::vector<std::string> FilesIn(const std::string& folder, const std::string& extension)
{
    std::vector<std::string> out;
    if (!fs::is_directory(kRoot / folder))
        return out;
    for (const auto& entry : fs::directory_iterator(kRoot / folder))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            out.push_back(folder + "/" + entry.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// Every layered image (a folder with "layers.xml") below the content's folders.
std::vector<std::string> LayeredImages()
{
    std::vector<std::string> out;
    for (const char* top : {"nq", "data", "logo"})
    {
        if (!fs::is_directory(kRoot / top))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / top))
            if (entry.is_regular_file() && entry.path().filename() == "layers.xml")
                out.push_back(fs::relative(entry.path().parent_path(), kRoot).generic_string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The second cell of every line of the strings sheet, blanks kept.
std::vector<std::wstring> Strings(const std::string& sheet)
{
    std::vector<std::wstring> out;
    std::istringstream in(sheet);
    for (std::string line; std::getline(in, line);)
    {
        const size_t semicolon = line.find(';');
        if (semicolon == std::string::npos || line.compare(0, 1, "#") == 0)
            continue;
        const std::string text = line.substr(semicolon + 1);
        if (!text.empty())
            out.push_back(base::Utf8ToWide(text));
    }
    return out;
}

struct ImageDeleter
{
    void operator()(render::Image* image) const
    {
        image->Release();
        delete image;
    }
};

class ContentTest : public rendertest::RenderDX9Test
{
protected:
    void SetUp() override
    {
        RenderDX9Test::SetUp();
        ASSERT_TRUE(fs::is_directory(kRoot / "nq")) << kRoot << " holds no content: build the content target";
        cwd = std::make_unique<hvtest::CurrentDirectory>(kRoot);
    }
    void TearDown() override
    {
        if (render::ParticleSystem* particles = render::ParticleSystem::Instance())
            particles->ReleaseTextures();
        widget::DialogEffectsManager::ClearIfCreated();
        base::testing::TeardownSingletonsNow();
        cwd.reset();
        RenderDX9Test::TearDown();
    }

    std::unique_ptr<render::BMFont> LoadFont(const std::string& fnt)
    {
        auto font = std::make_unique<render::BMFont>();
        EXPECT_EQ(font->Init(base::Utf8ToWide(fnt.substr(0, fnt.size() - 4))), HV_OK);
        font->SetRender(render.get());
        EXPECT_EQ(font->DoLoad(), HV_OK) << fnt;
        return font;
    }

    std::unique_ptr<hvtest::CurrentDirectory> cwd;
};

TEST_F(ContentTest, EveryFontLoadsAndHasTheWholeGlyphSet)
{
    ASSERT_EQ(Start(), HV_OK);
    const auto fonts = FilesIn(kFontFolder, ".fnt");
    ASSERT_EQ(fonts.size(), 6u);
    for (const std::string& fnt : fonts)
    {
        SCOPED_TRACE(fnt);
        auto font = LoadFont(fnt);
        EXPECT_GT(font->GetLineHeight(), 0.0f);
        EXPECT_GT(font->GetBase(), 0.0f);
        EXPECT_LT(font->GetBase(), font->GetLineHeight());
        for (const auto& [first, last] : {std::pair{0x20, 0x7E}, {0xA0, 0xFF}, {0x410, 0x44F}})
            for (int code = first; code <= last; ++code)
                EXPECT_TRUE(font->HasGlyph(static_cast<uint16_t>(code))) << std::hex << code;
        font->DoUnLoad();
    }
}

TEST_F(ContentTest, EveryStringMeasuresWiderThanNothingInTheWindowFont)
{
    ASSERT_EQ(Start(), HV_OK);
    auto font = LoadFont(std::string(kFontFolder) + "/main_42_3.fnt");
    const auto strings = Strings(Read(kStrings));
    ASSERT_FALSE(strings.empty()) << kStrings;
    render::TextLayout layout;
    for (const std::wstring& text : strings)
    {
        float size[2] = {0, 0};
        EXPECT_EQ(font->DrawText(nullptr, nullptr, &text, &layout, size), HV_OK);
        EXPECT_GT(size[0], 0.0f) << base::WideToUtf8(text);
    }
    font->DoUnLoad();
}

TEST_F(ContentTest, EveryPictureLayerOfEveryLayeredImageLoadsAsATexture)
{
    ASSERT_EQ(Start(), HV_OK);
    const auto images = LayeredImages();
    ASSERT_FALSE(images.empty());
    size_t pictures = 0;
    for (const std::string& path : images)
    {
        SCOPED_TRACE(path);
        std::unique_ptr<file::ImageContainer> image(
            file::FileManager::Instance()->OpenImageContainer(base::Utf8ToWide(path)));
        ASSERT_NE(image, nullptr);
        ASSERT_GT(image->GetLayerCount(), 0);
        // Held until the image is done, so an atlas is decoded once for all its parts.
        std::vector<std::unique_ptr<render::Image, ImageDeleter>> loaded;
        for (int i = 0; i < image->GetLayerCount(); ++i)
        {
            base::ImageInfo* layer = image->GetLayer(i);
            ASSERT_NE(layer, nullptr);
            // A layer without a picture file is a rectangle: a place, not a picture.
            if (!layer->hasImage || (!layer->fromAtlas && !image->LayerFileExists(layer->name)))
                continue;
            render::Image* raw = nullptr;
            EXPECT_EQ(render->LoadTexture(layer->name, image.get(), &raw, nullptr), HV_OK)
                << base::WideToUtf8(layer->name);
            if (!raw)
                continue;
            loaded.emplace_back(raw);
            ++pictures;
        }
        // The pictures go before their container.
        loaded.clear();
    }
    EXPECT_GT(pictures, 0u);
}

TEST_F(ContentTest, EveryEffectOfTheParticleLibraryPlaysToItsEnd)
{
    ASSERT_EQ(Start(), HV_OK);
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    particles->mFolder = kParticleFolder;
    particles->Load(kParticleFile, render.get());
    ASSERT_FALSE(particles->mEmitters.empty());
    ASSERT_FALSE(particles->mAtlases.empty());
    for (render::Image* atlas : particles->mAtlases)
        EXPECT_NE(atlas, nullptr);
    for (const auto& [name, prototype] : particles->mEmitters)
    {
        SCOPED_TRACE(name);
        std::unique_ptr<render::ParticleEmitter> effect(particles->CreateEmitter(name));
        ASSERT_NE(effect, nullptr);
        const float at[2] = {512, 384};
        effect->SetPosition(at, 1);
        effect->SetState(1);
        EXPECT_EQ(effect->mState, 1);
        double played = 0;
        while (effect->mState != 0 && played < kEffectLimit)
        {
            effect->Update(kEffectStep);
            played += kEffectStep;
        }
        // Played once, every effect ends by itself.
        EXPECT_EQ(effect->mState, 0);
    }
}

TEST_F(ContentTest, EverySoundDecodesAndIsNeitherSilentNorClipped)
{
    static const bool started = [] {
        bass::UseManualOutput();
        return BASS_Init(-1, bass::kRate, 0, 0, nullptr) != FALSE;
    }();
    ASSERT_TRUE(started);
    std::vector<std::string> sounds = FilesIn("nq/data/sound", ".ogg");
    for (const auto& list : {FilesIn("nq/data/sound", ".wav"), FilesIn("nq/data/music", ".ogg"),
                             FilesIn("nq/video", ".ogg")})
        sounds.insert(sounds.end(), list.begin(), list.end());
    ASSERT_GT(sounds.size(), 4u);
    constexpr uint32_t kChunk = bass::kRate / 10;
    std::vector<float> mixed(kChunk * 2);
    for (const std::string& path : sounds)
    {
        SCOPED_TRACE(path);
        const std::string bytes = Read(path);
        ASSERT_FALSE(bytes.empty());
        HSAMPLE sample = BASS_SampleLoad(TRUE, bytes.data(), 0, static_cast<DWORD>(bytes.size()), 1, 0);
        ASSERT_NE(sample, 0u);
        HCHANNEL channel = BASS_SampleGetChannel(sample, TRUE);
        ASSERT_NE(channel, 0u);
        ASSERT_TRUE(BASS_ChannelPlay(channel, TRUE));
        float peak = 0;
        double seconds = 0;
        while (BASS_ChannelIsActive(channel) != 0 && seconds < kLongestSound)
        {
            bass::MixFrames(mixed.data(), kChunk);
            for (float v : mixed)
                peak = std::max(peak, std::fabs(v));
            seconds += double(kChunk) / bass::kRate;
        }
        EXPECT_EQ(BASS_ChannelIsActive(channel), 0u) << "still playing after " << seconds << " s";
        EXPECT_GT(peak, kSilent);
        EXPECT_LT(peak, kClipped);
        EXPECT_TRUE(BASS_SampleFree(sample));
    }
}

TEST_F(ContentTest, EveryEffectDrawsAndTheSheetIsSavedForReview)
{
    ASSERT_EQ(Start(true, kSheetWidth, kSheetHeight), HV_OK);
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    particles->mFolder = kParticleFolder;
    particles->Load(kParticleFile, render.get());
    ASSERT_LE(particles->mEmitters.size(), size_t(kSheetColumns * kSheetRows));
    std::vector<std::unique_ptr<render::ParticleEmitter>> effects;
    const float cellW = float(kSheetWidth) / kSheetColumns, cellH = float(kSheetHeight) / kSheetRows;
    for (const auto& [name, prototype] : particles->mEmitters)
    {
        const int i = int(effects.size());
        effects.emplace_back(particles->CreateEmitter(name));
        const float at[2] = {(float(i % kSheetColumns) + 0.5f) * cellW, (float(i / kSheetColumns) + 0.6f) * cellH};
        effects.back()->SetPosition(at, 1);
        effects.back()->SetState(1);
        effects.back()->Update(kSheetMoment);
    }
    int lists = 0;
    ASSERT_EQ(Frame([&] {
                  ClearTo(0xFF405060);
                  render::Graphics context(render.get());
                  for (auto& effect : effects)
                  {
                      int count = 0;
                      {
                          // Drawn when the record goes.
                          auto record = context.DrawParticles(effect.get());
                          record->mCountOut = &count;
                      }
                      lists += count;
                  }
              }),
              HV_OK);
    EXPECT_GE(lists, int(effects.size()));
    const fixtures::Bytes png = fixtures::MakePng(kSheetWidth, kSheetHeight, BackBuffer());
    std::ofstream(kRoot / kEffectSheet, std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                                 std::streamsize(png.size()));
}

class EndWatcher : public video::TheoraVideoListener
{
public:
    void OnVideoFinished(video::TheoraVideo*) override { finished = true; }
    bool finished = false;
};

TEST_F(ContentTest, TheIntroPlaysToItsEnd)
{
    ASSERT_EQ(Start(), HV_OK);
    EndWatcher watcher;
    video::TheoraVideo player(&watcher);
    ASSERT_EQ(player.Open(kIntro), 0);
    EXPECT_EQ(player.GetWidth(), 1024u);
    EXPECT_EQ(player.GetHeight(), 768u);
    render::Image* raw = nullptr;
    ASSERT_EQ(render->CreateDynamicTexture(player.GetWidth(), player.GetHeight(), &raw), HV_OK);
    std::unique_ptr<render::Image, ImageDeleter> frame(raw);
    // 25 frames a second; the intro is about 8 s long.
    constexpr float kStep = 0.04f;
    constexpr int kMostSteps = 500;
    int steps = 0;
    while (!watcher.finished && steps < kMostSteps)
    {
        ASSERT_EQ(player.Update(kStep, frame.get()), 0);
        ++steps;
    }
    EXPECT_TRUE(watcher.finished);
    EXPECT_GT(steps, 150);
}

TEST_F(ContentTest, TheEnemyShaderTintsByItsFillColour)
{
    ASSERT_EQ(Start(), HV_OK);
    auto handle = resource::ResourceManager::Instance()->Get<render::ShaderTextured>(kEnemyShader);
    ASSERT_TRUE(handle);
    ASSERT_EQ(handle->SetRender(render.get()), HV_OK);
    ASSERT_EQ(handle->Load(), HV_OK);
    render::ShaderImpl* impl = handle->GetImpl();
    render::ShaderScalarVariableImpl* device = impl->CreateScalarVariable("color2", 1);
    ASSERT_NE(device, nullptr);
    auto* colour = new render::ShaderScalarVariable<math::Point4, 1>(impl, device);
    impl->AddVariable(colour);

    render::TextureDX9* white = MakeTexture(1, 1, {0xFFFFFFFF});
    struct Row
    {
        math::Point4 fill;
        uint32_t diffuse;
        uint32_t expected;
    };
    // Texel x vertex colour x fill colour; opaque white fill leaves the sprite as it is.
    const Row rows[] = {
        {math::Point4(1, 1, 1, 1), 0xFFFFFFFF, 0xFFFFFFFF},
        {math::Point4(1, 0.5f, 0.25f, 1), 0xFFFFFFFF, 0xFFFF8040},
        {math::Point4(1, 1, 1, 1), 0xFF00FF00, 0xFF00FF00},
        {math::Point4(0.5f, 1, 1, 1), 0xFFFFFFFF, 0xFF80FFFF},
    };
    for (const Row& row : rows)
    {
        colour->Set(row.fill);
        rendertest::Quad quad{2, 2, 6, 6};
        quad.diffuse = row.diffuse;
        ASSERT_EQ(Frame([&] {
                      ClearTo(0xFF000000);
                      ASSERT_EQ(rendertest::DrawQuad(*render, state, handle.Get(), white, quad), HV_OK);
                  }),
                  HV_OK);
        EXPECT_TRUE(Near(At(BackBuffer(), 3, 3), row.expected, 2)) << std::hex << At(BackBuffer(), 3, 3);
        EXPECT_EQ(At(BackBuffer(), 8, 8), 0xFF000000u);
    }
}

class NamedDialog : public widget::Dialog
{
public:
    explicit NamedDialog(const std::string& name) { mName = name; }
};

TEST_F(ContentTest, GameXmlGivesTheOptionsDialogItsPopEffects)
{
    const std::string text = Read(kGameXml);
    ASSERT_FALSE(text.empty());
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(text.c_str(), text.size()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* game = doc.FirstChildElement("Game");
    ASSERT_NE(game, nullptr);
    widget::DialogEffectsManager* manager = widget::DialogEffectsManager::Instance();
    ASSERT_EQ(manager->Load(game->FirstChildElement("DialogEffects")), HV_OK);
    ASSERT_EQ(manager->GetData().count("pop"), 1u);
    NamedDialog options("Options");
    widget::DialogEffects* effects = nullptr;
    // Both animations load and hold exactly one record each.
    ASSERT_EQ(manager->GetEffects(&options, &effects), HV_OK);
    EXPECT_NE(effects, nullptr);
    delete effects;
}

TEST(PackedContent, EveryEntryOfThePackReadsBackAsItsLooseFile)
{
    ASSERT_TRUE(fs::is_regular_file(kPacked / "data.dat")) << "build the content_pack target";
    hvtest::CurrentDirectory here(kPacked);
    {
        file::Archiver pack(L"nq/", L"data.dat", file::FileManager::Instance());
        const auto& entries = pack.GetDirectory().entries;
        ASSERT_FALSE(entries.empty());
        size_t compared = 0;
        for (const auto& [name, entry] : entries)
        {
            SCOPED_TRACE(base::WideToUtf8(name));
            std::unique_ptr<base::Stream> stream(pack.OpenStream(name));
            ASSERT_NE(stream, nullptr);
            std::string bytes(stream->Size(), '\0');
            if (!bytes.empty())
            {
                ASSERT_EQ(stream->Read(bytes.data(), static_cast<uint32_t>(bytes.size())), bytes.size());
            }
            std::ifstream loose(kRoot / "nq" / fs::path(base::WideToUtf8(name)), std::ios::binary);
            ASSERT_TRUE(loose) << "no loose file";
            std::stringstream expected;
            expected << loose.rdbuf();
            EXPECT_TRUE(bytes == expected.str());
            ++compared;
        }
        EXPECT_EQ(compared, entries.size());
    }
    base::testing::TeardownSingletonsNow();
}
} // namespace
