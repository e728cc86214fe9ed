#include "Platform/D3DX9/HlslCompiler.h"

#include "Platform/D3DX9/SourceRewrite.h"

#include <glslang/MachineIndependent/localintermediate.h>
#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>
#include <spirv_cross/spirv_glsl.hpp>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <set>

namespace d3dx9 {

namespace {

void InitialiseGlslang()
{
    static std::once_flag once;
    std::call_once(once, [] { glslang::InitializeProcess(); });
}

// "color" -> "COLOR0", "TEXCOORD1" -> "TEXCOORD1": one spelling per semantic.
std::string CanonicalSemantic(std::string semantic)
{
    std::transform(semantic.begin(), semantic.end(), semantic.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    if (semantic.empty() || !std::isdigit(static_cast<unsigned char>(semantic.back())))
        semantic += '0';
    return semantic;
}

void Append(std::string& messages, const std::string& text)
{
    if (text.empty())
        return;
    messages += text;
    if (messages.back() != '\n')
        messages += '\n';
}

const char* kVertexMain = R"(
uniform vec2 hv_pixelOffset;
void main()
{
    hv_main();
    // Pixel centres at integer coordinates, targets stored top row first,
    // and Direct3D's 0..1 depth.
    vec4 p = hv_position;
    gl_Position = vec4(p.x + hv_pixelOffset.x * p.w, hv_pixelOffset.y * p.w - p.y,
                       2.0 * p.z - p.w, p.w);
}
)";

struct CrossResult
{
    std::string glsl;
    uint32_t constantBytes = 0;
    std::vector<uint32_t> samplerRegisters;
    std::vector<ShaderConstant> constants;
    std::string error;
};

void CollectBlock(spirv_cross::CompilerGLSL& compiler, const spirv_cross::Resource& block,
                  d3d9::ShaderStage stage, CrossResult& result)
{
    const auto& type = compiler.get_type(block.base_type_id);
    result.constantBytes = uint32_t(compiler.get_declared_struct_size(type));
    for (uint32_t i = 0; i < type.member_types.size(); ++i)
    {
        const auto& member = compiler.get_type(type.member_types[i]);
        ShaderConstant constant;
        constant.name = compiler.get_member_name(block.base_type_id, i);
        constant.byteOffset = compiler.type_struct_member_offset(type, i);
        constant.registerIndex = constant.byteOffset / 16;
        constant.bytes = uint32_t(compiler.get_declared_struct_member_size(type, i));
        constant.elements = member.array.empty() ? 1 : member.array[0];
        constant.type = member.basetype == spirv_cross::SPIRType::Boolean ? D3DXPT_BOOL
                        : member.basetype == spirv_cross::SPIRType::Int    ? D3DXPT_INT
                                                                            : D3DXPT_FLOAT;
        if (member.columns > 1)
        {
            // glslang turns an HLSL row into a SPIR-V column, and an HLSL
            // column_major matrix into a SPIR-V RowMajor one.
            constant.rows = member.columns;
            constant.columns = member.vecsize;
            const bool columnMajor =
                compiler.has_member_decoration(block.base_type_id, i, spv::DecorationRowMajor);
            constant.parameterClass = columnMajor ? D3DXPC_MATRIX_COLUMNS : D3DXPC_MATRIX_ROWS;
            constant.registerCount =
                (columnMajor ? constant.columns : constant.rows) * constant.elements;
        }
        else
        {
            constant.columns = member.vecsize;
            constant.parameterClass = member.vecsize > 1 ? D3DXPC_VECTOR : D3DXPC_SCALAR;
            constant.registerCount = constant.elements;
        }
        result.constants.push_back(constant);
    }
    compiler.set_name(block.base_type_id, stage == d3d9::ShaderStage::Vertex
                                              ? d3d9::kVertexConstantsBlock
                                              : d3d9::kPixelConstantsBlock);
    compiler.set_name(block.id, stage == d3d9::ShaderStage::Vertex ? "hv_vc" : "hv_pc");
}

CrossResult CrossCompile(std::vector<uint32_t> spirv, d3d9::ShaderStage stage,
                         const std::map<std::string, int>& explicitRegisters)
{
    CrossResult result;
    spirv_cross::CompilerGLSL compiler(std::move(spirv));
    const auto resources = compiler.get_shader_resources();
    const bool vertex = stage == d3d9::ShaderStage::Vertex;

    for (const auto& input : resources.stage_inputs)
    {
        const std::string semantic = CanonicalSemantic(
            compiler.get_decoration_string(input.id, spv::DecorationUserSemantic));
        if (vertex)
        {
            // Locations follow declaration order; the device feeds by semantic.
            const int location = d3d9::AttributeLocation(semantic);
            if (location < 0)
            {
                result.error = "unsupported vertex input semantic " + semantic;
                return result;
            }
            compiler.set_decoration(input.id, spv::DecorationLocation, uint32_t(location));
            compiler.set_name(input.id, "hv_a_" + semantic);
        }
        else
        {
            // GLSL 330 links varyings by name.
            compiler.unset_decoration(input.id, spv::DecorationLocation);
            compiler.set_name(input.id, "hv_v_" + semantic);
        }
    }
    bool wrotePosition = false;
    for (const auto& output : resources.stage_outputs)
    {
        const std::string semantic = CanonicalSemantic(
            compiler.get_decoration_string(output.id, spv::DecorationUserSemantic));
        if (vertex)
        {
            compiler.unset_decoration(output.id, spv::DecorationLocation);
            if (semantic == "POSITION0")
            {
                compiler.set_name(output.id, "hv_position");
                wrotePosition = true;
            }
            else
            {
                compiler.set_name(output.id, "hv_v_" + semantic);
            }
        }
        else
        {
            if (semantic.rfind("COLOR", 0) != 0 || semantic.size() != 6)
            {
                result.error = "unsupported pixel output semantic " + semantic;
                return result;
            }
            compiler.set_decoration(output.id, spv::DecorationLocation, uint32_t(semantic[5] - '0'));
            compiler.set_name(output.id, "hv_" + semantic);
        }
    }
    if (vertex && !wrotePosition)
    {
        result.error = "the vertex shader writes no POSITION";
        return result;
    }

    for (const auto& block : resources.uniform_buffers)
        CollectBlock(compiler, block, stage, result);

    // Registers: explicit ones kept, the others in declaration order from the
    // lowest free one (glslang would give them all binding 0).
    std::set<int> taken;
    for (const auto& sampler : resources.sampled_images)
    {
        auto it = explicitRegisters.find(sampler.name);
        if (it != explicitRegisters.end())
            taken.insert(it->second);
    }
    for (const auto& sampler : resources.sampled_images)
    {
        int reg = 0;
        auto it = explicitRegisters.find(sampler.name);
        if (it != explicitRegisters.end())
        {
            reg = it->second;
        }
        else
        {
            while (taken.count(reg))
                ++reg;
            taken.insert(reg);
        }
        if (reg >= int(d3d9::kSamplerCount))
        {
            result.error = "sampler register out of range for " + sampler.name;
            return result;
        }
        ShaderConstant constant;
        constant.name = sampler.name;
        constant.registerSet = D3DXRS_SAMPLER;
        constant.parameterClass = D3DXPC_OBJECT;
        constant.type = D3DXPT_SAMPLER2D;
        constant.registerIndex = uint32_t(reg);
        result.constants.push_back(constant);
        result.samplerRegisters.push_back(uint32_t(reg));
        compiler.unset_decoration(sampler.id, spv::DecorationBinding);
        compiler.set_name(sampler.id, d3d9::kSamplerPrefix + std::to_string(reg));
    }
    if (!resources.separate_images.empty() || !resources.separate_samplers.empty())
    {
        result.error = "separate textures and samplers are not supported";
        return result;
    }

    spirv_cross::CompilerGLSL::Options options;
    options.version = 330;
    options.es = false;
    options.enable_420pack_extension = false;
    compiler.set_common_options(options);
    result.glsl = compiler.compile();
    if (vertex)
    {
        const size_t main = result.glsl.find("void main()");
        if (main == std::string::npos)
        {
            result.error = "no entry in the generated code";
            return result;
        }
        result.glsl.replace(main, 11, "void hv_main()");
        result.glsl += kVertexMain;
    }
    return result;
}

} // namespace

CompiledShader CompileHlsl(const std::string& source, const std::string& entryPoint,
                           d3d9::ShaderStage stage)
{
    InitialiseGlslang();
    CompiledShader out;
    const std::string text = RewriteEffectDeclarations(source);
    const EShLanguage language =
        stage == d3d9::ShaderStage::Vertex ? EShLangVertex : EShLangFragment;
    const auto messages =
        EShMessages(EShMsgSpvRules | EShMsgReadHlsl | EShMsgHlslDX9Compatible);

    glslang::TShader shader(language);
    const char* strings[] = {text.c_str()};
    const int lengths[] = {int(text.size())};
    shader.setStringsWithLengths(strings, lengths, 1);
    shader.setEntryPoint(entryPoint.c_str());
    shader.setEnvInput(glslang::EShSourceHlsl, language, glslang::EShClientOpenGL, 100);
    shader.setEnvClient(glslang::EShClientOpenGL, glslang::EShTargetOpenGL_450);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    shader.setEnvTargetHlslFunctionality1();
    const bool parsed = shader.parse(GetDefaultResources(), 100, false, messages);
    Append(out.messages, shader.getInfoLog());
    if (!parsed)
        return out;

    glslang::TProgram program;
    program.addShader(&shader);
    const bool linked = program.link(messages);
    Append(out.messages, program.getInfoLog());
    if (!linked || !program.getIntermediate(language))
        return out;
    // glslang only warns about a missing entry point.
    if (program.getIntermediate(language)->getNumEntryPoints() < 1)
    {
        Append(out.messages, "error: entry point '" + entryPoint + "' not found");
        return out;
    }

    // Only glslang's reflection knows which samplers named a register.
    std::map<std::string, int> explicitRegisters;
    if (program.buildReflection())
        for (int i = 0; i < program.getNumUniformVariables(); ++i)
        {
            const auto& uniform = program.getUniform(i);
            if (uniform.getBinding() >= 0)
                explicitRegisters[uniform.name] = uniform.getBinding();
        }

    std::vector<uint32_t> spirv;
    spv::SpvBuildLogger logger;
    glslang::GlslangToSpv(*program.getIntermediate(language), spirv, &logger);
    Append(out.messages, logger.getAllMessages());

    CrossResult cross;
    try
    {
        cross = CrossCompile(std::move(spirv), stage, explicitRegisters);
    }
    catch (const std::exception& error)
    {
        cross.error = error.what();
    }
    if (!cross.error.empty())
    {
        Append(out.messages, "error: " + cross.error);
        return out;
    }
    out.ok = true;
    out.blob.stage = stage;
    out.blob.glsl = std::move(cross.glsl);
    out.blob.constantBytes = cross.constantBytes;
    out.blob.samplerRegisters = std::move(cross.samplerRegisters);
    out.constants = std::move(cross.constants);
    return out;
}

} // namespace d3dx9
