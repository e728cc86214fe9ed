// Each lookup of content that finds nothing is reported once, by the name
// the program used, and nothing is reported for what exists.
#include "Core/Base/LookupMiss.h"
#include "Core/File/FileContainer.h"
#include "Core/File/FileInfo.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/Resource/ResourceTexture.h"
#include "FileTestSupport.h"
#include "support/PackBuilder.h"

#include <memory>
#include <utility>
#include <vector>

namespace
{
using Report = std::pair<base::LookupMissKind, std::wstring>;
std::vector<Report> sReports;

void Record(base::LookupMissKind kind, const std::wstring& name) { sReports.emplace_back(kind, name); }

const wchar_t* const kPictureExtensions[] = {L"", L".png", L".jpg"};
constexpr const char* kLayers = "<Layers><Layer name=\"back\" x=\"0\" y=\"0\" width=\"4\" height=\"4\"/>"
                                "<Layer name=\"pos\" x=\"1\" y=\"1\" width=\"2\" height=\"2\"/></Layers>";

class LookupMiss : public hvtest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        sReports.clear();
        base::SetLookupMissObserver(&Record);
        dir.Write("loose/menu/layers.xml", kLayers);
        dir.Write("loose/menu/back.png", "png");
        dir.Write("loose/a.txt", "a");
        hvtest::WritePack((dir.Folder() / "data.dat").string(),
                          {{L"menu/layers.xml", kLayers}, {L"menu/back.png", "png"}, {L"a.txt", "a"}});
    }
    void TearDown() override
    {
        base::SetLookupMissObserver(nullptr);
        DataRootTest::TearDown();
    }
    void Mount() { Files()->mountTable[L"nq/"] = L"data.dat"; }
};

TEST_F(LookupMiss, AMissingFileIsReportedOnceWhateverTheExtensionsTried)
{
    for (const bool packed : {false, true})
    {
        SCOPED_TRACE(packed ? "packed" : "loose");
        if (packed)
            Mount();
        const std::wstring root = packed ? L"nq/" : L"loose/";
        sReports.clear();
        std::unique_ptr<file::FileInfo> found(Files()->Open(root + L"a.txt"));
        EXPECT_TRUE(found);
        std::unique_ptr<file::FileInfo> probed(Files()->Open(root + L"menu/back", kPictureExtensions, 3));
        EXPECT_TRUE(probed);
        EXPECT_TRUE(sReports.empty());

        EXPECT_FALSE(Files()->Open(root + L"b.txt"));
        EXPECT_FALSE(Files()->Open(root + L"menu/front", kPictureExtensions, 3));
        EXPECT_EQ(sReports, (std::vector<Report>{{base::LookupMissKind::File, root + L"b.txt"},
                                                 {base::LookupMissKind::File, root + L"menu/front"}}));
    }
}

TEST_F(LookupMiss, ImagesLayersAndLayerPicturesAreReportedByTheProgramsNames)
{
    for (const bool packed : {false, true})
    {
        SCOPED_TRACE(packed ? "packed" : "loose");
        if (packed)
            Mount();
        const std::wstring root = packed ? L"nq/" : L"loose/";
        sReports.clear();
        EXPECT_FALSE(Files()->OpenImageContainer(root + L"nothing"));
        std::unique_ptr<file::ImageContainer> menu(Files()->OpenImageContainer(root + L"menu"));
        ASSERT_TRUE(menu);
        EXPECT_TRUE(menu->FindLayer(L"back"));
        EXPECT_FALSE(menu->FindLayer(L"front"));
        std::unique_ptr<file::ImageFileInfo> child(menu->OpenChild(L"side", kPictureExtensions, 3, nullptr));
        EXPECT_FALSE(child);

        // "pos" is a rectangle: the layer exists, its picture does not.
        resource::ResourceTexture texture;
        texture.SetContainer(menu.get(), L"pos");
        EXPECT_NE(texture.DoLoad(), HV_OK);

        EXPECT_EQ(sReports, (std::vector<Report>{{base::LookupMissKind::ImageContainer, root + L"nothing"},
                                                 {base::LookupMissKind::Layer, root + L"menu/front"},
                                                 {base::LookupMissKind::Layer, root + L"menu/side"},
                                                 {base::LookupMissKind::LayerPicture, root + L"menu/pos"}}));
    }
}

TEST_F(LookupMiss, NothingIsReportedWithoutAnObserver)
{
    base::SetLookupMissObserver(nullptr);
    EXPECT_FALSE(Files()->Open(L"loose/b.txt"));
    EXPECT_FALSE(Files()->OpenImageContainer(L"loose/nothing"));
    EXPECT_TRUE(sReports.empty());
}
} // namespace
