#pragma once

// Turns named layers of a layered image into image layers of a widget's
// layer tree, at the places the artist drew them, and owns them.
#include "Core/Base/Result.h"
#include "Core/Render/Font.h"
#include "Core/Resource/ResourceHandle.h"

#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace layer
{
class HitTestListener;
class ImageLayer;
class Layer;
class TextLayer;
} // namespace layer
namespace widget
{
class TrapHitTestListener;
class Widget;
} // namespace widget

namespace gui
{
class GameControlHelper
{
public:
    // Modes of AddLayer.
    enum Mode
    {
        kModeNone = 0,
        kModeNoHit = 1,
        kModeTrap = 2,
    };
    // Both alignments of a created text layer, and its layout option.
    static constexpr int kTextAlignCentre = 2;

    GameControlHelper() = default;
    GameControlHelper(const GameControlHelper&) = delete;
    GameControlHelper& operator=(const GameControlHelper&) = delete;
    // Created layers leave their parents and are deleted; so are the trap
    // listener and an owned container.
    virtual ~GameControlHelper();

    // 1 when the layered image cannot be opened.
    HVResultEnum Init(const std::wstring& folder, widget::Widget* owner, layer::HitTestListener* listener,
                      layer::Layer* parent, bool ownsContainer);
    HVResultEnum InitWithContainer(file::ImageContainer* container, widget::Widget* owner,
                                   layer::HitTestListener* listener, layer::Layer* parent, bool ownsContainer);

    // A new image layer of the named layer, at its place in the image, with
    // the stored hit listener; rect gets x, y, w, h. Not recorded.
    HVResultEnum LoadImageLayer(const std::wstring& name, float rect[4], layer::ImageLayer** out);
    // Placed relative to the default parent and added as the top child.
    HVResultEnum CreateImageLayer(const std::wstring& name, int mode, layer::Layer* parent,
                                  layer::ImageLayer** out);
    // The same, as the bottom child.
    HVResultEnum CreateImageLayerBack(const std::wstring& name, int mode, layer::Layer* parent,
                                      layer::ImageLayer** out);
    // Any layer; recorded and deleted with the others.
    HVResultEnum AddLayer(layer::Layer* layer, int mode, layer::Layer* parent);
    HVResultEnum AddLayerBack(layer::Layer* layer, int mode, layer::Layer* parent);
    // A centred text layer (layout option 2), added with the mode and snapped to pixels.
    HVResultEnum CreateTextLayer(const resource::ResourceHandle<render::Font>& font, const std::wstring& text,
                                 int mode, layer::Layer* parent, layer::TextLayer** out);
    // Created on first use, for the owner widget.
    widget::TrapHitTestListener* GetTrapListener();

    std::vector<layer::Layer*> mCreatedLayers;
    file::ImageContainer* mContainer = nullptr;
    bool mOwnsContainer = false;
    widget::Widget* mOwner = nullptr;
    layer::Layer* mDefaultParent = nullptr;
    layer::HitTestListener* mHitListener = nullptr; // not owned
    widget::TrapHitTestListener* mTrapListener = nullptr;

private:
    HVResultEnum CreatePlaced(const std::wstring& name, layer::ImageLayer** out);
    HVResultEnum CreateAndAdd(const std::wstring& name, int mode, layer::Layer* parent, layer::ImageLayer** out,
                              bool back);
    void ApplyMode(layer::Layer* layer, int mode);
};
} // namespace gui
