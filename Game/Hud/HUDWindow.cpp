#include "Game/Hud/HUDWindow.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Paths.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Sound/SoundTags.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/NQGameServices.h"

#include <algorithm>

namespace
{
constexpr int kAlignCentre = 2;
// DrawTextBox's layout option of the window texts.
constexpr int kTextLayoutOption = 2;
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const wchar_t* const kClickSound = L"simple";

resource::ResourceHandle<render::BMFont> RootBoardFont(int index)
{
    // No root board for a window built by a test without a game.
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return {};
    return game->GetRootBoard()->GetFont(index);
}

// A frame of the layer's rectangle, index and name; no picture.
template <class Frame>
Frame* MakeFrame(const base::ImageInfo& info, const std::wstring& name)
{
    auto* frame = new Frame;
    frame->mOwnsPicture = 1;
    frame->mRect[0] = info.x;
    frame->mRect[1] = info.y;
    frame->mRect[2] = info.w;
    frame->mRect[3] = info.h;
    frame->mLayerIndex = info.index;
    frame->mName = name;
    return frame;
}

bool ContainsWithEdges(const NQFrameEntry& frame, int x, int y)
{
    const float px = float(x);
    const float py = float(y);
    return px >= frame.mRect[0] && px <= frame.mRect[0] + frame.mRect[2] && py >= frame.mRect[1] &&
           py <= frame.mRect[1] + frame.mRect[3];
}
} // namespace

HUDWindow::HUDWindow() : mFont(RootBoardFont(GameWindow::kFontNormal)) {}

HUDWindow::HUDWindow(const std::wstring& layout) : HUDWindow()
{
    LoadLayout(layout);
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
}

HUDWindow::~HUDWindow()
{
    for (auto& slot : mTextSlots)
        delete slot.second;
    mTextSlots.clear();
    base::DeleteAll(mButtons);
    base::DeleteAll(mImages);
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
    mFont.Reset();
}

void HUDWindow::LoadLayout(const std::wstring& layout)
{
    delete mLayoutContainer;
    mLayoutContainer = file::FileManager::Instance()->OpenImageContainer(layout);
    if (!mLayoutContainer)
    {
        HV_LOG(L"window layout %s cannot be opened\n") % layout;
        return;
    }
    LoadImagesAndTexts(mLayoutContainer);
    LoadButtonFrames(mLayoutContainer);
    SortImages();
}

void HUDWindow::LoadImagesAndTexts(file::ImageContainer* container)
{
    LoadImageFrames(container);
    LoadTextSlots(container, false);
}

void HUDWindow::LoadImageFrames(file::ImageContainer* container)
{
    if (!container)
        return;
    std::vector<std::wstring> names;
    container->ListLayers(L"", false, names, false);
    for (const std::wstring& name : names)
    {
        const base::ImageInfo* info = container->FindLayer(name);
        if (!info)
            continue;
        NQFrameEntry* frame = MakeFrame<NQFrameEntry>(*info, info->name);
        frame->mPicture = LoadGamePicture(info->name, container);
        mImages.push_back(frame);
    }
}

void HUDWindow::LoadTextSlots(file::ImageContainer* container, bool keyByFullName)
{
    if (!container)
        return;
    std::vector<std::wstring> names;
    container->ListLayers(L"text", false, names, false);
    for (const std::wstring& name : names)
    {
        const base::ImageInfo* info = container->FindLayer(name);
        if (!info)
            continue;
        const std::wstring slot = keyByFullName ? info->name : base::GetBaseName(info->name);
        NQFrameEntry*& entry = mTextSlots[slot];
        // A later layer of the same name takes the slot.
        delete entry;
        entry = MakeFrame<NQFrameEntry>(*info, std::wstring());
    }
}

void HUDWindow::LoadButtonFrames(file::ImageContainer* container)
{
    if (!container)
        return;
    std::vector<std::wstring> names;
    container->ListLayers(L"button", true, names, false);
    for (const std::wstring& name : names)
    {
        const base::ImageInfo* info = container->FindLayer(name);
        if (!info)
            continue;
        NQButtonFrame* button = MakeFrame<NQButtonFrame>(*info, base::GetBaseName(info->name));
        button->mPicture = LoadGamePicture(info->name, container);
        mButtons.push_back(button);
    }
}

void HUDWindow::SortImages()
{
    std::stable_sort(mImages.begin(), mImages.end(), [](const NQFrameEntry* a, const NQFrameEntry* b) {
        return a->mLayerIndex < b->mLayerIndex;
    });
}

void HUDWindow::Draw(render::Graphics* graphics)
{
    DrawImages(graphics);
    DrawButtons(graphics);
    DrawTexts(graphics);
}

void HUDWindow::DrawImages(render::Graphics* graphics)
{
    if (!graphics)
        return;
    for (const NQFrameEntry* image : mImages)
    {
        if (image->mShown)
            DrawImage(graphics, *image);
    }
}

