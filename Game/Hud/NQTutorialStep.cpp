#include "Game/Hud/NQTutorialStep.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/TextEncoding.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Hud/NQTutorialCommand.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <tinyxml2.h>

namespace
{
// The command table's values of "pause".
constexpr int kPauseOff = 0;
constexpr int kPauseOn = 1;
constexpr float kNormalSpeed = 1.0f;
constexpr float kStopped = 0.0f;

int IntOf(const tinyxml2::XMLElement* element, const char* name)
{
    int value = 0;
    element->QueryIntAttribute(name, &value);
    return value;
}

// A missing text reads empty; the empty text never matches an event.
std::wstring TextOf(const tinyxml2::XMLElement* element, const char* name)
{
    const char* text = element->Attribute(name);
    return text ? base::Utf8ToWide(text) : std::wstring();
}

NQProgress* Progress()
{
    NQMap* map = Game::GetMap();
    return map ? map->mProgress : nullptr;
}

void DeleteCommands(std::vector<NQTutorialCommand*>*& commands)
{
    if (!commands)
        return;
    base::DeleteAll(*commands);
    delete commands;
    commands = nullptr;
}
} // namespace

NQTutorialStep::NQTutorialStep(NQTutorial* tutorial, file::ImageContainer* hintPictures)
    : mTutorial(tutorial), mHintPictures(hintPictures)
{
}

NQTutorialStep::~NQTutorialStep()
{
    DeleteCommands(mOnActivate);
    DeleteCommands(mOnComplete);
}

bool NQTutorialStep::Load(const tinyxml2::XMLElement* element)
{
    const tinyxml2::XMLElement* condition = element->FirstChildElement("condition");
    const tinyxml2::XMLElement* show = element->FirstChildElement("show");
    if (!condition || !show)
        return false;

    mId = IntOf(element, "id");
    if (NQProgress* progress = Progress())
        mState = progress->GetTutorialStepState(mId);
    mShop = IntOf(condition, "shop");
    mLevel = IntOf(condition, "level");
    mEpisode = IntOf(condition, "episode");
    mActivate = TextOf(element, "activate");
    mComplete = TextOf(element, "complete");
    mShowFolder = TextOf(show, "folder");
    if (const tinyxml2::XMLElement* list = element->FirstChildElement("cmds"))
    {
        mOnActivate = new std::vector<NQTutorialCommand*>;
        ReadCommands(list, *mOnActivate);
    }
    if (const tinyxml2::XMLElement* list = element->FirstChildElement("onComplete"))
    {
        mOnComplete = new std::vector<NQTutorialCommand*>;
        ReadCommands(list, *mOnComplete);
    }
    for (const tinyxml2::XMLElement* text = show->FirstChildElement("text"); text;
         text = text->NextSiblingElement("text"))
    {
        const char* place = text->Attribute("place");
        const char* key = text->Attribute("string");
        if (!place || !key)
            continue; // names no place or no text
        mTexts[base::Utf8ToWide(place)] = LocalStrings::Instance()->Get(base::Utf8ToWide(key));
    }
    return true;
}

void NQTutorialStep::ReadCommands(const tinyxml2::XMLElement* list, std::vector<NQTutorialCommand*>& commands)
{
    for (const tinyxml2::XMLElement* element = list->FirstChildElement("cmd"); element;
         element = element->NextSiblingElement("cmd"))
    {
        const char* param = element->Attribute("param");
        if (!param)
            continue; // a command without a name does nothing
        auto* command = new NQTutorialCommand;
        command->param = base::Utf8ToWide(param);
        command->value = IntOf(element, "value");
        commands.push_back(command);
    }
}

bool NQTutorialStep::ConditionHolds() const
{
    if (mShop != kLevelOnly)
        return true;
    const NQMap* map = Game::GetMap();
    return map && map->mEpisode == mEpisode && map->mLevel == mLevel;
}

bool NQTutorialStep::OnEvent(const std::wstring& event)
{
    if (NQProgress* progress = Progress())
        mState = progress->GetTutorialStepState(mId);
    const bool holds = ConditionHolds();
    if (mState == kDone)
        return false;
    if (mState == kIdle && !mActivate.empty() && event == mActivate && holds)
    {
        Activate();
        if (mTutorial)
            mTutorial->ShowStep(this);
        return true;
    }
    if (mState == kActive && !mComplete.empty() && event == mComplete && holds)
    {
        Complete();
        if (mTutorial)
            mTutorial->ClearHints();
        return true;
    }
    return false;
}

void NQTutorialStep::Activate()
{
    mState = kActive;
    if (NQProgress* progress = Progress())
        progress->SetTutorialStepState(mId, kActive);
    RunCommands(mOnActivate);
}

void NQTutorialStep::Complete()
{
    mState = kDone;
    if (NQProgress* progress = Progress())
        progress->SetTutorialStepState(mId, kDone);
    RunCommands(mOnComplete);
}

void NQTutorialStep::RunCommands(const std::vector<NQTutorialCommand*>* commands)
{
    if (!commands)
        return;
    for (const NQTutorialCommand* command : *commands)
        RunCommand(*command);
}

void NQTutorialStep::RunCommand(const NQTutorialCommand& command)
{
    NQMap* map = Game::GetMap();
    if (!map)
        return; // nothing running to act on
    const std::wstring& name = command.param;
    const int value = command.value;
    HUD* hud = map->mHud;
    if (name == L"pause")
    {
        if (value == kPauseOn)
            map->mSpeed = kStopped;
        else if (value == kPauseOff)
            map->mSpeed = kNormalSpeed;
        map->UpdateSpeedButtons();
    }
    else if (name == L"dropChanceOverride")
    {
        if (map->mProgress)
            map->mProgress->SetTutorialParam(name, value);
        map->mDropChanceOverride = float(value);
    }
    else if (name == L"blockShop")
    {
        if (hud)
            hud->mBlockShop = value;
    }
    else if (name == L"blockUI")
    {
        if (hud)
            hud->mBlockUI = value;
    }
    else if (name == L"addGems")
    {
        if (map->mEconomy)
            map->mEconomy->AddGems(value);
    }
    else if (name == L"addMoney")
    {
        if (map->mEconomy)
            map->mEconomy->AddGold(value);
    }
    else if (name == L"spot")
    {
        map->mTutorialSpotFilter = value;
    }
    else if (name == L"resetSpell")
    {
        if (hud)
            hud->ResetSpellCooldowns();
    }
    else if (name == L"completeStep")
    {
        if (map->mProgress)
            map->mProgress->SetTutorialStepState(value, kDone);
    }
}
