#include "Platform/D3D9/GlShader.h"

#include "Platform/D3D9/GlDevice.h"

#include <cstdio>
#include <string>

namespace d3d9 {

GlShaderObject::GlShaderObject(GlDevice* device, ShaderBlob blob)
    : DeviceChild(device, false), blob_(std::move(blob))
{
}

GlShaderObject::~GlShaderObject()
{
    Device()->MakeCurrent();
    Device()->ForgetShader(this);
    if (shader_)
        glDeleteShader(shader_);
}

bool GlShaderObject::Compile()
{
    Device()->MakeCurrent();
    shader_ = glCreateShader(blob_.stage == ShaderStage::Vertex ? GL_VERTEX_SHADER
                                                                : GL_FRAGMENT_SHADER);
    const char* text = blob_.glsl.c_str();
    glShaderSource(shader_, 1, &text, nullptr);
    glCompileShader(shader_);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader_, GL_COMPILE_STATUS, &ok);
    if (ok)
        return true;
    GLint length = 0;
    glGetShaderiv(shader_, GL_INFO_LOG_LENGTH, &length);
    std::string log(size_t(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader_, length, nullptr, log.data());
    std::fprintf(stderr, "GL shader compile failed: %s\n", log.c_str());
    return false;
}

} // namespace d3d9
