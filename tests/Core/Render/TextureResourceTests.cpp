// Named texture resources on a recording renderer: every failure path
// gives back the entry, stream and picture it opened (LeakSanitizer) and
// leaves neither texture nor resource behind.
#include "PictureFixtures.h"
#include "RecordingRender.h"

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/Image.h"
#include "Core/Render/ImageData.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
using fixtures::Bytes;

// Decodes into memory; the creation or the decode can be made to fail.
class MemoryTexture : public rendertest::FakeTexture
{
public:
    MemoryTexture(render::Render* render, bool fail) : FakeTexture(render), mFail(fail) {}
    HVResultEnum CreateFromImage(render::ImageData* image) override
    {
        mWidth = image->GetWidth();
        mHeight = image->GetHeight();
        std::vector<uint32_t> pixels(size_t(mWidth) * size_t(mHeight));
        mMask.Resize(uint32_t(pixels.size()));
        const HVResultEnum result = image->Decode(uint32_t(mWidth) * 4, pixels.data(), &mMask);
        return mFail ? HV_FAIL : result;
    }
    bool GetMaskBit(int32_t x, int32_t y) const override
    {
        return x >= 0 && y >= 0 && x < mWidth && y < mHeight && mMask.GetBitCount() &&
               mMask.Get(uint32_t(x + y * mWidth));
    }

private:
    bool mFail;
    render::HitMask mMask;
};

class TextureRender : public rendertest::RecordingRender
{
public:
    HVResultEnum CreateTexture(render::Texture** out) override
    {
        if (failCreate)
            return HV_FAIL;
        *out = new MemoryTexture(this, failDecode);
        return HV_OK;
    }
    bool failCreate = false;
    bool failDecode = false;
};

size_t ResourceCount() { return resource::ResourceManager::Instance()->GetMap<resource::ResourceTexture>().size(); }

std::string Str(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(TextureResource, EveryFailedLoadReleasesWhatItOpened)
{
    hvtest::TempFolder folder;
    hvtest::CurrentDirectory cwd(folder.Folder());
    const Bytes png = fixtures::MakePng(2, 2, {0xFFFFFFFF, 0, 0, 0xFFFFFFFF});
    folder.Write("good.png", Str(png));
    folder.Write("cut.png", Str(Bytes(png.begin(), png.begin() + long(png.size() / 2))));
    folder.Write("bad.dds", "DDS nonsense");
    folder.Write("ui/layers.xml", "<Layers>"
                                  "<Layer name=\"lost\" x=\"0\" y=\"0\" width=\"2\" height=\"2\" atlas=\"none.png\""
                                  " tu1=\"0\" tv1=\"0\" tu2=\"1\" tv2=\"1\"/>"
                                  "<Layer name=\"cut\" x=\"0\" y=\"0\" width=\"2\" height=\"2\"/>"
                                  "<Layer name=\"good\" x=\"0\" y=\"0\" width=\"2\" height=\"2\"/>"
                                  "</Layers>");
    folder.Write("ui/cut.png", Str(Bytes(png.begin(), png.begin() + 20)));
    folder.Write("ui/good.png", Str(png));
    std::unique_ptr<file::ImageContainer> ui(file::FileManager::Instance()->OpenImageContainer(L"ui"));
    ASSERT_TRUE(ui);

    struct Row
    {
        const wchar_t* name;
        file::ImageContainer* container;
        bool failCreate, failDecode;
    };
    const Row rows[] = {
        {L"absent", nullptr, false, false},   {L"cut", nullptr, false, false},  {L"bad", nullptr, false, false},
        {L"good", nullptr, true, false},      {L"good", nullptr, false, true},  {L"lost", ui.get(), false, false},
        {L"cut", ui.get(), false, false},     {L"good", ui.get(), true, false}, {L"missing", ui.get(), false, false},
    };
    TextureRender render;
    for (const Row& row : rows)
    {
        const std::string what = std::string(row.container ? "layer " : "file ") + std::string(row.name, row.name + wcslen(row.name));
        render.failCreate = row.failCreate;
        render.failDecode = row.failDecode;
        render::Image* image = nullptr;
        EXPECT_EQ(render.LoadTexture(row.name, row.container, &image, nullptr), HV_FAIL) << what;
        EXPECT_EQ(image, nullptr) << what;
        EXPECT_TRUE(render.GetTextures().empty()) << what << ": the texture is deleted";
        EXPECT_EQ(ResourceCount(), 0u) << what << ": the resource leaves the manager";
    }

    render.failCreate = render.failDecode = false;
    for (file::ImageContainer* container : {static_cast<file::ImageContainer*>(nullptr), ui.get()})
    {
        render::Image* image = nullptr;
        ASSERT_EQ(render.LoadTexture(L"good", container, &image, nullptr), HV_OK);
        EXPECT_EQ(image->GetWidth(), 2);
        EXPECT_TRUE(image->HitTest(0, 0));
        EXPECT_FALSE(image->HitTest(1, 0));
        image->Release();
        delete image;
    }
    EXPECT_EQ(ResourceCount(), 0u);
    EXPECT_TRUE(render.GetTextures().empty());
}

TEST(TextureResource, ExtensionTableIsFixed)
{
    const wchar_t* const* table = resource::ResourceTexture::GetExtensions();
    ASSERT_EQ(resource::ResourceTexture::GetExtensionCount(), 6);
    const std::wstring expected[] = {L"", L".dds", L".jpg", L".gif", L".png", L".tga"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(table[i], expected[i]) << i;
}

TEST(TextureResource, ImageOverAnOwnTextureDeletesItOnRelease)
{
    TextureRender render;
    render::Image image(new MemoryTexture(&render, false));
    ASSERT_EQ(render.GetTextures().size(), 1u);
    EXPECT_FALSE(image.HitTest(0, 0)) << "no mask";
    image.Release();
    EXPECT_TRUE(render.GetTextures().empty());
    EXPECT_EQ(image.GetTexture(), nullptr);
    image.Release(); // twice is harmless
}
} // namespace
