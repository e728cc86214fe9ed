#include "Game/Hud/OptionsDialog.h"

#include "Core/Sound/SoundSystem.h"
#include "Core/Sound/SoundTags.h"
#include "Framework/GameApplication.h"
#include "Framework/Layer/TextLayer.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Hud/VessikButton.h"
#include "Game/Hud/VessikSlider.h"
#include "Game/Hud/VessikSwitchButton.h"
#include "Game/Level/NQMap.h"

#include <algorithm>

namespace
{
const wchar_t* const kClickSound = L"simple";
const wchar_t* const kSharedShadow = L"buttons/menu/menu_sh";
constexpr int kAlignCentre = 2;
constexpr int kAlignTop = 0;
constexpr float kWindowAddScale = 0.6f;
constexpr float kCaptionLineGap = 2.0f;

struct TextEntry
{
    const wchar_t* layer;
    const wchar_t* key;
    int font;
};
constexpr TextEntry kSectionTexts[] = {
    {L"main_options/options_title", L"options_OptionsTitle", GameWindow::kFontLarge},
    {L"main_options/sounds_and_music", L"options_OptionsSounds", GameWindow::kFontMain42_2},
    {L"main_options/game_type", L"options_OptionsGameType", GameWindow::kFontMain42_2},
    {L"main_options/window_type", L"options_OptionsWindowType", GameWindow::kFontMain42_2},
};

resource::ResourceHandle<render::BMFont> RootBoardFont(int index)
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return {};
    return game->GetRootBoard()->GetFont(index);
}

NQProgress* Progress()
{
    NQMap* map = Game::GetMap();
    return map ? map->mProgress : nullptr;
}
} // namespace

OptionsDialog::OptionsDialog()
{
    mName = kDialogName;
}

OptionsDialog::~OptionsDialog()
{
    Clear(true, false, 0);
}

namespace
{
// A control that failed to load never became a child: it goes at once.
template <class Control>
HVResultEnum Discard(Control*& control, HVResultEnum result)
{
    delete control;
    control = nullptr;
    return result;
}
} // namespace

