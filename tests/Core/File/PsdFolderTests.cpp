#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/File/PsdFile.h"
#include "Core/File/PsdFolder.h"
#include "FileTestSupport.h"
#include "support/LogCapture.h"
#include "support/PackBuilder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace
{
const wchar_t* const kPictures[] = {L"", L".dds", L".jpg", L".gif", L".png", L".tga"};

const char* const kLayers = R"(<?xml version="1.0" encoding="utf-8"?>
<Layers>
  <Layer name="bg" x="1" y="2" width="30" height="40" opacity="128" ind="3"/>
  <Layer name="btn/play" x="10" y="20" width="64" height="32" opacity="255" ind="4"/>
  <Layer name="atlas_part" atlas="sheet.png" tu1="0.25" tv1="0.5" tu2="0.75" tv2="1.0"/>
  <Layer name="bare"/>
  <Layer name="bg" x="99" opacity="1"/>
  <Layer name="odd &amp; named"/>
  <Layer x="5"/>
  <Layer name="after_the_nameless"/>
</Layers>
)";

class PsdFolderTest : public hvtest::DataRootTest
{
protected:
    std::unique_ptr<file::ImageContainer> OpenWith(const std::string& layersXml)
    {
        dir.Write("ui/layers.xml", layersXml);
        return std::unique_ptr<file::ImageContainer>(Files()->OpenImageContainer(L"ui"));
    }

    static std::vector<std::wstring> Names(file::ImageContainer& image)
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < image.GetLayerCount(); ++i)
            names.push_back(image.GetLayer(i)->name);
        return names;
    }
};

TEST_F(PsdFolderTest, ReadsLayersUntilTheFirstNamelessOne)
{
    std::unique_ptr<file::ImageContainer> image = OpenWith(kLayers);
    ASSERT_TRUE(image);
    EXPECT_EQ(Names(*image), (std::vector<std::wstring>{L"bg", L"btn/play", L"atlas_part", L"bare", L"bg",
                                                         L"odd & named"}));
    EXPECT_EQ(image->GetLayer(-1), nullptr);
    EXPECT_EQ(image->GetLayer(image->GetLayerCount()), nullptr);
    EXPECT_EQ(image->FindLayer(L"after_the_nameless"), nullptr);

    // A repeated name keeps its first description.
    const base::ImageInfo* bg = image->FindLayer(L"bg");
    ASSERT_TRUE(bg);
    EXPECT_EQ(image->GetLayer(4), bg);
    EXPECT_EQ(bg->x, 1.0f);
    EXPECT_EQ(bg->y, 2.0f);
    EXPECT_EQ(bg->w, 30.0f);
    EXPECT_EQ(bg->h, 40.0f);
    EXPECT_EQ(bg->opacity, 128);
    EXPECT_EQ(bg->index, 3);
    EXPECT_TRUE(bg->hasImage);
    EXPECT_FALSE(bg->documentLayer);
    EXPECT_FALSE(bg->fromAtlas);

    // Absent rectangle, opacity and index.
    const base::ImageInfo* bare = image->FindLayer(L"bare");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->x, 0.0f);
    EXPECT_EQ(bare->w, 0.0f);
    EXPECT_EQ(bare->opacity, 255);
    EXPECT_EQ(bare->index, 0);
}

// Scaled coordinates beyond the int range saturate; the layer stays and one
// line names the layout.
TEST_F(PsdFolderTest, CoordinatesBeyondTheIntRangeAreClamped)
{
    hvtest::CaptureLog();
    struct Case
    {
        const char* scale;
        const char* attributes;
        float x, y, w, h;
        bool logged;
    };
    constexpr float kMax = static_cast<float>(INT32_MAX);
    constexpr float kMin = static_cast<float>(INT32_MIN);
    const Case cases[] = {
        // The smallest value that rounds to 2^31 as a float.
        {"1", R"(x="2147483584" y="-2147483648" width="5" height="6")", kMax, kMin, 5, 6, true},
        {"1", R"(x="2147483520" y="-2147483520" width="2147483647" height="-7")", 2147483520.0f, -2147483520.0f,
         kMax, -7, true},
        // Scaling wraps an ordinary value out of range.
        {"4", R"(x="1000000000" y="-1000000000" width="8" height="9")", kMax, kMin, 32, 36, true},
        {"0.5", R"(x="2147483647" y="-2147483648" width="10" height="12")", 1073741824.0f, -1073741824.0f, 5, 6,
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.scale) + " " + c.attributes);
        hvtest::LogLines().clear();
        Files()->imageScale = std::stof(c.scale);
        std::unique_ptr<file::ImageContainer> image =
            OpenWith(std::string("<Layers><Layer name=\"big\" ") + c.attributes +
                     "/><Layer name=\"after\" x=\"3\"/></Layers>");
        ASSERT_TRUE(image);
        ASSERT_EQ(image->GetLayerCount(), 2);
        const base::ImageInfo* big = image->FindLayer(L"big");
        ASSERT_TRUE(big);
        EXPECT_EQ(big->x, c.x);
        EXPECT_EQ(big->y, c.y);
        EXPECT_EQ(big->w, c.w);
        EXPECT_EQ(big->h, c.h);
        EXPECT_EQ(hvtest::CountLogLinesWith(L"ui/layers.xml"), c.logged ? 1 : 0);
    }
}

