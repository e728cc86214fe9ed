#include "Framework/Lightwave/MeshLibrary.h"

#include "AnimWriter.h"
#include "Core/Base/MemoryStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using animfile::MeshLibraryDesc;
using animfile::MeshObjectDesc;
using lightwave::MeshLibrary;

// Two quads of four vertices each; the second object's stored indices name
// vertices 5-8 (1-based), so they rebase to 0-3.
MeshLibraryDesc TwoQuads()
{
    MeshLibraryDesc library;
    library.vertices = {{0, 0, 0, 0, 0},   {10, 0, 0, 1, 0},   {10, 5, 0, 1, 1},  {0, 5, 0, 0, 1},
                        {-3, -4, 1, 0, 0}, {7, -4, 1, 1, 0.25f}, {7, 9, 2, 1, 1}, {-3, 9, 2, 0, 1}};
    library.indices = {1, 2, 3, 1, 3, 4, 5, 6, 7, 5, 7, 8};
    library.objects = {MeshObjectDesc{"door", "wood.png", 0, 4, 0, 6},
                       MeshObjectDesc{"door_frame", "wood.png", 4, 4, 6, 6}};
    return library;
}

HVResultEnum ReadBytes(MeshLibrary& library, const std::string& bytes)
{
    base::MemoryStream stream(bytes.data(), bytes.size());
    return library.Read(stream);
}

TEST(MeshLibraryRead, EndTag)
{
    for (auto [tag, expected] : {std::pair{2011u, HV_OK}, {2012u, HV_OK}, {2013u, HV_FAIL}, {0u, HV_FAIL}})
    {
        MeshLibraryDesc desc = TwoQuads();
        desc.endTag = tag;
        MeshLibrary library;
        EXPECT_EQ(ReadBytes(library, animfile::WriteMeshLibrary(desc)), expected) << tag;
    }
}