HVResultEnum OptionsDialog::Load()
{
    // Each failure names what was missing, so that the dialog closes itself once shown.
    const auto fail = [this](const std::wstring& what, HVResultEnum result) {
        MarkLoadFailed(what);
        return result;
    };
    if (const HVResultEnum result = Init(kLayout, this, static_cast<widget::WidgetHitTestListener*>(this), mLayer,
                                         true);
        result != HV_OK)
        return fail(kLayout, result);
    if (const HVResultEnum result = CreateImageLayer(L"title", kModeNoHit, nullptr, nullptr); result != HV_OK)
        return fail(L"title", result);
    for (const TextEntry& entry : kSectionTexts)
    {
        if (const int result = AddText(entry.layer, entry.key, RootBoardFont(entry.font), nullptr); result != HV_OK)
            return fail(entry.layer, HVResultEnum(result));
    }

    const auto makeButton = [this](VessikButton*& out, const wchar_t* normal, const wchar_t* active,
                                   const wchar_t* shadow) {
        out = new VessikButton;
        if (const HVResultEnum result = out->Load(mContainer, normal, active, shadow); result != HV_OK)
            return Discard(out, result);
        out->mButtonListener = this;
        return AddChild(out, nullptr);
    };
    struct ButtonEntry
    {
        VessikButton*& button;
        const wchar_t* normal;
        const wchar_t* active;
        const wchar_t* shadow;
    };
    const ButtonEntry mainButtons[] = {
        {mMenuButton, L"buttons/menu/menu_in", L"buttons/menu/menu_ac", L"buttons/menu/menu_sh"},
        {mOkButton, L"buttons/close/ok_in", L"buttons/close/ok_ac", kSharedShadow},
        {mDeveloperButton, L"buttons/cheat/cheat_in", L"buttons/cheat/cheat_ac", kSharedShadow},
    };
    for (const ButtonEntry& entry : mainButtons)
    {
        if (const HVResultEnum result = makeButton(entry.button, entry.normal, entry.active, entry.shadow);
            result != HV_OK)
            return fail(entry.normal, result);
    }
    if (const int result =
            AddText(L"buttons/close/close_caption", L"options_OptionsOk", RootBoardFont(GameWindow::kFontLarge),
                    nullptr);
        result != HV_OK)
        return fail(L"buttons/close/close_caption", HVResultEnum(result));

    struct SliderEntry
    {
        VessikSlider*& slider;
        const wchar_t* bar;
        const wchar_t* thumb;
        const wchar_t* back;
    };
    const SliderEntry sliders[] = {
        {mSoundSlider, L"main_options/sound/sound_bar", L"main_options/sound/sound_begunok",
         L"main_options/sound/sound_back"},
        {mMusicSlider, L"main_options/music/music_bar", L"main_options/music/music_begunok",
         L"main_options/music/music_back"},
    };
    for (const SliderEntry& entry : sliders)
    {
        entry.slider = new VessikSlider;
        if (const HVResultEnum result = entry.slider->Load(mContainer, entry.bar, entry.thumb); result != HV_OK)
            return fail(entry.bar, Discard(entry.slider, result));
        // Under the slider's pictures, swallowing its own presses.
        if (const HVResultEnum result = entry.slider->CreateImageLayerBack(entry.back, kModeTrap, nullptr, nullptr);
            result != HV_OK)
            return fail(entry.back, Discard(entry.slider, result));
        entry.slider->mSliderListener = this;
        AddChild(entry.slider, nullptr);
    }

    const ButtonEntry stepButtons[] = {
        {mMusicDecButton, L"buttons/music_dec/b_in", L"buttons/music_dec/b_ac", kSharedShadow},
        {mMusicIncButton, L"buttons/music_inc/b_in", L"buttons/music_inc/b_ac", kSharedShadow},
        {mSoundDecButton, L"buttons/sound_dec/b_in", L"buttons/sound_dec/b_ac", kSharedShadow},
        {mSoundIncButton, L"buttons/sound_inc/b_in", L"buttons/sound_inc/b_ac", kSharedShadow},
    };
    for (const ButtonEntry& entry : stepButtons)
    {
        if (const HVResultEnum result = makeButton(entry.button, entry.normal, entry.active, entry.shadow);
            result != HV_OK)
            return fail(entry.normal, result);
    }

    const resource::ResourceHandle<render::BMFont> switchFont = RootBoardFont(GameWindow::kFontNormal);
    mWindowSwitch = new VessikSwitchButton;
    if (const HVResultEnum result = mWindowSwitch->Load(mContainer, L"main_options/window/window_nonselected",
                                                        L"main_options/window/window_ac",
                                                        L"main_options/window/window_in",
                                                        L"main_options/window/window_sh");
        result != HV_OK)
        return fail(L"main_options/window/window_nonselected", Discard(mWindowSwitch, result));
    mWindowSwitch->mButtonListener = this;
    AddChild(mWindowSwitch, nullptr);
    {
        const float advance = switchFont ? switchFont->GetLineAdvance() : 0.0f;
        auto* caption = new layer::TextLayer(switchFont, LocalStrings::Instance()->Get(L"options_caption"));
        auto* addition = new layer::TextLayer(switchFont, LocalStrings::Instance()->Get(L"options_window_add"));
        for (layer::TextLayer* text : {caption, addition})
        {
            text->SetAlignment(kAlignCentre, kAlignTop);
            render::TextLayout layout = text->GetLayout();
            layout.alignment = kTextLayoutOption;
            layout.letterSpacing = text == caption ? 0.0f : kTextLetterSpacing;
            text->SetLayout(layout);
            mWindowSwitch->AddLayer(text, kModeNoHit, nullptr);
        }
        caption->SetPosition(0.0f, -(advance - kCaptionLineGap) / 2.0f, 0.0f);
        addition->SetScale(kWindowAddScale, kWindowAddScale, 1.0f);
        addition->SetPosition(0.0f, 0.0f, 0.0f);
        caption->SnapToPixels();
        addition->SnapToPixels();
    }

    mFullscreenSwitch = new VessikSwitchButton;
    if (const HVResultEnum result =
            mFullscreenSwitch->Load(mContainer, L"main_options/fullscreen/fullscreen_nonselected",
                                    L"main_options/fullscreen/fullscreen_ac", L"main_options/fullscreen/main_menu_in",
                                    L"main_options/fullscreen/main_menu_sh");
        result != HV_OK)
        return fail(L"main_options/fullscreen/fullscreen_nonselected", Discard(mFullscreenSwitch, result));
    mFullscreenSwitch->mButtonListener = this;
    {
        layer::TextLayer* text = nullptr;
        if (const HVResultEnum result = mFullscreenSwitch->CreateTextLayer(
                switchFont, LocalStrings::Instance()->Get(L"options_fs"), kModeNoHit, nullptr, &text);
            result != HV_OK)
            return fail(L"options_fs", Discard(mFullscreenSwitch, result));
        render::TextLayout layout = text->GetLayout();
        layout.letterSpacing = kTextLetterSpacing;
        text->SetLayout(layout);
        text->SnapToPixels();
    }
    AddChild(mFullscreenSwitch, nullptr);

    // The stored volumes are applied again; the thumbs follow without a report.
    SoundSystem* sound = SoundSystem::Instance();
    if (NQProgress* progress = Progress())
    {
        sound->SetMusicVolume(progress->GetMusicVolume());
        sound->SetSoundVolume(progress->GetSoundVolume());
    }
    mSoundSlider->SetValueSilent(sound->GetSoundVolume(), true);
    mMusicSlider->SetValueSilent(sound->GetMusicVolume(), true);

    SelectModeSwitch();
    return HV_OK;
}

