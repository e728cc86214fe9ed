#include "Framework/Animation/AnimData.h"

#include "AnimWriter.h"
#include "Core/Base/MemoryStream.h"
#include "Core/File/FileTestSupport.h"
#include "Core/Resource/ResourceManager.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using animation::AnimData;
using animfile::AnimDesc;
using animfile::EnvelopeDesc;
using animfile::KeyDesc;
using animfile::LayerDesc;

EnvelopeDesc Ramp(float from, float to)
{
    EnvelopeDesc envelope;
    envelope.keys = {KeyDesc{from, 0}, KeyDesc{to, 1}};
    return envelope;
}

LayerDesc ColouredLayer()
{
    LayerDesc layer;
    layer.layerName = "panel";
    layer.parent = 3;
    layer.flagA = 1;
    layer.flagB = 7;
    layer.hasColour = true;
    layer.colour = {Ramp(0, 2), Ramp(1, -1), Ramp(0.5f, 0.5f), Ramp(0, 1)};
    layer.motion[0] = Ramp(10, 20);
    layer.motion[9] = Ramp(1, 0);
    return layer;
}

AnimDesc ColouredAnim()
{
    AnimDesc anim;
    anim.name = "anim/coloured.anim";
    anim.start = 0;
    anim.end = 1;
    anim.layers = {ColouredLayer()};
    return anim;
}

HVResultEnum ReadBytes(AnimData& data, const std::string& bytes)
{
    base::MemoryStream stream(bytes.data(), bytes.size());
    return data.Read(stream);
}

TEST(AnimDataRead, KeepsEveryFieldOfTheRecord)
{
    AnimData data;
    ASSERT_EQ(ReadBytes(data, animfile::WriteAnim(ColouredAnim())), HV_OK);
    EXPECT_EQ(data.mName, "anim/coloured.anim");
    EXPECT_EQ(data.mEndTime, 1.0f);
    ASSERT_EQ(data.mLayers.size(), 1u);
    const animation::AnimLayer& layer = *data.mLayers[0];
    EXPECT_EQ(layer.mOwner, &data);
    EXPECT_EQ(layer.mLayerName, "panel");
    EXPECT_EQ(layer.mHasParent, 1);
    EXPECT_EQ(layer.mParentIndex, 2);
    EXPECT_EQ(layer.mFlagA, 1);
    EXPECT_EQ(layer.mFlagB, 0); // only 1 sets a flag
    ASSERT_TRUE(layer.mColour);
    EXPECT_EQ((*layer.mColour)[animation::kRed].keys[1].value, 2.0f);
    EXPECT_EQ(layer.mMotion[animation::kPositionX].keys[1].value, 20.0f);
    EXPECT_EQ(layer.mMotion[animation::kDissolve].keys[0].value, 1.0f);
}

TEST(AnimDataRead, EveryCutOfAValidFileFails)
{
    const std::string bytes = animfile::WriteAnim(ColouredAnim());
    for (size_t cut = 0; cut < bytes.size(); ++cut)
    {
        AnimData data;
        EXPECT_EQ(ReadBytes(data, bytes.substr(0, cut)), HV_FAIL) << cut;
    }
}

TEST(AnimDataRead, HugeCountsFailBeforeAnythingIsSized)
{
    AnimDesc anim;
    anim.name = "a";
    anim.layers = {LayerDesc{}};
    const std::string good = animfile::WriteAnim(anim);
    // Layer count after the name (4 + 1 bytes) and the two times.
    std::string layers = good;
    layers.replace(13, 4, "\xFF\xFF\xFF\xFF");
    // The first key count: after the layer count, the three names
    // ("layer", "screen_res", "null") and four words.
    std::string keys = good;
    const size_t firstEnvelope = 17 + (4 + 5) + (4 + 10) + (4 + 4) + 16;
    keys.replace(firstEnvelope, 4, "\xFF\xFF\xFF\xFF");
    for (const std::string& bytes : {layers, keys})
    {
        AnimData data;
        // Sizing from the count would ask for gigabytes: bad_alloc here,
        // an allocation report under ASan.
        EXPECT_EQ(ReadBytes(data, bytes), HV_FAIL);
    }
    AnimData data;
    EXPECT_EQ(ReadBytes(data, good), HV_OK);
}

// Loading through the resource manager from a temporary data root.
class AnimDataLoad : public hvtest::DataRootTest
{
protected:
    resource::ResourceHandle<AnimData> Get(const std::wstring& name)
    {
        return resource::ResourceManager::Instance()->Get<AnimData>(name);
    }
    static size_t LibrariesHeld()
    {
        return resource::ResourceManager::Instance()->GetMap<lightwave::MeshLibrary>().size();
    }
};

TEST_F(AnimDataLoad, ScreenRecordLoadsWithoutAnyLibrary)
{
    AnimDesc anim;
    anim.name = "exported/elsewhere/pop.anim";
    anim.layers = {LayerDesc{}};
    dir.Write("anim/pop.anim", animfile::WriteAnim(anim));
    auto data = Get(L"anim/pop.anim");
    ASSERT_TRUE(data);
    ASSERT_EQ(data->Load(), HV_OK);
    EXPECT_TRUE(data->mLibraries.empty());
    EXPECT_EQ(data->mLayers[0]->mObject, nullptr);
    EXPECT_EQ(LibrariesHeld(), 0u);
}

TEST_F(AnimDataLoad, MissingFileFails)
{
    auto data = Get(L"anim/none.anim");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Load(), HV_FAIL);
    EXPECT_FALSE(data->IsLoaded());
}

TEST_F(AnimDataLoad, MissingLibraryFailsAndReleasesWhatItTook)
{
    AnimDesc anim;
    anim.name = "x";
    LayerDesc layer;
    layer.library = "props";
    layer.object = "door";
    anim.layers = {LayerDesc{}, layer};
    dir.Write("anim/door.anim", animfile::WriteAnim(anim));
    auto data = Get(L"anim/door.anim");
    EXPECT_EQ(data->Load(), HV_FAIL);
    EXPECT_TRUE(data->mLayers.empty());
    EXPECT_TRUE(data->mLibraries.empty());
    EXPECT_EQ(LibrariesHeld(), 0u);
}

TEST_F(AnimDataLoad, ObjectMissingFromAPresentLibraryFails)
{
    // A library without objects needs no pictures and loads.
    animfile::MeshLibraryDesc library;
    library.vertices = {{0, 0, 0, 0, 0}};
    dir.Write("anim/props.lib", animfile::WriteMeshLibrary(library));
    AnimDesc anim;
    anim.name = "x";
    LayerDesc layer;
    layer.library = "props";
    layer.object = "door";
    anim.layers = {layer};
    dir.Write("anim/door.anim", animfile::WriteAnim(anim));
    auto data = Get(L"anim/door.anim");
    EXPECT_EQ(data->Load(), HV_FAIL);
    EXPECT_TRUE(data->mLibraries.empty());
    EXPECT_EQ(LibrariesHeld(), 0u);
}
} // namespace
