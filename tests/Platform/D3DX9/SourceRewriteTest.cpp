#include "Platform/D3DX9/SourceRewrite.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct RewriteCase
{
    const char* name;
    const char* source;
    const char* expected;
};

class SourceRewrite : public testing::TestWithParam<RewriteCase>
{
};

TEST_P(SourceRewrite, GivesTheExpectedText)
{
    const RewriteCase& c = GetParam();
    const std::string out = d3dx9::RewriteEffectDeclarations(c.source);
    EXPECT_EQ(out, c.expected);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'),
              std::count(c.source, c.source + std::char_traits<char>::length(c.source), '\n'));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SourceRewrite,
    testing::Values(
        RewriteCase{"TextureDropped", "texture g_MeshTexture;\nfloat4 a;\n", "\nfloat4 a;\n"},
        RewriteCase{"TextureWithSpacesDropped", "  texture   g_T  ;x", "  x"},
        RewriteCase{"MultiLineSamplerState",
                    "sampler TextureSampler = sampler_state\n{\n    Texture = <g_MeshTexture>;\n"
                    "    MinFilter = LINEAR;\n};\nfloat4 b;\n",
                    "sampler2D TextureSampler;\n\n\n\n\nfloat4 b;\n"},
        RewriteCase{"RegisterKept",
                    "sampler2D S : register(s1) = sampler_state { MipFilter = LINEAR; };",
                    "sampler2D S : register(s1);"},
        RewriteCase{"LineCommentUntouched", "// texture g_T;\nsampler S = sampler_state {};\n",
                    "// texture g_T;\nsampler2D S;\n"},
        RewriteCase{"BlockCommentUntouched",
                    "/* sampler S = sampler_state {}; */ texture T;",
                    "/* sampler S = sampler_state {}; */ "},
        RewriteCase{"PlainSamplerLeftAlone", "sampler2D S;\nfloat4 texture_x;\n",
                    "sampler2D S;\nfloat4 texture_x;\n"},
        RewriteCase{"IdentifierContainingTextureLeftAlone", "mytexture T;", "mytexture T;"},
        RewriteCase{"UnterminatedBlockLeftAlone", "sampler S = sampler_state { x",
                    "sampler S = sampler_state { x"}),
    [](const testing::TestParamInfo<RewriteCase>& info) { return std::string(info.param.name); });

} // namespace
