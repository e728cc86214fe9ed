#include "Game/Hud/TutorialButton.h"

#include "Core/Render/Image.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQMap.h"

namespace
{
void ReleasePicture(render::Image*& picture)
{
    if (!picture)
        return;
    picture->Release();
    delete picture;
    picture = nullptr;
}
} // namespace

TutorialButton::TutorialButton(NQFrameEntry* lower, NQFrameEntry* upper, const std::wstring& label)
    : HUDLayerButton(lower, upper, label)
{
    mHovered = 0;
}

TutorialButton::~TutorialButton()
{
    // The picture layers only borrow them: the base deletes the layers after.
    ReleasePicture(mUpperPicture);
    ReleasePicture(mLowerPicture);
}

void TutorialButton::OnClick(int x, int y)
{
    if (!HitTest(x, y))
        return;
    NQTutorial* tutorial = NQTutorial::Instance();
    tutorial->mVisible = 0;
    tutorial->mSkipQuestion = 1;
    if (NQMap* map = Game::GetMap(); map && map->mHud)
        map->mHud->ConfirmTutorialCancel();
}