void HUDWindow::DrawImage(render::Graphics* graphics, const NQFrameEntry& image)
{
    // A picture that failed to load keeps its frame but shows nothing.
    if (!graphics || !image.mPicture)
        return;
    const NQGameServices::ViewRect view = NQGameServices::Get()->GetViewRect();
    const float centreX = view.x + view.width / 2.0f;
    const float centreY = view.y + view.height / 2.0f;
    const float px = image.mRect[0] + mOffsetX;
    const float py = image.mRect[1] + mOffsetY;
    math::Transform2D transform;
    transform.Scale(mScale, mScale);
    transform.Translate(centreX + (px - centreX) * mScale, centreY + (py - centreY) * mScale);
    auto record = graphics->DrawImage(*image.mPicture).Transform(transform);
}

void HUDWindow::DrawButtons(render::Graphics* graphics)
{
    if (!graphics)
        return;
    for (NQButtonFrame* button : mButtons)
    {
        if (button->mShown)
            button->Draw(graphics, mScale);
    }
    graphics->SetColor(kWhite);
}

void HUDWindow::DrawTexts(render::Graphics* graphics)
{
    for (const auto& [slot, text] : mTexts)
        DrawText(graphics, slot, text);
}

void HUDWindow::DrawText(render::Graphics* graphics, const std::wstring& slot, const std::wstring& text)
{
    if (!graphics)
        return;
    const bool large = slot == kCaptionSlot || slot == kLevelResultSlot;
    const resource::ResourceHandle<render::BMFont> font = large ? RootBoardFont(GameWindow::kFontLarge) : mFont;
    if (font)
        graphics->mFont = font.Get();

    const auto found = mTextSlots.find(slot);
    if (found == mTextSlots.end() || !found->second)
        return;
    const NQFrameEntry& box = *found->second;
    graphics->SetColor(box.mColor);

    const NQGameServices::ViewRect view = NQGameServices::Get()->GetViewRect();
    const float centreX = view.x + view.width / 2.0f;
    const float centreY = view.y + view.height / 2.0f;
    const float qx = box.mRect[0] + box.mRect[2] / 2.0f + mOffsetX;
    const float qy = box.mRect[1] + box.mRect[3] / 2.0f + mOffsetY;
    math::Transform2D transform;
    transform.Scale(mScale, mScale);
    transform.Translate(centreX + (qx - centreX) * mScale, centreY + (qy - centreY) * mScale);
    auto record = graphics->DrawTextBox(text, box.mRect[2], 0.0f, kTextLayoutOption, true).Transform(transform);
    record->SetAlign(kAlignCentre, kAlignCentre);
}

void HUDWindow::Update(float dt)
{
    mTime += dt;
    for (NQButtonFrame* button : mButtons)
        button->Update(dt);
}

void HUDWindow::Refresh()
{
}

void HUDWindow::Reserved()
{
}

void HUDWindow::OnClose()
{
}

void HUDWindow::OnMouseMove(int x, int y)
{
    mPointerX = float(x);
    mPointerY = float(y);
    for (NQButtonFrame* button : mButtons)
        button->HitTest(x, y);
}

void HUDWindow::OnMouseUp(int, int)
{
}

void HUDWindow::OnMouseDown(int, int)
{
}

void HUDWindow::OnMouseWheel(int)
{
}

void HUDWindow::OnChar(int)
{
}

void HUDWindow::OnKeyDown(int)
{
}

int HUDWindow::HitTest(int x, int y)
{
    for (size_t i = 0; i < mButtons.size(); ++i)
    {
        if (ContainsWithEdges(*mButtons[i], x, y))
            return int(i);
    }
    return -1;
}

std::wstring HUDWindow::Click(int x, int y)
{
    for (const NQButtonFrame* button : mButtons)
    {
        if (!button->mShown || !ContainsWithEdges(*button, x, y))
            continue;
        std::wstring name = button->mName;
        k2::SoundTags::Instance()->Play(kClickSound);
        return name;
    }
    return {};
}

NQButtonFrame* HUDWindow::FindButton(const std::wstring& name) const
{
    for (NQButtonFrame* button : mButtons)
    {
        if (button->mName == name)
            return button;
    }
    return nullptr;
}

void HUDWindow::SetText(const std::wstring& slot, const std::wstring& text)
{
    for (auto& pair : mTexts)
    {
        if (pair.first == slot)
        {
            pair.second = text;
            return;
        }
    }
    mTexts.emplace_back(slot, text);
}

void HUDWindow::SetImageVisible(const std::wstring& name, bool shown)
{
    for (NQFrameEntry* image : mImages)
    {
        if (image->mName == name)
            image->mShown = shown ? 1 : 0;
    }
}

void HUDWindow::SetFont(const resource::ResourceHandle<render::BMFont>& font)
{
    mFont = font;
}
