// Pictures and frame entries taken from an opened layered image.
#include "GameTestFixture.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Framework/Layer/ImageLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQFrameEntry.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class ContainerImagesTest : public gametest::GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        data->WriteLayeredImage("nq/ui/panel", {{"bg", 0, 0, 64, 32, 0xFF102030u, 4},
                                                {"buttons/Play", 50, 60, 20, 10, 0xFFFFFFFFu, 9}});
        image.reset(file::FileManager::Instance()->OpenImageContainer(L"nq/ui/panel"));
        ASSERT_NE(image, nullptr);
    }
    void TearDown() override
    {
        image.reset();
        GameTest::TearDown();
    }

    std::unique_ptr<file::ImageContainer> image;
};

TEST_F(ContainerImagesTest, PicturesAndRecordsOfNamedLayers)
{
    StartApplication();
    const base::ImageInfo* info = FindContainerImage(image.get(), L"buttons/Play");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->x, 50.0f);
    std::unique_ptr<render::Image> picture(LoadContainerImage(image.get(), L"buttons/Play"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 20);
    picture->Release();

    std::unique_ptr<NQFrameEntry> entry(CreateFrameEntryFromContainer(image.get(), L"buttons/Play"));
    EXPECT_EQ(entry->mName, L"buttons/Play");
    EXPECT_EQ(entry->mRect[0], 50.0f);
    EXPECT_EQ(entry->mRect[1], 60.0f);
    EXPECT_EQ(entry->mRect[2], 20.0f);
    EXPECT_EQ(entry->mRect[3], 10.0f);
    EXPECT_EQ(entry->mLayerIndex, 9);
    EXPECT_EQ(entry->mShown, 1);
    EXPECT_EQ(entry->mOwnsPicture, 1);
    ASSERT_NE(entry->mPicture, nullptr);
    EXPECT_EQ(entry->mPicture->GetHeight(), 10);
}

TEST_F(ContainerImagesTest, WithoutAnApplicationNamesAndRectanglesAreStillRead)
{
    EXPECT_EQ(LoadContainerImage(image.get(), L"bg"), nullptr);
    std::unique_ptr<NQFrameEntry> entry(CreateFrameEntryFromContainer(image.get(), L"bg"));
    EXPECT_EQ(entry->mPicture, nullptr);
    EXPECT_EQ(entry->mRect[2], 64.0f);
    EXPECT_EQ(entry->mName, L"bg");
}

TEST_F(ContainerImagesTest, AMissingLayer)
{
    StartApplication();
    EXPECT_EQ(FindContainerImage(image.get(), L"nothing"), nullptr);
    EXPECT_EQ(FindContainerImage(nullptr, L"bg"), nullptr);
    EXPECT_EQ(LoadContainerImage(image.get(), L"nothing"), nullptr);
    // Names are exact.
    EXPECT_EQ(LoadContainerImage(image.get(), L"buttons/play"), nullptr);

    std::unique_ptr<NQFrameEntry> entry(CreateFrameEntryFromContainer(image.get(), L"nothing"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->mPicture, nullptr);
    EXPECT_EQ(entry->mName, L"nothing");
    for (float v : entry->mRect)
        EXPECT_EQ(v, 0.0f);

    layer::ImageLayer layer;
    layer.SetPosition(7, 8, 0);
    InitImageLayerFromContainer(&layer, image.get(), L"nothing", 0, 0);
    EXPECT_EQ(layer.GetImage(), nullptr);
    EXPECT_EQ(layer.mPosition.x, 7.0f);
    EXPECT_EQ(layer.mPosition.y, 8.0f);
    InitImageLayerFromContainer(nullptr, image.get(), L"bg", 0, 0);
}

TEST_F(ContainerImagesTest, AnImageLayerMovesOnlyBeyondTwoTenThousandths)
{
    StartApplication();
    struct Case
    {
        float startX;
        float expectedX;
        bool marked;
    };
    // "buttons/Play" at (50, 60) relative to the origin (10, 20) is (40, 40).
    const Case cases[] = {{40.0001f, 40.0001f, false}, {40.0f, 40.0f, false}, {40.001f, 40.0f, true},
                          {0.0f, 40.0f, true}};
    for (const Case& c : cases)
    {
        layer::ImageLayer layer;
        layer.SetPosition(c.startX, 40, 0);
        layer.mTransformDirty = false;
        InitImageLayerFromContainer(&layer, image.get(), L"buttons/Play", 10, 20);
        EXPECT_EQ(layer.mPosition.x, c.expectedX) << c.startX;
        EXPECT_EQ(layer.mPosition.y, 40.0f) << c.startX;
        EXPECT_EQ(layer.mTransformDirty, c.marked) << c.startX;
        ASSERT_NE(layer.GetImage(), nullptr);
        EXPECT_TRUE(layer.OwnsImage());
        EXPECT_EQ(layer.GetImage()->GetWidth(), 20);
    }
}

TEST_F(ContainerImagesTest, DetachingALayerLeavesItAlive)
{
    DetachLayerFromParent(nullptr);
    layer::Layer parent;
    auto child = std::make_unique<layer::Layer>();
    layer::Layer sibling;
    DetachLayerFromParent(child.get());
    EXPECT_EQ(child->GetParent(), nullptr);

    parent.AddChild(child.get());
    parent.AddChild(&sibling);
    DetachLayerFromParent(child.get());
    EXPECT_EQ(child->GetParent(), nullptr);
    ASSERT_EQ(parent.GetChildren().size(), 1u);
    EXPECT_EQ(parent.GetChildren()[0], &sibling);
    DetachLayerFromParent(child.get());
    EXPECT_EQ(parent.GetChildren().size(), 1u);
}
} // namespace
