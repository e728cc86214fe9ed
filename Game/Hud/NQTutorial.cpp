#include "Game/Hud/NQTutorial.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/FileFunctions.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/LayerFonts.h"
#include "Game/Hud/NQTutorialStep.h"
#include "Game/Hud/TutorialButton.h"
#include "Game/Level/NQMap.h"

#include <tinyxml2.h>

namespace
{
constexpr const wchar_t* kSkipLower = L"button/b4_over";
constexpr const wchar_t* kSkipUpper = L"button/b4_normal";
constexpr const wchar_t* kSkipLabel = L"tutorial_skip_label";
constexpr const wchar_t* kDropChanceOverride = L"dropChanceOverride";
constexpr int kAlignCentre = 2;
constexpr int kHintLayoutOption = 2;

// The fixed step groups of the tutorial script: a level left in the middle
// of a lesson starts that lesson over.
constexpr int kFirstLesson[] = {0, 1};
constexpr int kSecondLesson = 2;
constexpr int kThirdLesson[] = {3, 4};
constexpr int kSpotStep = 5;
constexpr int kSpotFollowUp = 51;
constexpr int kSingleSteps[] = {6, 7, 8};

NQProgress* Progress()
{
    NQMap* map = Game::GetMap();
    return map ? map->mProgress : nullptr;
}

GameWindow* RootBoard()
{
    Game* game = Game::Get();
    return game ? game->GetRootBoard() : nullptr;
}

bool IsDone(NQProgress* progress, int id)
{
    return progress->GetTutorialStepState(id) == NQTutorialStep::kDone;
}

void SetIdle(NQProgress* progress, int id)
{
    progress->SetTutorialStepState(id, NQTutorialStep::kIdle);
}

// The level's tutorial effects undone: drop chance, both blocks and the spot filter.
void ResetLevelEffects()
{
    NQMap* map = Game::GetMap();
    if (!map)
        return; // nothing running to undo
    map->mDropChanceOverride = 0.0f;
    map->mTutorialSpotFilter = -1;
    if (map->mHud)
    {
        map->mHud->mBlockShop = 0;
        map->mHud->mBlockUI = 0;
    }
}

void Detach(layer::Layer* layer)
{
    if (layer && layer->GetParent())
        layer->GetParent()->RemoveChild(layer);
}
} // namespace

void InstallTutorialInstance(NQTutorial* tutorial)
{
    NQTutorial::sInstance = tutorial;
}

NQTutorial::NQTutorial(StandIn)
{
}

NQTutorial::NQTutorial()
{
    mHintPictures = file::FileManager::Instance()->OpenImageContainer(kHintLayout);
    NQProgress* progress = Progress();
    mEnabled = progress && progress->IsTutorialEnabled() ? 1 : 0;
    LoadSteps();
    mTextRoot = new layer::Layer;
    mPictureRoot = new layer::Layer;
    ResetUnfinishedSteps();
    CreateSkipButton();
}

