#include "support/HlslSamples.h"
#include "Platform/D3D9/ShaderBlob.h"
#include "Platform/D3D9/TestSupport.h"
#include "Platform/D3DX9/D3DX9.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using testing::HasSubstr;

struct Compiled
{
    HRESULT hr = E_FAIL;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    ID3DXConstantTable* table = nullptr;

    std::string Messages() const
    {
        return messages ? static_cast<const char*>(messages->GetBufferPointer()) : "";
    }
    ~Compiled()
    {
        if (code)
            code->Release();
        if (messages)
            messages->Release();
        if (table)
            table->Release();
    }
};

void Compile(Compiled& out, const std::string& source, const char* entry, const char* profile)
{
    out.hr = D3DXCompileShader(source.c_str(), UINT(source.size()), nullptr, nullptr, entry,
                               profile, D3DXSHADER_DEBUG, &out.code, &out.messages, &out.table);
}

class CompileShader : public testing::Test
{
protected:
    void TearDown() override { EXPECT_EQ(d3d9test::LiveObjectCount(), 0); }
};

struct SourceCase
{
    const char* name;
    const char* source;
    bool vertex;
};

class CompilesCleanly : public CompileShader, public testing::WithParamInterface<SourceCase>
{
};

TEST_P(CompilesCleanly, GivesCodeTableAndNoMessages)
{
    const SourceCase& c = GetParam();
    {
        Compiled out;
        Compile(out, c.source, c.vertex ? "vertex_shader" : "pixel_shader",
                c.vertex ? "vs_1_1" : "ps_2_0");
        ASSERT_EQ(out.hr, D3D_OK) << out.Messages();
        ASSERT_NE(out.code, nullptr);
        ASSERT_NE(out.table, nullptr);
        EXPECT_EQ(out.messages, nullptr) << out.Messages();
        d3d9::ShaderBlob blob;
        ASSERT_TRUE(d3d9::DecodeShaderBlob(static_cast<const DWORD*>(out.code->GetBufferPointer()),
                                           blob));
        EXPECT_EQ(blob.stage, c.vertex ? d3d9::ShaderStage::Vertex : d3d9::ShaderStage::Pixel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EngineStyle, CompilesCleanly,
    testing::Values(SourceCase{"GeomVs", hlsl::kGeomVs, true},
                    SourceCase{"GeomPs", hlsl::kGeomPs, false},
                    SourceCase{"TexturedVs", hlsl::kTexturedVs, true},
                    SourceCase{"TexturedMultPs", hlsl::kTexturedMultPs, false},
                    SourceCase{"TintVs", hlsl::kTintVs, true},
                    SourceCase{"TintPs", hlsl::kTintPs, false},
                    SourceCase{"EnemyPs", hlsl::kEnemyPs, false}),
    [](const testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });

struct FailureCase
{
    const char* name;
    std::string source;
    const char* entry;
    const char* profile;
    const char* messagePart;
};

class CompileFails : public CompileShader, public testing::WithParamInterface<FailureCase>
{
};

TEST_P(CompileFails, GivesMessagesButNoCodeOrTable)
{
    const FailureCase& c = GetParam();
    Compiled out;
    Compile(out, c.source, c.entry, c.profile);
    EXPECT_EQ(out.hr, E_FAIL);
    EXPECT_EQ(out.code, nullptr);
    EXPECT_EQ(out.table, nullptr);
    ASSERT_NE(out.messages, nullptr);
    const auto* text = static_cast<const char*>(out.messages->GetBufferPointer());
    EXPECT_EQ(text[out.messages->GetBufferSize() - 1], '\0');
    EXPECT_THAT(out.Messages(), HasSubstr(c.messagePart));
}

// Line 7 follows a three-line sampler block: the rewrite must keep its lines.
const std::string kErrorOnLine7 = "texture g_MeshTexture;\n"
                                  "sampler TextureSampler = sampler_state\n"
                                  "{\n"
                                  "    Texture = <g_MeshTexture>;\n"
                                  "};\n"
                                  "float4 pixel_shader(float2 tex : TEXCOORD0) : COLOR0\n"
                                  "{ return tex2D(TextureSampler, tex) +* 2; }\n";

INSTANTIATE_TEST_SUITE_P(
    Table, CompileFails,
    testing::Values(FailureCase{"SyntaxErrorNamesItsLine", kErrorOnLine7, "pixel_shader",
                                "ps_2_0", ":7:"},
                    FailureCase{"UnknownEntryPoint", hlsl::kGeomPs, "main", "ps_2_0", "main"},
                    FailureCase{"UnknownProfile", hlsl::kGeomPs, "pixel_shader", "gs_4_0",
                                "gs_4_0"},
                    FailureCase{"EmptyText", "", "pixel_shader", "ps_2_0", "empty"},
                    FailureCase{"VertexShaderWithoutPosition", hlsl::kGeomPs, "pixel_shader",
                                "vs_1_1", "POSITION"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(CompileShader, WarningStillCompilesAndReturnsMessages)
{
    Compiled out;
    Compile(out, std::string("#extension GL_FOO : warn\n") + hlsl::kGeomPs, "pixel_shader",
            "ps_2_0");
    ASSERT_EQ(out.hr, D3D_OK) << out.Messages();
    EXPECT_NE(out.code, nullptr);
    EXPECT_THAT(out.Messages(), HasSubstr("GL_FOO"));
}

TEST_F(CompileShader, ConstantTableFindsNamesAndDescribesThem)
{
    Compiled vs, ps;
    Compile(vs, hlsl::kTexturedVs, "vertex_shader", "vs_1_1");
    Compile(ps, hlsl::kEnemyPs, "pixel_shader", "ps_2_0");
    ASSERT_EQ(vs.hr, D3D_OK);
    ASSERT_EQ(ps.hr, D3D_OK);

    D3DXHANDLE proj = vs.table->GetConstantByName(nullptr, "Proj");
    ASSERT_NE(proj, nullptr);
    EXPECT_EQ(vs.table->GetConstantByName(nullptr, "Nope"), nullptr);
    EXPECT_EQ(vs.table->GetConstantByName(nullptr, "TextureSampler"), nullptr);
    D3DXCONSTANT_DESC desc{};
    UINT count = 0;
    ASSERT_EQ(vs.table->GetConstantDesc(proj, &desc, &count), D3D_OK);
    EXPECT_STREQ(desc.Name, "Proj");
    EXPECT_EQ(desc.RegisterSet, D3DXRS_FLOAT4);
    EXPECT_EQ(desc.RegisterIndex, 0u);
    EXPECT_EQ(desc.RegisterCount, 4u);
    EXPECT_EQ(desc.Class, D3DXPC_MATRIX_COLUMNS);
    EXPECT_EQ(count, 1u);

    D3DXHANDLE sampler = ps.table->GetConstantByName(nullptr, "TextureSampler");
    ASSERT_NE(sampler, nullptr);
    ASSERT_EQ(ps.table->GetConstantDesc(sampler, &desc, &count), D3D_OK);
    EXPECT_EQ(desc.RegisterSet, D3DXRS_SAMPLER);
    EXPECT_EQ(desc.RegisterIndex, 0u);
    D3DXHANDLE color2 = ps.table->GetConstantByName(nullptr, "color2");
    ASSERT_NE(color2, nullptr);
    ASSERT_EQ(ps.table->GetConstantDesc(color2, &desc, &count), D3D_OK);
    EXPECT_EQ(desc.Class, D3DXPC_VECTOR);
    EXPECT_EQ(desc.Columns, 4u);

    // A handle of another table is unknown here.
    EXPECT_EQ(vs.table->GetConstantDesc(nullptr, &desc, &count), D3DERR_INVALIDCALL);
    EXPECT_EQ(vs.table->GetConstantDesc(color2, &desc, &count), D3DERR_INVALIDCALL);
    const D3DXMATRIX identity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    const D3DXVECTOR4 vector{1, 2, 3, 4};
    EXPECT_EQ(vs.table->SetMatrix(nullptr, proj, &identity), D3DERR_INVALIDCALL);
    EXPECT_EQ(ps.table->SetVector(nullptr, color2, &vector), D3DERR_INVALIDCALL);
    EXPECT_EQ(ps.table->SetFloat(nullptr, color2, 1.0f), D3DERR_INVALIDCALL);
}

struct SamplerCase
{
    const char* name;
    const char* declarations;
    UINT firstRegister;
    UINT secondRegister;
};

class SamplerRegisters : public CompileShader, public testing::WithParamInterface<SamplerCase>
{
};

TEST_P(SamplerRegisters, AreAssignedOrKept)
{
    const SamplerCase& c = GetParam();
    const std::string source =
        std::string(c.declarations) +
        "float4 pixel_shader(float2 tex : TEXCOORD0) : COLOR0\n"
        "{ return tex2D(First, tex) + tex2D(Second, tex); }\n";
    Compiled out;
    Compile(out, source, "pixel_shader", "ps_2_0");
    ASSERT_EQ(out.hr, D3D_OK) << out.Messages();
    D3DXCONSTANT_DESC desc{};
    ASSERT_EQ(out.table->GetConstantDesc(out.table->GetConstantByName(nullptr, "First"), &desc,
                                         nullptr),
              D3D_OK);
    EXPECT_EQ(desc.RegisterIndex, c.firstRegister);
    ASSERT_EQ(out.table->GetConstantDesc(out.table->GetConstantByName(nullptr, "Second"), &desc,
                                         nullptr),
              D3D_OK);
    EXPECT_EQ(desc.RegisterIndex, c.secondRegister);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SamplerRegisters,
    testing::Values(SamplerCase{"InDeclarationOrder", "sampler2D First;\nsampler2D Second;\n", 0, 1},
                    SamplerCase{"ExplicitKept",
                                "sampler2D First : register(s1);\nsampler2D Second;\n", 1, 0},
                    SamplerCase{"ExplicitZeroKept",
                                "sampler2D Second;\nsampler2D First : register(s0);\n", 0, 1},
                    SamplerCase{"SamplerStateWithRegister",
                                "texture T;\nsampler First : register(s2) = sampler_state\n"
                                "{ Texture = <T>; };\nsampler2D Second;\n",
                                2, 0}),
    [](const testing::TestParamInfo<SamplerCase>& info) { return std::string(info.param.name); });

} // namespace