TEST(MeshLibraryRead, VerticesAreCompletedAndFlipped)
{
    MeshLibrary library;
    ASSERT_EQ(ReadBytes(library, animfile::WriteMeshLibrary(TwoQuads())), HV_OK);
    const render::SVertex2D& v = library.GetVertices()[5];
    EXPECT_EQ(v.x, 7.0f);
    EXPECT_EQ(v.y, -4.0f);
    EXPECT_EQ(v.z, 1.0f);
    EXPECT_EQ(v.w, 1.0f);
    EXPECT_EQ(v.u, 1.0f);
    EXPECT_EQ(v.v, 0.75f);
    EXPECT_EQ(v.diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(v.specular, 0xFFFFFFFFu);
}

TEST(MeshLibraryRead, ObjectsCoverTheirRangesWithRebasedIndicesAndBounds)
{
    MeshLibrary library;
    ASSERT_EQ(ReadBytes(library, animfile::WriteMeshLibrary(TwoQuads())), HV_OK);
    ASSERT_EQ(library.GetObjects().size(), 2u);
    const lightwave::MeshObject& frame = library.GetObjects()[1];
    EXPECT_EQ(frame.name, "door_frame");
    EXPECT_EQ(frame.texture, L"wood.png");
    EXPECT_EQ(frame.ownsArrays, 0);
    EXPECT_EQ(frame.vertices, library.GetVertices().data() + 4);
    EXPECT_EQ(frame.indices, library.GetIndices().data() + 6);
    EXPECT_EQ(std::vector<int32_t>(frame.indices, frame.indices + frame.indexCount),
              (std::vector<int32_t>{0, 1, 2, 0, 2, 3}));
    // The bounds are those of the vertices the rebased indices name.
    EXPECT_EQ(frame.bounds.mMin.x, -3.0f);
    EXPECT_EQ(frame.bounds.mMin.y, -4.0f);
    EXPECT_EQ(frame.bounds.mMax.x, 7.0f);
    EXPECT_EQ(frame.bounds.mMax.y, 9.0f);
    EXPECT_EQ(frame.bounds.mMax.z, 2.0f);
    for (uint32_t k = 0; k < frame.indexCount; ++k)
    {
        const render::SVertex2D& v = frame.vertices[frame.indices[k]];
        EXPECT_GE(v.x, frame.bounds.mMin.x);
        EXPECT_LE(v.y, frame.bounds.mMax.y);
    }
    EXPECT_EQ(library.GetTextures().size(), 1u);
}

TEST(MeshLibraryRead, FindObjectIsExact)
{
    MeshLibrary library;
    ASSERT_EQ(ReadBytes(library, animfile::WriteMeshLibrary(TwoQuads())), HV_OK);
    EXPECT_EQ(library.FindObject("door"), &library.GetObjects()[0]);
    EXPECT_EQ(library.FindObject("door_frame"), &library.GetObjects()[1]);
    EXPECT_EQ(library.FindObject("door_"), nullptr);
    EXPECT_EQ(library.FindObject("doo"), nullptr);
    EXPECT_EQ(library.FindObject(""), nullptr);
}

struct BadRange
{
    const char* what;
    void (*damage)(MeshLibraryDesc&);
};

class MeshLibraryBadRange : public ::testing::TestWithParam<BadRange>
{
};

TEST_P(MeshLibraryBadRange, FailsBeforeAnyAccess)
{
    MeshLibraryDesc desc = TwoQuads();
    GetParam().damage(desc);
    MeshLibrary library;
    EXPECT_EQ(ReadBytes(library, animfile::WriteMeshLibrary(desc)), HV_FAIL) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MeshLibraryBadRange,
    ::testing::Values(
        BadRange{"first index + count past the table", [](MeshLibraryDesc& d) { d.objects[1].indexCount = 7; }},
        BadRange{"first index far past the table", [](MeshLibraryDesc& d) { d.objects[1].firstIndex = 0xFFFFFFF0u; }},
        BadRange{"first vertex + count past the array", [](MeshLibraryDesc& d) { d.objects[1].vertexCount = 5; }},
        BadRange{"vertex count wrapping 32 bits",
                 [](MeshLibraryDesc& d) { d.objects[1].vertexCount = 0xFFFFFFFFu; }},
        BadRange{"stored index 0", [](MeshLibraryDesc& d) { d.indices[0] = 0; }},
        BadRange{"stored index past the array", [](MeshLibraryDesc& d) { d.indices[11] = 9; }},
        BadRange{"negative stored index", [](MeshLibraryDesc& d) { d.indices[2] = -1; }},
        BadRange{"index of another object's vertex", [](MeshLibraryDesc& d) { d.indices[8] = 2; }},
        BadRange{"overlapping index ranges", [](MeshLibraryDesc& d) {
                     d.objects[1] = MeshObjectDesc{"again", "wood.png", 0, 4, 4, 2};
                 }}));

TEST(MeshLibraryRead, EveryCutOfAValidFileFails)
{
    const std::string bytes = animfile::WriteMeshLibrary(TwoQuads());
    for (size_t cut = 0; cut < bytes.size(); ++cut)
    {
        MeshLibrary library;
        EXPECT_EQ(ReadBytes(library, bytes.substr(0, cut)), HV_FAIL) << cut;
    }
}

TEST(MeshLibraryRead, HugeCountsFailBeforeAnythingIsSized)
{
    MeshLibraryDesc desc = TwoQuads();
    const std::string good = animfile::WriteMeshLibrary(desc);
    const size_t vertexCountAt = 4 + 4 * desc.indices.size();
    const size_t objectCountAt = vertexCountAt + 4 + 20 * desc.vertices.size();
    for (size_t at : {size_t(0), vertexCountAt, objectCountAt})
    {
        std::string bytes = good;
        bytes.replace(at, 4, "\xFF\xFF\xFF\xFF");
        MeshLibrary library;
        EXPECT_EQ(ReadBytes(library, bytes), HV_FAIL) << at;
    }
}
} // namespace