void NQTutorial::LoadSteps()
{
    const std::string text = base::ReadWholeFile(kScriptFile);
    tinyxml2::XMLDocument document;
    // An unreadable or broken script is a tutorial without steps.
    if (text.empty() || document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
        return;
    const tinyxml2::XMLElement* root = document.FirstChildElement("tutorial");
    if (!root)
        return;
    int position = 0;
    for (const tinyxml2::XMLElement* element = root->FirstChildElement("step"); element;
         element = element->NextSiblingElement("step"), ++position)
    {
        auto* step = new NQTutorialStep(this, mHintPictures);
        if (!step->Load(element))
        {
            HV_LOG(L"tutorial step %d has no condition or no show element; left out\n") % position;
            delete step;
            continue;
        }
        mSteps.push_back(step);
    }
}

void NQTutorial::CreateSkipButton()
{
    file::ImageContainer* skip = file::FileManager::Instance()->OpenImageContainer(kSkipLayout);
    NQFrameEntry* lower = CreateFrameEntryFromContainer(skip, kSkipLower);
    NQFrameEntry* upper = CreateFrameEntryFromContainer(skip, kSkipUpper);
    // The button takes both pictures.
    lower->mOwnsPicture = 0;
    upper->mOwnsPicture = 0;
    mSkipButton = new TutorialButton(lower, upper, LocalStrings::Instance()->Get(kSkipLabel));
    mSkipButton->SetPosition(lower->mRect[0] + lower->mRect[2] * 0.5f, lower->mRect[1] + lower->mRect[3] * 0.5f,
                             0.0f);
    delete lower;
    delete upper;
    delete skip;
}

NQTutorial::~NQTutorial()
{
    ReleaseGraphics();
    base::DeleteAll(mSteps);
}

NQTutorial* NQTutorial::Instance()
{
    return base::Singletone<NQTutorial>::Instance();
}

std::vector<base::SingletoneBase*> NQTutorial::GetDependencies()
{
    return {resource::ResourceManager::Instance()};
}

void NQTutorial::OnEvent(const std::wstring& name)
{
    if (!mEnabled)
        return;
    // By index: a step's commands never add steps, but the list is the tutorial's.
    for (size_t i = 0; i < mSteps.size(); ++i)
        mSteps[i]->OnEvent(name);
}

void NQTutorial::OnMouseMove(int x, int y)
{
    if (!mVisible || !mEnabled || !mSkipButton)
        return;
    mSkipButton->HUDLayerButton::OnMouseMove(x, y);
}

void NQTutorial::OnMouseUp(int x, int y)
{
    if (!mVisible || !mEnabled || !mSkipButton)
        return;
    mSkipButton->OnClick(x, y);
}

void NQTutorial::Update(float dt)
{
    if (!mVisible || !mEnabled || !mSkipButton)
        return;
    mSkipButton->HUDLayerButton::Update(dt);
}

void NQTutorial::SetHintsVisible(bool visible)
{
    for (layer::Layer* layer : {mPictureRoot, mTextRoot, static_cast<layer::Layer*>(mSkipButton)})
    {
        if (layer)
            layer->mVisible = visible;
    }
}

void NQTutorial::Show()
{
    mVisible = mSavedVisible;
    SetHintsVisible(true);
}

void NQTutorial::Hide()
{
    mSavedVisible = mVisible;
    mVisible = 0;
    SetHintsVisible(false);
}

void NQTutorial::ShowStep(NQTutorialStep* step)
{
    ClearHints();
    if (!mPictureRoot || !mTextRoot)
        return; // released with the level at the teardown
    NQMap* map = Game::GetMap();
    if (map)
    {
        map->mZoom = 1.0f;
        map->mViewOffsetX = 0.0f;
        map->mViewOffsetY = 0.0f;
    }
    if (GameWindow* board = RootBoard(); board && board->GetRootLayer())
    {
        layer::Layer* root = board->GetRootLayer();
        root->AddChild(mPictureRoot);
        root->AddChild(mTextRoot);
        if (mSkipButton)
            root->AddChild(mSkipButton);
    }
    std::vector<std::wstring> names;
    if (mHintPictures && step)
        mHintPictures->ListLayers(step->mShowFolder, true, names, false);
    SetHintsVisible(true);
    mVisible = 1;

    for (const std::wstring& name : names)
    {
        const base::ImageInfo* info = mHintPictures->FindLayer(name);
        if (!info)
            continue;
        if (render::Image* picture = LoadGamePicture(info->name, mHintPictures))
        {
            auto* image = new layer::ImageLayer(picture, true);
            image->SetPosition(info->x, info->y, 0.0f);
            mHintImages.push_back(image);
            mPictureRoot->AddChild(image);
            continue;
        }
        // A layer without a picture is a place for a text; none known shows empty.
        const auto found = step->mTexts.find(info->name);
        const std::wstring text = found != step->mTexts.end() ? found->second : std::wstring();
        auto* label = new layer::TextLayer(LayerFont(GameWindow::kFontMain32_1), text, info->w, 0.0f,
                                           kHintLayoutOption, true);
        label->SetAlignment(kAlignCentre, kAlignCentre);
        label->SetPosition(info->x + 0.5f * info->w, info->y + 0.5f * info->h, 0.0f);
        mHintTexts.push_back(label);
        mTextRoot->AddChild(label);
    }
}

void NQTutorial::ClearHints()
{
    for (layer::TextLayer* label : mHintTexts)
    {
        Detach(label);
        delete label;
    }
    mHintTexts.clear();
    for (layer::ImageLayer* image : mHintImages)
    {
        Detach(image);
        delete image;
    }
    mHintImages.clear();
    Detach(mPictureRoot);
    Detach(mTextRoot);
    Detach(mSkipButton);
    mVisible = 0;
}

void NQTutorial::Disable()
{
    mEnabled = 0;
    ClearHints();
    ResetLevelEffects();
    if (NQProgress* progress = Progress())
    {
        progress->SetTutorialParam(kDropChanceOverride, 0);
        progress->SetTutorialEnabled(false);
    }
}

void NQTutorial::ResetUnfinishedSteps()
{
    if (NQProgress* progress = Progress())
    {
        if (!IsDone(progress, kFirstLesson[1]))
        {
            for (int id : kFirstLesson)
                SetIdle(progress, id);
        }
        if (!IsDone(progress, kSecondLesson))
            SetIdle(progress, kSecondLesson);
        if (!IsDone(progress, kThirdLesson[1]))
        {
            SetIdle(progress, kThirdLesson[1]);
            SetIdle(progress, kThirdLesson[0]);
        }
        if (!IsDone(progress, kSpotFollowUp))
        {
            if (!IsDone(progress, kSpotStep))
                SetIdle(progress, kSpotStep);
            SetIdle(progress, kSpotFollowUp);
        }
        for (int id : kSingleSteps)
        {
            if (!IsDone(progress, id))
                SetIdle(progress, id);
        }
    }
    ResetLevelEffects();
}

void NQTutorial::ReloadState()
{
    NQProgress* progress = Progress();
    if (!progress)
        return; // no player to read
    mEnabled = progress->IsTutorialEnabled() ? 1 : 0;
    for (NQTutorialStep* step : mSteps)
        step->mState = progress->GetTutorialStepState(step->mId);
}

void NQTutorial::SetEnabled(bool enabled)
{
    mEnabled = enabled ? 1 : 0;
}

void NQTutorial::ReleaseGraphics()
{
    ClearHints();
    delete mSkipButton;
    mSkipButton = nullptr;
    delete mTextRoot;
    mTextRoot = nullptr;
    delete mPictureRoot;
    mPictureRoot = nullptr;
    for (NQTutorialStep* step : mSteps)
        step->mHintPictures = nullptr;
    delete mHintPictures;
    mHintPictures = nullptr;
}

namespace game::testing
{
bool InstallTutorial(NQTutorial* tutorial)
{
    if (NQTutorial::Find())
        return false;
    InstallTutorialInstance(tutorial);
    return true;
}
} // namespace game::testing
