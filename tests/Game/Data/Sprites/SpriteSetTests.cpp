// Sprite sets cut from layered images, and the cache that keeps them.
#include "GameTestFixture.h"

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/NQSpriteSet.h"
#include "support/LookupMissRecorder.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
using gametest::FixtureLayer;
using Names = std::vector<std::wstring>;

Names FrameNames(const NQSpriteSet& set, const std::string& group)
{
    Names names;
    for (const NQFrameEntry* frame : set.GetFrames(group))
        names.push_back(frame->mName);
    return names;
}

class SpriteSetTest : public gametest::GameTest
{
protected:
    NQResources* Cache() { return NQResources::Instance(); }
};

TEST_F(SpriteSetTest, FramesOfEveryGroupInTheImagesOrder)
{
    StartApplication();
    data->WriteLayeredImage("nq/units/archer", gametest::SpriteSetLayers());
    NQSpriteSet* set = Cache()->GetSpriteSet(L"nq/units/archer");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->mPath, L"nq/units/archer");
    EXPECT_EQ(set->mHasLayeredImage, 1);
    EXPECT_NE(set->mContainer, nullptr);
    ASSERT_EQ(set->mFrames.size(), size_t(NQSpriteSet::kGroupCount));
    for (const char* group : NQSpriteSet::kGroupNames)
        EXPECT_EQ(set->mFrames.count(group), 1u) << group;

    // Direct layers only, full names, in the image's order.
    EXPECT_EQ(FrameNames(*set, "idle"), (Names{L"idle/i0", L"idle/i1", L"idle/i2"}));
    EXPECT_EQ(FrameNames(*set, ""), (Names{L"base_a", L"base_b"}));
    EXPECT_EQ(FrameNames(*set, "s_point"), Names{L"s_point/anchor"});
    // Group folders are lower case in content: an upper-case one is not found,
    // while layer base names keep their case.
    EXPECT_EQ(FrameNames(*set, "walk"), Names{});
    EXPECT_EQ(FrameNames(*set, "special"), Names{L"special/showInvisible_01"});

    const NQFrameEntry* second = set->GetFrames("idle")[1];
    EXPECT_EQ(second->mRect[0], 12.0f);
    EXPECT_EQ(second->mRect[1], 10.0f);
    EXPECT_EQ(second->mRect[2], 20.0f);
    EXPECT_EQ(second->mRect[3], 30.0f);
    EXPECT_EQ(second->mOwnsPicture, 0);
    ASSERT_NE(second->mPicture, nullptr);
    EXPECT_EQ(second->mPicture->GetWidth(), 20);
    EXPECT_EQ(second->mPicture->GetHeight(), 30);
}

TEST_F(SpriteSetTest, AGroupPrefixListsBelowIt)
{
    data->WriteLayeredImage("nq/towers/all", gametest::SpriteSetLayers("cannon"));
    std::unique_ptr<file::ImageContainer> image(file::FileManager::Instance()->OpenImageContainer(L"nq/towers/all"));
    ASSERT_NE(image, nullptr);
    NQSpriteSet set(image.get(), L"cannon");
    EXPECT_EQ(set.mPath, L"nq/cannon");
    EXPECT_EQ(set.mPicturePath, L"nq/cannon");
    EXPECT_EQ(set.mContainer, nullptr);
    EXPECT_EQ(set.mHasLayeredImage, 0);
    EXPECT_EQ(FrameNames(set, "idle"), (Names{L"cannon/idle/i0", L"cannon/idle/i1", L"cannon/idle/i2"}));
    EXPECT_EQ(FrameNames(set, ""), (Names{L"cannon/base_a", L"cannon/base_b"}));
    // Without a running application no picture loads; rectangles and names still do.
    EXPECT_EQ(set.GetFrames("idle")[0]->mPicture, nullptr);
    EXPECT_EQ(set.GetFrames("idle")[0]->mRect[2], 20.0f);
}