TEST_F(PsdFolderTest, AtlasCornersBecomeTextureCoordinates)
{
    std::unique_ptr<file::ImageContainer> image = OpenWith(
        "<Layers><Layer name=\"a\" atlas=\"sheet.png\" tu1=\"0.25\" tv1=\"0.5\" tu2=\"0.75\" tv2=\"1.0\"/>"
        "<Layer name=\"whole\" atlas=\"sheet.png\"/></Layers>");
    const base::ImageInfo* a = image->FindLayer(L"a");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->fromAtlas);
    EXPECT_EQ(a->atlasName, L"ui/sheet.png");
    EXPECT_FLOAT_EQ(a->u, 0.25f);
    EXPECT_FLOAT_EQ(a->v, 0.0f);
    EXPECT_FLOAT_EQ(a->du, 0.5f);
    EXPECT_FLOAT_EQ(a->dv, 0.5f);

    // Absent corners: the whole atlas.
    const base::ImageInfo* whole = image->FindLayer(L"whole");
    ASSERT_TRUE(whole);
    EXPECT_FLOAT_EQ(whole->u, 0.0f);
    EXPECT_FLOAT_EQ(whole->v, 0.0f);
    EXPECT_FLOAT_EQ(whole->du, 1.0f);
    EXPECT_FLOAT_EQ(whole->dv, 1.0f);
}

TEST_F(PsdFolderTest, UnusableDescriptionsGiveNoLayers)
{
    for (const char* xml : {"", "<Layers><Layer name=\"a\">", "<Other><Layer name=\"a\"/></Other>",
                            "\x01\x02garbage", "<Layers/>"})
    {
        std::unique_ptr<file::ImageContainer> image = OpenWith(xml);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->GetLayerCount(), 0) << xml;
        EXPECT_EQ(image->GetLayer(0), nullptr);
    }
    std::filesystem::create_directories(dir.Folder() / "no_description");
    std::unique_ptr<file::ImageContainer> image(Files()->OpenImageContainer(L"no_description"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetLayerCount(), 0);
}

TEST_F(PsdFolderTest, OpenChildTestsThePictureUnlessFromAnAtlas)
{
    std::unique_ptr<file::ImageContainer> image = OpenWith(kLayers);
    dir.Write("ui/btn/play.png", "png bytes");

    int found = -1;
    std::unique_ptr<file::ImageFileInfo> play(image->OpenChild(L"btn/play", kPictures, 6, &found));
    ASSERT_TRUE(play);
    EXPECT_EQ(found, 4);
    EXPECT_EQ(play->GetPath(), L"btn/play.png");
    EXPECT_EQ(play->GetName(), L"play");
    EXPECT_EQ(play->GetContainer(), image.get());
    EXPECT_EQ(play->index, 4);
    EXPECT_EQ(play->x, 10.0f);
    EXPECT_EQ(hvtest::Drain(play->OpenStream()), "png bytes");

    EXPECT_EQ(image->OpenChild(L"bg", kPictures, 6, nullptr), nullptr);   // no picture with any extension
    EXPECT_EQ(image->OpenChild(L"BTN/play", kPictures, 6, nullptr), nullptr); // names are exact

    std::unique_ptr<file::ImageFileInfo> atlas(image->OpenChild(L"atlas_part", kPictures, 6, nullptr));
    ASSERT_TRUE(atlas);
    EXPECT_EQ(atlas->GetPath(), L"atlas_part");
    EXPECT_TRUE(atlas->fromAtlas);

    std::unique_ptr<file::FileInfo> noList(image->Open(L"bg"));
    ASSERT_TRUE(noList);
    EXPECT_EQ(noList->GetPath(), L"bg");

    EXPECT_TRUE(image->LayerFileExists(L"btn/play"));
    EXPECT_FALSE(image->LayerFileExists(L"bg"));
}

TEST_F(PsdFolderTest, AFolderInsideAPackReadsLikeALooseOne)
{
    Files()->mountTable[L"nq/"] = L"data.dat";
    hvtest::WritePack(dir.Folder() / "data.dat",
                      {{L"ui/layers.xml", "<Layers><Layer name=\"btn/ok\" ind=\"2\"/></Layers>"},
                       {L"ui/btn/ok.png", "packed png"}});
    std::unique_ptr<file::ImageContainer> image(Files()->OpenImageContainer(L"nq/ui"));
    ASSERT_TRUE(dynamic_cast<file::PsdFolder*>(image.get()));
    EXPECT_EQ(image->GetRootPath(), L"nq/ui/");
    std::unique_ptr<file::ImageFileInfo> ok(image->OpenChild(L"btn/ok", kPictures, 6, nullptr));
    ASSERT_TRUE(ok);
    EXPECT_TRUE(ok->IsPacked());
    EXPECT_EQ(hvtest::Drain(ok->OpenStream()), "packed png");
}

