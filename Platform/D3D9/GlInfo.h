#pragma once

// What the GL implementation offers, read once from a live context.
#include <string>

namespace d3d9 {

struct GlInfo
{
    int maxTextureSize = 0;
    bool s3tc = false;
    bool anisotropic = false;
    float maxAnisotropy = 1.0f;
    bool clipControl = false;
    std::string version;
    std::string renderer;
};

// Reads the current context.
GlInfo QueryGlInfo();
// Sets the core 3.3 attributes a context of ours needs.
void SetContextAttributes();

} // namespace d3d9