TEST_F(SpriteSetTest, AMissingImageGivesEveryGroupEmpty)
{
    NQSpriteSet* set = Cache()->GetSpriteSet(L"nq/units/none");
    ASSERT_EQ(set->mFrames.size(), size_t(NQSpriteSet::kGroupCount));
    for (const auto& group : set->mFrames)
        EXPECT_TRUE(group.second.empty()) << group.first;
    EXPECT_EQ(Cache()->GetSpriteSet(L"nq/units/none"), set);
    EXPECT_EQ(Cache()->GetSpriteSets().size(), 1u);
}

TEST_F(SpriteSetTest, PreloadingTwiceDuplicatesEverySetAndLookupsFindTheFirst)
{
    std::vector<FixtureLayer> layers = gametest::SpriteSetLayers("t1_a");
    for (const FixtureLayer& layer : gametest::SpriteSetLayers("t1_b"))
        layers.push_back(layer);
    data->WriteLayeredImage("nq/units/t1units", layers);
    Cache()->PreloadSpriteSets(L"nq/units/t1units");
    ASSERT_EQ(Cache()->GetSpriteSets().size(), 2u);
    NQSpriteSet* a = Cache()->GetSpriteSets()[0];
    EXPECT_EQ(a->mPath, L"nq/t1_a");
    EXPECT_EQ(Cache()->GetSpriteSets()[1]->mPath, L"nq/t1_b");
    EXPECT_EQ(FrameNames(*a, "idle").size(), 3u);

    Cache()->PreloadSpriteSets(L"nq/units/t1units");
    ASSERT_EQ(Cache()->GetSpriteSets().size(), 4u);
    EXPECT_EQ(Cache()->GetSpriteSets()[2]->mPath, L"nq/t1_a");
    EXPECT_EQ(Cache()->FindSpriteSet(L"nq/t1_a"), a);
    EXPECT_EQ(Cache()->GetSpriteSet(L"nq/t1_a"), a);

    // Nothing happens for an image that does not open.
    Cache()->PreloadSpriteSets(L"nq/units/none");
    EXPECT_EQ(Cache()->GetSpriteSets().size(), 4u);
}

TEST_F(SpriteSetTest, GetSpriteSetForMatchesOnlyNamedPaths)
{
    StartApplication();
    data->WriteLayeredImage("nq/units/orc", gametest::SpriteSetLayers());
    data->WriteLayeredImage("nq/units/t2units", gametest::SpriteSetLayers("elf"));
    data->Write("nq/ammo/arrow.png", gametest::SolidPng(6, 2, 0xFF000000u));
    data->Write("nq/ammo/stone.png", gametest::SolidPng(4, 4, 0xFF000000u));
    Cache()->PreloadSpriteSets(L"nq/units/t2units");
    NQSpriteSet* elf = Cache()->GetSpriteSets().front();

    tinyxml2::XMLDocument doc;
    auto row = [&](const char* psd, const char* img, int id) {
        tinyxml2::XMLElement* e = doc.NewElement("unit");
        e->SetAttribute("id", id);
        if (psd)
            e->SetAttribute("psd", psd);
        if (img)
            e->SetAttribute("img", img);
        return e;
    };
    EXPECT_EQ(Cache()->GetSpriteSetFor(row(nullptr, nullptr, 1)), nullptr);
    EXPECT_EQ(Cache()->GetSpriteSetFor(row("", "", 1)), nullptr);

    // A preloaded group is found first.
    EXPECT_EQ(Cache()->GetSpriteSetFor(row("elf", nullptr, 2)), elf);

    NQSpriteSet* orc = Cache()->GetSpriteSetFor(row("units/orc", nullptr, 3));
    ASSERT_NE(orc, nullptr);
    EXPECT_EQ(orc->mId, 3);
    EXPECT_EQ(orc->mPath, L"nq/units/orc");
    EXPECT_EQ(orc->mPicturePath, L"nq/");
    EXPECT_EQ(orc->mHasLayeredImage, 1);
    EXPECT_EQ(FrameNames(*orc, "idle").size(), 3u);
    EXPECT_EQ(orc->mPicture, nullptr);

    // Two picture-only rows get a set each, though their psd paths are both "nq/".
    NQSpriteSet* arrow = Cache()->GetSpriteSetFor(row(nullptr, "ammo/arrow.png", 4));
    NQSpriteSet* stone = Cache()->GetSpriteSetFor(row(nullptr, "ammo/stone.png", 5));
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(stone, nullptr);
    EXPECT_NE(arrow, stone);
    EXPECT_NE(arrow, orc);
    EXPECT_EQ(arrow->mHasLayeredImage, 0);
    ASSERT_NE(arrow->mPicture, nullptr);
    EXPECT_EQ(arrow->mPicture->GetWidth(), 6);
    ASSERT_NE(stone->mPicture, nullptr);
    EXPECT_EQ(stone->mPicture->GetWidth(), 4);

    // A psd-only row that is not cached does not take a picture-only set either.
    NQSpriteSet* other = Cache()->GetSpriteSetFor(row("units/other", nullptr, 6));
    EXPECT_NE(other, orc);
    EXPECT_NE(other, arrow);

    // Both attributes: the first set matching either path.
    EXPECT_EQ(Cache()->GetSpriteSetFor(row("units/orc", "ammo/stone.png", 7)), orc);
    EXPECT_EQ(Cache()->GetSpriteSetFor(row("units/new", "ammo/stone.png", 8)), stone);
    EXPECT_EQ(Cache()->GetSpriteSets().size(), 5u);
}

