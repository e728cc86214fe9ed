#pragma once

// Effects data of type "Anim": a show and a hide animation by resource name.
#include "Core/Resource/ResourceHandle.h"
#include "Framework/Animation/AnimData.h"
#include "Framework/Widget/DialogEffectsData.h"

#include <cstdint>
#include <string>

namespace widget
{
class DialogAnimEffectsData : public DialogEffectsData
{
public:
    // "show_anim_data" and "hide_anim_data" are required; "preload", with any
    // value, fetches and loads both animations now.
    HVResultEnum Load(const tinyxml2::XMLElement* element) override;
    HVResultEnum CreateEffects(Dialog* dialog, DialogEffects** out) override;

    // The animation of that name from the resource manager, given the
    // application's renderer and loaded when it is not yet.
    static HVResultEnum Fetch(const std::wstring& name, resource::ResourceHandle<animation::AnimData>& out);

    std::wstring mShowAnimName;
    std::wstring mHideAnimName;
    resource::ResourceHandle<animation::AnimData> mShowAnim;
    resource::ResourceHandle<animation::AnimData> mHideAnim;
    uint8_t mPreload = 0;
};
} // namespace widget
