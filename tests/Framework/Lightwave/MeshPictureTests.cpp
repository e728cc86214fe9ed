// Mesh libraries and animations loaded with their pictures, through the
// recording renderer.
#include "AnimWriter.h"
#include "Core/File/FileTestSupport.h"
#include "Core/Render/PictureFixtures.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "Framework/Animation/AnimData.h"
#include "Framework/Lightwave/MeshLibrary.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using animfile::MeshLibraryDesc;
using animfile::MeshObjectDesc;
using lightwave::MeshLibrary;

MeshLibraryDesc Library(const std::string& first, const std::string& second)
{
    MeshLibraryDesc library;
    library.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {1, 1, 0, 1, 1}, {0, 1, 0, 0, 1}};
    library.indices = {1, 2, 3, 1, 3, 4};
    library.objects = {MeshObjectDesc{"door", first, 0, 4, 0, 3}, MeshObjectDesc{"frame", second, 0, 4, 3, 3}};
    return library;
}

class MeshPictures : public hvtest::DataRootTest
{
protected:
    void SetUp() override
    {
        hvtest::DataRootTest::SetUp();
        ASSERT_EQ(render.Init(), HV_OK);
        picture = fixtures::MakePng(2, 2, {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu});
    }
    void TearDown() override
    {
        hvtest::DataRootTest::TearDown();
    }

    void WritePicture(const std::string& path) { dir.Write(path, std::string(picture.begin(), picture.end())); }

    static resource::ResourceManager* Resources() { return resource::ResourceManager::Instance(); }
    static size_t Textures() { return Resources()->GetMap<resource::ResourceTexture>().size(); }

    rendertest::RecordingRender render;
    fixtures::Bytes picture;
};

TEST_F(MeshPictures, SharedTextureLoadsOncePerName)
{
    WritePicture("meshes/images/sub/wood.png");
    dir.Write("meshes/props.lib", animfile::WriteMeshLibrary(Library("sub\\wood.png", "sub\\wood.png")));
    auto library = Resources()->Get<MeshLibrary>(L"meshes/props.lib");
    library->SetRender(&render);
    ASSERT_EQ(library->Load(), HV_OK);
    ASSERT_EQ(library->GetTextures().size(), 1u);
    const auto& objects = library->GetObjects();
    EXPECT_NE(objects[0].picture, nullptr);
    EXPECT_EQ(objects[0].picture, objects[1].picture);
    EXPECT_EQ(Textures(), 1u);
    library.Reset();
    // The last handle unloads the library and with it the picture.
    EXPECT_EQ(Textures(), 0u);
}

TEST_F(MeshPictures, MissingPictureFailsAndLeavesNothing)
{
    WritePicture("meshes/images/wood.png");
    dir.Write("meshes/props.lib", animfile::WriteMeshLibrary(Library("wood.png", "stone.png")));
    auto library = Resources()->Get<MeshLibrary>(L"meshes/props.lib");
    library->SetRender(&render);
    EXPECT_NE(library->Load(), HV_OK);
    EXPECT_FALSE(library->IsLoaded());
    EXPECT_TRUE(library->GetObjects().empty());
    EXPECT_TRUE(library->GetTextures().empty());
    EXPECT_EQ(Textures(), 0u);
}

TEST_F(MeshPictures, AnimationBindsItsRecordsToTheirObjects)
{
    WritePicture("anim/images/wood.png");
    dir.Write("anim/props.lib", animfile::WriteMeshLibrary(Library("wood.png", "wood.png")));
    animfile::AnimDesc anim;
    anim.name = "C:/export/door.anim";
    animfile::LayerDesc door;
    door.library = "props";
    door.object = "frame";
    animfile::LayerDesc screen;
    animfile::LayerDesc none = door;
    none.object = "null";
    anim.layers = {door, screen, none, door};
    dir.Write("anim/door.anim", animfile::WriteAnim(anim));

    auto data = Resources()->Get<animation::AnimData>(L"anim/door.anim");
    data->SetRender(&render);
    ASSERT_EQ(data->Load(), HV_OK);
    ASSERT_EQ(data->mLibraries.size(), 1u);
    const lightwave::MeshObject* frame = data->mLibraries.at("props")->FindObject("frame");
    EXPECT_EQ(data->mLayers[0]->mObject, frame);
    EXPECT_EQ(data->mLayers[1]->mObject, nullptr);
    EXPECT_EQ(data->mLayers[2]->mObject, nullptr);
    EXPECT_EQ(data->mLayers[3]->mObject, frame);
    EXPECT_NE(frame->picture, nullptr);

    data.Reset();
    EXPECT_TRUE(Resources()->GetMap<MeshLibrary>().empty());
    EXPECT_EQ(Textures(), 0u);
}
} // namespace
