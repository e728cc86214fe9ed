#include "Core/Base/ImageInfo.h"
#include "Core/Base/Stream.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/File/PsdFile.h"
#include "FileTestSupport.h"
#include "Psd/PsdTypes.h"
#include "PsdWriter.h"
#include "support/PackBuilder.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace
{
struct Record
{
    int type;
    const char* name;
    int left, top, width, height;
    int opacity;
};

// A decoded document made by hand, released by the container like a loaded one.
psdr_image* Document(const std::vector<Record>& records)
{
    auto* image = static_cast<psdr_image*>(std::calloc(1, sizeof(psdr_image)));
    image->layers = static_cast<psdr_layer*>(std::calloc(records.size(), sizeof(psdr_layer)));
    image->layer_count = static_cast<int16_t>(records.size());
    for (size_t i = 0; i < records.size(); ++i)
    {
        psdr_layer& l = image->layers[i];
        const Record& r = records[i];
        l.type = r.type;
        std::strncpy(l.name, r.name, sizeof(l.name) - 1);
        l.left = r.left;
        l.top = r.top;
        l.right = r.left + r.width;
        l.bottom = r.top + r.height;
        l.width = r.width;
        l.height = r.height;
        l.opacity = static_cast<uint8_t>(r.opacity);
    }
    return image;
}

std::vector<std::wstring> Names(file::ImageContainer& image)
{
    std::vector<std::wstring> names;
    for (int i = 0; i < image.GetLayerCount(); ++i)
        names.push_back(image.GetLayer(i)->name);
    return names;
}

void WriteFile(const std::filesystem::path& path, const psdtest::Bytes& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

// Pixels as the stream hands them out: host-order ARGB values.
std::string PixelBytes(const psdtest::Layer& layer)
{
    std::string out;
    const size_t n = static_cast<size_t>(layer.right - layer.left) * static_cast<size_t>(layer.bottom - layer.top);
    for (size_t i = 0; i < n; ++i)
    {
        uint32_t v = uint32_t(layer.channels[0].plane[i]) << 24 | uint32_t(layer.channels[1].plane[i]) << 16 |
                     uint32_t(layer.channels[2].plane[i]) << 8 | layer.channels[3].plane[i];
        out.append(reinterpret_cast<const char*>(&v), 4);
    }
    return out;
}

psdtest::Layer Picture(int top, int left, int w, int h, const std::string& name, unsigned seed)
{
    psdtest::Layer l;
    l.top = top;
    l.left = left;
    l.bottom = top + h;
    l.right = left + w;
    l.name = name;
    const size_t n = static_cast<size_t>(w * h);
    l.channels.push_back({-1, psdtest::Ramp(n, seed)});
    for (int c = 0; c < 3; ++c)
        l.channels.push_back({static_cast<int16_t>(c), psdtest::Ramp(n, seed + unsigned(c) + 1)});
    return l;
}

psdtest::Layer Divider(const std::string& name, uint32_t setting)
{
    psdtest::Layer l;
    l.name = name;
    psdtest::Writer w;
    w.u32(setting);
    l.blocks.push_back({"lsct", w.data});
    return l;
}

using PsdFileTest = hvtest::DataRootTest;
} // namespace

TEST_F(PsdFileTest, RecordsBecomeLayersNamedByTheirGroups)
{
    file::PsdFile image(L"doc.psd", Files(),
                        Document({
                            {0, "bottom", 0, 0, 5, 5, 255},
                            {1, "</end>", 0, 0, 0, 0, 255},
                            {1, "</end>", 0, 0, 0, 0, 255},
                            {0, "x", 1, 2, 3, 4, 200},
                            {2, "inner", 0, 0, 0, 0, 255},
                            {2, "outer", 0, 0, 0, 0, 255},
                            {1, "</end>", 0, 0, 0, 0, 255},
                            {0, "A", 0, 0, 2, 2, 255},
                            {2, "F", 0, 0, 0, 0, 255},
                            {0, "spot|center", 10, 20, 31, 40, 255},
                            {0, "frame|box", 3, 4, 5, 6, 255},
                            {0, "dup", 7, 7, 1, 1, 255},
                            {0, "dup", 9, 9, 1, 1, 255},
                            {0, "caf\xE9 \x80", 0, 0, 1, 1, 255},
                            {1, "</unbalanced>", 0, 0, 0, 0, 255},
                        }));
    // Distinct names count; the reading order repeats "dup".
    EXPECT_EQ(image.GetLayerCount(), 6);
    EXPECT_EQ(Names(image), (std::vector<std::wstring>{L"caf\u00E9 \u20AC", L"dup", L"dup", L"frame|box",
                                                        L"spot|center", L"F/A"}));
    EXPECT_TRUE(image.FindLayer(L"outer/inner/x"));
    EXPECT_EQ(image.FindLayer(L"bottom"), nullptr) << "record 0 is not a layer";
    EXPECT_EQ(image.GetLayer(6), nullptr);
    EXPECT_EQ(image.GetLayer(-1), nullptr);

    const base::ImageInfo* center = image.FindLayer(L"spot|center");
    ASSERT_TRUE(center);
    EXPECT_EQ(center->x, 25.0f);
    EXPECT_EQ(center->y, 40.0f);
    EXPECT_EQ(center->w, 0.0f);
    EXPECT_FALSE(center->hasImage);
    const base::ImageInfo* box = image.FindLayer(L"frame|box");
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->hasImage);
    EXPECT_EQ(box->w, 5.0f);
    const base::ImageInfo* x = image.FindLayer(L"outer/inner/x");
    ASSERT_TRUE(x);
    EXPECT_EQ(x->x, 1.0f);
    EXPECT_EQ(x->h, 4.0f);
    EXPECT_EQ(x->opacity, 200);
    EXPECT_EQ(x->index, 3);
    EXPECT_TRUE(x->hasImage);
    EXPECT_TRUE(x->documentLayer);
    const base::ImageInfo* dup = image.FindLayer(L"dup");
    ASSERT_TRUE(dup);
    EXPECT_EQ(dup->x, 9.0f) << "the first in reading order (from the top) is kept";
    EXPECT_EQ(image.GetLayer(1), dup);
    EXPECT_EQ(image.GetLayer(2), dup);

    const wchar_t* const list[] = {L".png", L"", L".jpg", L""};
    int found = -1;
    std::unique_ptr<file::ImageFileInfo> child(image.OpenChild(L"F/A", list, 4, &found));
    ASSERT_TRUE(child);
    EXPECT_EQ(found, 3);
    EXPECT_EQ(child->GetName(), L"A");
    EXPECT_EQ(child->GetPath(), L"F/A");
    EXPECT_TRUE(child->IsPacked());
    EXPECT_EQ(child->GetContainer(), &image);
    EXPECT_EQ(child->w, 2.0f);
    const wchar_t* const none[] = {L".png"};
    found = -1;
    child.reset(image.OpenChild(L"F/A", none, 1, &found));
    EXPECT_EQ(found, -1);
    EXPECT_EQ(image.OpenChild(L"F", list, 4, &found), nullptr);
    EXPECT_EQ(image.OpenStream(L"nothing"), nullptr);
    EXPECT_EQ(image.OpenStreamCreator(L"F/A"), nullptr);
    std::vector<std::wstring> out;
    EXPECT_EQ(image.ListLayers(L"", true, out, false), HV_OK);
    EXPECT_EQ(image.ListGroups(L"", out, false), HV_OK);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(image.HasLayer(L"F/A"));
    EXPECT_FALSE(image.HasGroup(L"F"));
    EXPECT_FALSE(image.LayerFileExists(L"F/A"));
}