TEST_F(SpriteSetTest, FindFrameNeverLoads)
{
    data->WriteLayeredImage("nq/ui", gametest::SpriteSetLayers());
    EXPECT_EQ(Cache()->FindFrame(L"nq/ui", L"idle", L"idle/i1"), nullptr);
    EXPECT_EQ(Cache()->FindSpriteSet(L"nq/ui"), nullptr);
    EXPECT_TRUE(Cache()->GetSpriteSets().empty());

    NQSpriteSet* set = Cache()->GetSpriteSet(L"nq/ui");
    NQFrameEntry* frame = Cache()->FindFrame(L"nq/ui", L"idle", L"idle/i1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame, set->GetFrames("idle")[1]);
    EXPECT_EQ(Cache()->FindFrame(L"nq/ui", L"special", L"special/showInvisible_01"),
              set->GetFrames("special")[0]);
    EXPECT_EQ(Cache()->FindFrame(L"nq/ui", L"idle", L"i1"), nullptr);
    EXPECT_EQ(Cache()->FindFrame(L"nq/ui", L"nogroup", L"idle/i1"), nullptr);
    EXPECT_EQ(Cache()->FindFrame(L"nq/UI", L"idle", L"idle/i1"), nullptr);

    Cache()->DeleteSpriteSets();
    EXPECT_TRUE(Cache()->GetSpriteSets().empty());
    EXPECT_EQ(Cache()->FindFrame(L"nq/ui", L"idle", L"idle/i1"), nullptr);
}
} // namespace

namespace
{
TEST_F(SpriteSetTest, AFrameNotFoundIsReportedAsALookupMiss)
{
    data->WriteLayeredImage("nq/ui", gametest::SpriteSetLayers());
    Cache()->GetSpriteSet(L"nq/ui");
    const hvtest::LookupMissRecorder recorder;
    EXPECT_NE(Cache()->FindFrame(L"nq/ui", L"idle", L"idle/i1"), nullptr);
    EXPECT_EQ(Cache()->FindFrame(L"nq/ui", L"idle", L"i1"), nullptr);
    EXPECT_EQ(Cache()->FindFrame(L"nq/none", L"idle", L"idle/i1"), nullptr);
    EXPECT_EQ(recorder.Misses(), (hvtest::LookupMisses{{base::LookupMissKind::Frame, L"nq/ui:idle:i1"},
                                                      {base::LookupMissKind::Frame, L"nq/none:idle:idle/i1"}}));
}
} // namespace