TEST_F(PsdFolderTest, GroupListingsLowerCaseTheQueryOnly)
{
    std::unique_ptr<file::ImageContainer> image = OpenWith(
        "<Layers><Layer name=\"dlg/ok\"/><Layer name=\"dlg/sub/x\"/><Layer name=\"menu\"/>"
        "<Layer name=\"Dlg/ok\"/><Layer name=\"dlg/sub/y\"/><Layer name=\"dlg/sub2/z\"/><Layer name=\"Big/Only\"/>"
        "</Layers>");
    struct Case
    {
        std::wstring group;
        bool recursive;
        bool strip;
        std::vector<std::wstring> layers;
    };
    const std::vector<Case> layerCases = {
        {L"dlg", false, true, {L"ok"}},
        {L"DLG\\", false, true, {L"ok"}},
        {L"dlg", true, true, {L"ok", L"sub/x", L"sub/y", L"sub2/z"}},
        {L"dlg/", false, false, {L"dlg/ok"}},
        {L"", false, true, {L"menu"}},
        {L"Dlg", false, true, {L"ok"}}, // lower-cased to "dlg/": the stored "Dlg/ok" is not found
    };
    for (const Case& c : layerCases)
    {
        std::vector<std::wstring> out = {L"kept"};
        EXPECT_EQ(image->ListLayers(c.group, c.recursive, out, c.strip), HV_OK);
        out.erase(out.begin());
        EXPECT_EQ(out, c.layers) << std::string(c.group.begin(), c.group.end()) << c.recursive << c.strip;
    }

    std::vector<std::wstring> groups;
    image->ListGroups(L"", groups, true);
    EXPECT_EQ(groups, (std::vector<std::wstring>{L"Big", L"Dlg", L"dlg"})); // each group once, in name order
    groups.clear();
    image->ListGroups(L"dlg", groups, true);
    EXPECT_EQ(groups, (std::vector<std::wstring>{L"sub", L"sub2"}));
    groups.clear();
    image->ListGroups(L"DLG", groups, false);
    EXPECT_EQ(groups, (std::vector<std::wstring>{L"dlg/sub", L"dlg/sub2"}));

    // A group counts when some layer lies in a group below it.
    EXPECT_TRUE(image->HasGroup(L"dlg"));
    EXPECT_TRUE(image->HasGroup(L"DLG"));
    EXPECT_FALSE(image->HasGroup(L"dlg/sub"));
    EXPECT_FALSE(image->HasGroup(L"menu"));
    EXPECT_FALSE(image->HasGroup(L"Big"));
    EXPECT_TRUE(image->HasLayer(L"MENU"));
    EXPECT_TRUE(image->HasLayer(L"DLG/SUB/X"));
    EXPECT_FALSE(image->HasLayer(L"Big/Only")); // the query is lower-cased, the stored name is not
}

TEST_F(PsdFolderTest, AnUndecodableDocumentHasNoLayers)
{
    dir.Write("doc.psd", "not a document");
    std::unique_ptr<file::ImageContainer> image(Files()->OpenImageContainer(L"doc"));
    ASSERT_TRUE(dynamic_cast<file::PsdFile*>(image.get()));
    EXPECT_EQ(image->GetLayerCount(), 0);
    EXPECT_EQ(image->GetLayer(0), nullptr);
    EXPECT_EQ(image->FindLayer(L"x"), nullptr);
    EXPECT_EQ(image->OpenChild(L"x", kPictures, 6, nullptr), nullptr);
    EXPECT_EQ(image->OpenStream(L"x"), nullptr);
    EXPECT_EQ(image->OpenStreamCreator(L"x"), nullptr);
    std::vector<std::wstring> out = {L"kept"};
    EXPECT_EQ(image->ListLayers(L"", true, out, true), HV_OK);
    EXPECT_EQ(image->ListGroups(L"", out, true), HV_OK);
    EXPECT_EQ(out.size(), 1u);
    EXPECT_FALSE(image->HasLayer(L"x"));
    EXPECT_FALSE(image->HasGroup(L""));
    EXPECT_FALSE(image->LayerFileExists(L"x"));
    EXPECT_EQ(image->GetRootPath(), L"doc.psd/");
}

TEST(ImageInfoTest, TheRectangleConstructorScales)
{
    const base::ImageInfo info(L"a/b", 10, -20, 30, 41, 200, 7, false, true, 0.5f);
    EXPECT_EQ(info.x, 5.0f);
    EXPECT_EQ(info.y, -10.0f);
    EXPECT_EQ(info.w, 15.0f);
    EXPECT_EQ(info.h, 20.5f);
    EXPECT_EQ(info.scale, 0.5f);
    EXPECT_EQ(info.opacity, 200);
    EXPECT_FALSE(info.fromAtlas);
    EXPECT_EQ(info.du, 1.0f);
    const base::ImageInfo defaults;
    EXPECT_EQ(defaults.opacity, 255);
    EXPECT_TRUE(defaults.hasImage);
    EXPECT_EQ(defaults.scale, 1.0f);
}
}