TEST_F(PsdFileTest, LooseDocumentThroughTheFileManager)
{
    psdtest::Document doc;
    doc.width = doc.height = 16;
    const psdtest::Layer a = Picture(1, 2, 3, 2, "a", 1);
    const psdtest::Layer b = Picture(4, 5, 2, 3, "b", 7);
    doc.layers = {Picture(0, 0, 1, 1, "bottom", 9), Divider("</Layer group>", 3), a, b, Divider("grp", 1),
                  Picture(0, 0, 16, 16, "top", 5)};
    WriteFile(dir.Folder() / "ui" / "dlg.psd", doc.Bytes_());

    std::unique_ptr<file::ImageContainer> image(Files()->OpenImageContainer(L"ui/dlg"));
    ASSERT_TRUE(dynamic_cast<file::PsdFile*>(image.get()));
    EXPECT_EQ(Names(*image), (std::vector<std::wstring>{L"top", L"grp/b", L"grp/a"}));
    const base::ImageInfo* la = image->FindLayer(L"grp/a");
    ASSERT_TRUE(la);
    EXPECT_EQ(la->x, 2.0f);
    EXPECT_EQ(la->y, 1.0f);
    EXPECT_EQ(la->w, 3.0f);
    EXPECT_EQ(la->h, 2.0f);
    EXPECT_EQ(hvtest::Drain(image->OpenStream(L"grp/a")), PixelBytes(a));
    EXPECT_EQ(hvtest::Drain(image->OpenStream(L"grp/b")), PixelBytes(b));
}

TEST_F(PsdFileTest, DamagedDocumentHasNoLayers)
{
    psdtest::Document doc;
    doc.width = doc.height = 4;
    doc.layers = {Picture(0, 0, 1, 1, "bottom", 1), Picture(0, 0, 2, 2, "a", 2)};
    psdtest::Bytes bytes = doc.Bytes_();
    bytes.resize(bytes.size() / 2);
    WriteFile(dir.Folder() / "cut.psd", bytes);
    std::unique_ptr<file::ImageContainer> image(Files()->OpenImageContainer(L"cut"));
    ASSERT_TRUE(dynamic_cast<file::PsdFile*>(image.get()));
    EXPECT_EQ(image->GetLayerCount(), 0);
    EXPECT_EQ(image->FindLayer(L"a"), nullptr);
}

// A packed document is never decoded: its pack-relative path would name the loose
// "doc.psd" below, whose layer must not appear.
TEST_F(PsdFileTest, DocumentInsideAPackHasNoLayers)
{
    psdtest::Document doc;
    doc.width = doc.height = 4;
    doc.layers = {Picture(0, 0, 1, 1, "bottom", 1), Picture(0, 0, 2, 2, "loose", 2)};
    const psdtest::Bytes bytes = doc.Bytes_();
    WriteFile(dir.Folder() / "doc.psd", bytes);
    WriteFile(dir.Folder() / "nq" / "doc.psd", bytes);
    Files()->mountTable[L"nq/"] = L"data.dat";
    hvtest::WritePack((dir.Folder() / "data.dat").string(),
                      {{L"doc.psd", std::string(bytes.begin(), bytes.end())}});
    std::unique_ptr<file::ImageContainer> image(Files()->OpenImageContainer(L"nq/doc"));
    ASSERT_TRUE(dynamic_cast<file::PsdFile*>(image.get()));
    EXPECT_EQ(image->GetLayerCount(), 0);
}