void OptionsDialog::SelectModeSwitch()
{
    framework::GameApplication* application = framework::GameApplication::Current();
    const bool windowed = !application || application->IsWindowed();
    if (mWindowSwitch)
        mWindowSwitch->SetSelected(windowed);
    if (mFullscreenSwitch)
        mFullscreenSwitch->SetSelected(!windowed);
}

HVResultEnum OptionsDialog::OnButtonClick(widget::Button* button)
{
    k2::SoundTags::Instance()->Play(kClickSound);
    if (!button)
        return HV_OK;
    framework::GameApplication* application = framework::GameApplication::Current();
    SoundSystem* sound = SoundSystem::Instance();
    const auto is = [button](widget::Button* control) { return control && control == button; };

    if (is(mMenuButton) || is(mOkButton))
    {
        Hide(true);
    }
    else if (is(mWindowSwitch) && application && application->WindowDoesNotFitWorkArea())
    {
        auto* box = new TMessageBox(TMessageBox::kWindowTooLarge, L"");
        box->Load();
        if (widget::FrameManager* manager = GetFrameManager())
            manager->PushDialog(box, true);
        else
            delete box;
    }
    else if (is(mWindowSwitch) || is(mFullscreenSwitch))
    {
        if (application)
            application->SwitchScreenMode();
        SelectModeSwitch();
    }
    else if (is(mDeveloperButton))
    {
        if (NQMap* map = Game::GetMap())
            map->mDeveloperKeys = true;
    }
    else if (is(mMusicDecButton) || is(mMusicIncButton))
    {
        const float step = is(mMusicIncButton) ? kVolumeStep : -kVolumeStep;
        if (mMusicSlider)
            mMusicSlider->SetValueChanged(std::clamp(sound->GetMusicVolume() + step, 0.0f, 1.0f), true);
    }
    else if (is(mSoundDecButton) || is(mSoundIncButton))
    {
        const float step = is(mSoundIncButton) ? kVolumeStep : -kVolumeStep;
        if (mSoundSlider)
            mSoundSlider->SetValueChanged(std::clamp(sound->GetSoundVolume() + step, 0.0f, 1.0f), true);
    }
    return HV_OK;
}

HVResultEnum OptionsDialog::OnSliderChanged(widget::Slider* slider, float value)
{
    SoundSystem* sound = SoundSystem::Instance();
    NQProgress* progress = Progress();
    if (slider && slider == static_cast<widget::Slider*>(mMusicSlider))
    {
        sound->SetMusicVolume(value);
        if (progress)
            progress->SetMusicVolume(value);
    }
    else if (slider && slider == static_cast<widget::Slider*>(mSoundSlider))
    {
        sound->SetSoundVolume(value);
        if (progress)
            progress->SetSoundVolume(value);
    }
    return HV_OK;
}
