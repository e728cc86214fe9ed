#pragma once

// A modal dialog whose pictures, controls and texts come from the named
// layers of one layered image. It takes no input until it is fully shown.
#include "Framework/Gui/GameControlHelper.h"
#include "Core/Render/Font.h"
#include "Core/Resource/ResourceHandle.h"
#include "Framework/Widget/Dialog.h"

#include <string>

namespace layer
{
class TextLayer;
}

class VessikDialog : public widget::Dialog, public gui::GameControlHelper
{
public:
    static constexpr float kTextLetterSpacing = 2.0f;
    static constexpr int kTextLayoutOption = 2;

    VessikDialog();

    HVResultEnum OnShown() override;
    HVResultEnum Hide(bool deleteOnClose) override;
    // A dialog whose Load failed closes itself on its first update once shown.
    HVResultEnum Update(float dt) override;

    // 1 when the image has no such layer; otherwise the localised key,
    // centred on the layer's rectangle.
    int AddText(const std::wstring& layerName, const std::wstring& key,
                const resource::ResourceHandle<render::Font>& font, layer::TextLayer** out);

    // A failed Load: the dialog would take every pointer event without a
    // button to close it, so it closes itself once shown (on the next update,
    // so that its opener still finds it open after the frame that opened it).
    void MarkLoadFailed(const std::wstring& what);
    bool mLoadFailed = false;
    bool mShown = false;
};
