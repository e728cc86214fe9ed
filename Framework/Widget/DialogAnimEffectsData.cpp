#include "Framework/Widget/DialogAnimEffectsData.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/GameApplication.h"
#include "Framework/Widget/DialogAnimEffects.h"

#include <tinyxml2.h>

#include <memory>

namespace widget
{
HVResultEnum DialogAnimEffectsData::Fetch(const std::wstring& name, resource::ResourceHandle<animation::AnimData>& out)
{
    out = resource::ResourceManager::Instance()->Get<animation::AnimData>(name);
    if (!out)
        return HV_FAIL;
    if (out->IsLoaded())
        return HV_OK;
    framework::GameApplication* application = framework::GameApplication::Current();
    out->SetRender(application ? application->mRender : nullptr);
    return out->Load();
}

HVResultEnum DialogAnimEffectsData::Load(const tinyxml2::XMLElement* element)
{
    const char* show = element->Attribute("show_anim_data");
    const char* hide = element->Attribute("hide_anim_data");
    if (!show || !hide)
        return HV_FAIL;
    mShowAnimName = base::Utf8ToWide(show);
    mHideAnimName = base::Utf8ToWide(hide);
    mPreload = element->Attribute("preload") ? 1 : 0;
    if (!mPreload)
        return HV_OK;
    if (const HVResultEnum result = Fetch(mShowAnimName, mShowAnim); result != HV_OK)
        return result;
    return Fetch(mHideAnimName, mHideAnim);
}

HVResultEnum DialogAnimEffectsData::CreateEffects(Dialog* dialog, DialogEffects** out)
{
    auto effects = std::make_unique<DialogAnimEffects>();
    // A failed Init deletes the new effects: they were never handed out.
    if (const HVResultEnum result = effects->Init(dialog, this); result != HV_OK)
    {
        // Not attached yet: the dialog must not be told about this deletion.
        effects->mDialog = nullptr;
        return result;
    }
    *out = effects.release();
    return HV_OK;
}
} // namespace widget
