#include "Framework/Widget/DialogEffectsManager.h"

#include "Core/Resource/ResourceManager.h"
#include "Framework/Widget/Dialog.h"
#include "Framework/Widget/DialogAnimEffectsData.h"
#include "Framework/Widget/DialogEffectsDataCreator.h"

#include <tinyxml2.h>

#include <memory>

namespace widget
{
DialogEffectsManager::DialogEffectsManager()
{
    mCreators["Anim"] = new DialogEffectsDataCreator<DialogAnimEffectsData>;
}

DialogEffectsManager::~DialogEffectsManager()
{
    Clear();
    for (auto& [type, creator] : mCreators)
        delete creator;
}

std::vector<base::SingletoneBase*> DialogEffectsManager::GetDependencies()
{
    return {resource::ResourceManager::Instance()};
}

void DialogEffectsManager::Clear()
{
    for (auto& [name, data] : mData)
        delete data;
    mData.clear();
    mDialogs.clear();
}

void DialogEffectsManager::ClearIfCreated()
{
    if (sInstance)
        sInstance->Clear();
}

HVResultEnum DialogEffectsManager::Load(const tinyxml2::XMLElement* element)
{
    if (const tinyxml2::XMLElement* data = element->FirstChildElement("Data"))
        if (const HVResultEnum result = LoadData(data); result != HV_OK)
            return result;
    if (const tinyxml2::XMLElement* dialogs = element->FirstChildElement("Dialogs"))
        return LoadDialogs(dialogs);
    return HV_OK;
}

HVResultEnum DialogEffectsManager::LoadData(const tinyxml2::XMLElement* data)
{
    for (const tinyxml2::XMLElement* e = data->FirstChildElement(); e; e = e->NextSiblingElement())
    {
        const auto creator = mCreators.find(e->Name());
        if (creator == mCreators.end())
            return HV_FAIL;
        const char* name = e->Attribute("name");
        if (!name)
            return HV_FAIL;
        // Dropped objects are deleted: a failed or duplicate one must not leak.
        std::unique_ptr<DialogEffectsData> object(creator->second->Create());
        if (const HVResultEnum result = object->Load(e); result != HV_OK)
            return result;
        if (!mData.emplace(name, object.get()).second)
            return HV_FAIL;
        object.release();
    }
    return HV_OK;
}

HVResultEnum DialogEffectsManager::LoadDialogs(const tinyxml2::XMLElement* dialogs)
{
    for (const tinyxml2::XMLElement* e = dialogs->FirstChildElement(); e; e = e->NextSiblingElement())
    {
        const char* effects = e->Attribute("effects");
        if (!effects)
            return HV_FAIL;
        if (!mDialogs.emplace(e->Name(), effects).second)
            return HV_FAIL;
    }
    return HV_OK;
}

HVResultEnum DialogEffectsManager::GetEffects(Dialog* dialog, DialogEffects** out)
{
    *out = nullptr;
    const auto listed = mDialogs.find(dialog->mName);
    if (listed == mDialogs.end())
        return HV_OK;
    const auto data = mData.find(listed->second);
    if (data == mData.end())
        return HV_FAIL;
    return data->second->CreateEffects(dialog, out);
}
} // namespace widget
