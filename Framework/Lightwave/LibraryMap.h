#pragma once

// The mesh libraries an animation holds, by the library name in its file.
#include "Core/Resource/ResourceHandle.h"
#include "Framework/Lightwave/MeshLibrary.h"

#include <map>
#include <string>

namespace lightwave
{
using LibraryMap = std::map<std::string, resource::ResourceHandle<MeshLibrary>>;
} // namespace lightwave
