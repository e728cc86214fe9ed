#pragma once

// glslang's HLSL front end rejects the DX9 effect declarations the engine's
// shaders carry, so they are rewritten first:
//   texture <name>;                                     -> removed
//   sampler|sampler2D <name> [: register(sN)] = sampler_state { ... };
//                                                       -> sampler2D <name> [: register(sN)];
// Line breaks inside a rewritten declaration are kept, so messages keep their
// line numbers; comments, strings and all other text stay as they are.
#include <string>

namespace d3dx9 {

std::string RewriteEffectDeclarations(const std::string& source);

} // namespace d3dx9
