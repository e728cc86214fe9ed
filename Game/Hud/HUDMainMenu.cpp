#include "Game/Hud/HUDMainMenu.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Sound/SoundTags.h"
#include "Framework/GameApplication.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/OverButtons.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr int kEmitterPositionMode = 1;
constexpr int kLoopForever = 1;
constexpr int kEmitterPlaying = 1;
constexpr const wchar_t* kRussian = L"ru";
constexpr const wchar_t* kEnglish = L"en";
constexpr const wchar_t* kCorruptMessage = L"profile_corrupt";

struct Effect
{
    const char* name;
    float position[2];
};
constexpr Effect kEffects[] = {
    {"fog_01", {401.0f, 263.0f}},
    {"blik_1", {335.0f, 28.0f}},
    {"blik_2", {509.0f, 100.0f}},
    {"blik_4", {366.0f, 640.0f}},
};
} // namespace

HUDMainMenu::HUDMainMenu()
{
    k2::SoundTags::Instance()->PlayMusic(kMusic);
    LoadOverLayout(kLayout);
    NQMap* map = Game::GetMap();
    if (map)
        map->mCurrentMenu = kMenuName;

    for (const Effect& effect : kEffects)
    {
        render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->CreateEmitter(effect.name);
        // A library without the effect leaves it out rather than crash.
        if (!emitter)
        {
            HV_LOG(L"main menu effect %s is missing from the particle library\n") % std::wstring(effect.name, effect.name + std::char_traits<char>::length(effect.name));
            continue;
        }
        emitter->SetPosition(effect.position, kEmitterPositionMode);
        emitter->SetLoopMode(kLoopForever);
        emitter->SetState(kEmitterPlaying);
        mEffects.push_back(emitter);
    }

    if (Game* game = Game::Get(); game && game->GetRootBoard())
        SetFont(game->GetRootBoard()->GetFont(GameWindow::kFontNormal));
    Refresh();

    const bool russian = map && map->mLanguage == kRussian;
    SetImageVisible(kRussian, russian);
    SetImageVisible(kEnglish, !russian);

    if (file::Profiles::sProfilesReset)
    {
        // Without a running application (a test's level) there is nowhere to show it.
        framework::GameApplication* application = framework::GameApplication::Current();
        if (application && application->mFrameManager)
        {
            auto* box = new TMessageBox(kCorruptMessage, L"");
            box->Load();
            application->mFrameManager->PushDialog(box, true);
        }
        // Told once per run.
        file::Profiles::sProfilesReset = false;
    }
}

HUDMainMenu::~HUDMainMenu()
{
    base::DeleteAll(mEffects);
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
    base::DeleteAll(mOverButtons);
}

void HUDMainMenu::LoadOverLayout(const std::wstring& name)
{
    overbuttons::LoadOverLayout(*this, mOverButtons, name);
}

void HUDMainMenu::Draw(render::Graphics* graphics)
{
    overbuttons::Draw(*this, mOverButtons, graphics);
    if (!graphics)
        return;
    // Above the buttons.
    for (render::ParticleEmitter* emitter : mEffects)
        graphics->DrawParticles(emitter);
}

void HUDMainMenu::Update(float dt)
{
    overbuttons::ModalUpdate(*this, mOverButtons, dt);
    for (render::ParticleEmitter* emitter : mEffects)
        emitter->Update(dt);
}

void HUDMainMenu::Refresh()
{
    const NQMap* map = Game::GetMap();
    std::wstring name = map && map->mProgress ? map->mProgress->GetCurrentName() : std::wstring();
    LocalStrings* strings = LocalStrings::Instance();
    if (name.empty())
        name = strings->Get(L"unnamed_player");
    SetText(L"greet", strings->Get(L"greet_1") + name + strings->Get(L"greet_2"));
}

void HUDMainMenu::OnMouseMove(int x, int y)
{
    overbuttons::MouseMove(mOverButtons, x, y);
}

void HUDMainMenu::OnMouseUp(int x, int y)
{
    overbuttons::MouseUp(mOverButtons, x, y);
}

void HUDMainMenu::OnMouseDown(int x, int y)
{
    overbuttons::MouseDown(mOverButtons, x, y);
}

std::wstring HUDMainMenu::Click(int x, int y)
{
    // The profile band answers silently, whatever button reaches into it.
    if (y >= kProfileAreaTop && y <= kProfileAreaBottom)
        return L"profile";
    return overbuttons::Click(mOverButtons, x, y);
}
