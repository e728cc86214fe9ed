#pragma once

// Single pictures and frame entries taken from an opened layered image, for
// screens that build their own widgets.
#include <string>

namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
}
namespace render
{
class Image;
}

class NQFrameEntry;

// A picture by name, or a layer of the container, loaded by the running
// application; null without one (a level built by a test without a game).
render::Image* LoadGamePicture(const std::wstring& name, file::ImageContainer* container);
// A new picture owned by the caller; null when the layer is missing or no
// application runs to load it.
render::Image* LoadContainerImage(file::ImageContainer* container, const std::wstring& name);
// The layer's record, owned by the container; null when missing.
base::ImageInfo* FindContainerImage(file::ImageContainer* container, const std::wstring& name);
// Gives the layer the picture (owned) and moves it to the layer's place
// relative to the origin; a missing layer leaves the image layer as it was.
void InitImageLayerFromContainer(layer::ImageLayer* imageLayer, file::ImageContainer* container,
                                 const std::wstring& name, float originX, float originY);
// A new entry owned by the caller, never null: a missing layer gives a null
// picture, a zero rectangle and the requested name.
NQFrameEntry* CreateFrameEntryFromContainer(file::ImageContainer* container, const std::wstring& name);
// Takes the layer out of its parent without deleting it.
void DetachLayerFromParent(layer::Layer* child);
