#include "Game/Hud/TMessageBox.h"

#include "Core/Sound/SoundTags.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/VessikButton.h"
#include "Game/Level/NQMap.h"

namespace
{
const wchar_t* const kClickSound = L"simple";
const wchar_t* const kBackPicture = L"back";
const wchar_t* const kMessageLayer = L"text/message";
const wchar_t* const kNormalPicture = L"button/b1_normal";
const wchar_t* const kActivePicture = L"button/b1_over";
// Both the shadow of every button and the confirm label's rectangle.
const wchar_t* const kShadowPicture = L"button/b1_ok/label";
const wchar_t* const kCancelLabel = L"button/b1_cancel/label";
const wchar_t* const kOkLabel = L"button/b1_ok/label";

resource::ResourceHandle<render::BMFont> RootBoardFont(int index)
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return {};
    return game->GetRootBoard()->GetFont(index);
}
} // namespace

TMessageBox::TMessageBox(const std::wstring& messageKey, const std::wstring& action)
    : mMessageKey(messageKey)
    , mAction(action)
{
}

TMessageBox::~TMessageBox()
{
    // A widget's destructor leaves its children alone.
    Clear(true, false, 0);
}

HVResultEnum TMessageBox::Load()
{
    if (const HVResultEnum result = Init(kLayout, this, static_cast<widget::WidgetHitTestListener*>(this), mLayer,
                                         true);
        result != HV_OK)
    {
        MarkLoadFailed(kLayout);
        return result;
    }
    if (const HVResultEnum result = CreateImageLayer(kBackPicture, kModeNoHit, nullptr, nullptr); result != HV_OK)
    {
        MarkLoadFailed(kBackPicture);
        return result;
    }
    const resource::ResourceHandle<render::Font> textFont = RootBoardFont(GameWindow::kFontNormal);
    const resource::ResourceHandle<render::Font> labelFont = RootBoardFont(GameWindow::kFontLarge);
    if (const int result = AddText(kMessageLayer, mMessageKey, textFont, nullptr); result != HV_OK)
    {
        MarkLoadFailed(kMessageLayer);
        return HVResultEnum(result);
    }

    if (const HVResultEnum result = AddButton(mFirstButton, mAction.empty() ? kSingleButtonX : kCancelButtonX);
        result != HV_OK)
        return result;

    if (mAction.empty())
    {
        layer::TextLayer* label = nullptr;
        if (const int result = AddText(kCancelLabel, L"b1_ok", labelFont, &label); result != HV_OK)
        {
            MarkLoadFailed(kCancelLabel);
            return HVResultEnum(result);
        }
        label->SetPosition(kSingleButtonX, kButtonY, 0.0f);
        return HV_OK;
    }

    if (const int result = AddText(kCancelLabel, L"b1_cancel", labelFont, nullptr); result != HV_OK)
    {
        MarkLoadFailed(kCancelLabel);
        return HVResultEnum(result);
    }
    if (const HVResultEnum result = AddButton(mSecondButton, kConfirmButtonX); result != HV_OK)
        return result;
    if (const int result = AddText(kOkLabel, L"b1_ok", labelFont, nullptr); result != HV_OK)
    {
        MarkLoadFailed(kOkLabel);
        return HVResultEnum(result);
    }
    return HV_OK;
}

HVResultEnum TMessageBox::AddButton(VessikButton*& button, float x)
{
    button = new VessikButton;
    if (const HVResultEnum result = button->Load(mContainer, kNormalPicture, kActivePicture, kShadowPicture);
        result != HV_OK)
    {
        // Never a child: it goes at once.
        delete button;
        button = nullptr;
        MarkLoadFailed(kNormalPicture);
        return result;
    }
    button->mButtonListener = this;
    button->gui::GameControl::SetPosition(x, kButtonY, 0.0f);
    AddChild(button, nullptr);
    return HV_OK;
}

HVResultEnum TMessageBox::OnButtonClick(widget::Button* button)
{
    k2::SoundTags::Instance()->Play(kClickSound);
    if (!button)
        return HV_OK;
    if (button == static_cast<widget::Button*>(mFirstButton))
    {
        Hide(true);
        return HV_OK;
    }
    if (mSecondButton && button == static_cast<widget::Button*>(mSecondButton))
        Confirm();
    return HV_OK;
}

void TMessageBox::Confirm()
{
    // The level acts after the box is on its way out; the box stays alive
    // until the frame manager's queued close deletes it.
    const std::wstring action = mAction;
    Hide(true);
    if (NQMap* map = Game::GetMap())
        map->OnResultCommand(action);
}
