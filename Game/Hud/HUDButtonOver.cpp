#include "Game/Hud/HUDButtonOver.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Paths.h"
#include "Core/Base/StringTokenizer.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQFrameEntry.h"

namespace
{
constexpr int kAnchorCentre = 2;
constexpr wchar_t kFolderSeparator = L'_';
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// A frame at the "pos" rectangle with the picture of the named layer.
NQFrameEntry* MakePictureFrame(file::ImageContainer* layout, const base::ImageInfo* pos, const std::wstring& layer,
                               const std::wstring& folder)
{
    auto* frame = new NQFrameEntry;
    frame->mOwnsPicture = 1;
    if (pos)
    {
        frame->mRect[0] = pos->x;
        frame->mRect[1] = pos->y;
        frame->mRect[2] = pos->w;
        frame->mRect[3] = pos->h;
        frame->mLayerIndex = pos->index;
    }
    frame->mName = base::GetBaseName(layer);
    // A missing picture leaves the frame without one: hit-tested, never drawn.
    if (FindContainerImage(layout, layer))
        frame->mPicture = LoadContainerImage(layout, layer);
    else
        HV_LOG(L"over button %s: no layer %s\n") % folder % layer;
    return frame;
}
} // namespace

void HUDButtonOver::SplitFolder(const std::wstring& folder, std::wstring& prefix, std::wstring& name)
{
    base::WStringTokenizer tokens(folder, kFolderSeparator, true);
    prefix.clear();
    name.clear();
    tokens.Next(prefix);
    tokens.Next(name);
}

HUDButtonOver::HUDButtonOver(file::ImageContainer* layout, const std::wstring& folder)
{
    mVisible = 1;
    mHovered = 0;
    mScale = kRestScale;
    mOffsetX = 0.0f;

    std::wstring prefix;
    SplitFolder(folder, prefix, mName);

    const std::wstring group = L"button/" + folder;
    const base::ImageInfo* pos = FindContainerImage(layout, group + L"/pos");
    if (!pos)
    {
        // Without its place the button cannot be shown or hit.
        HV_LOG(L"over button %s has no pos layer\n") % folder;
        mVisible = 0;
    }
    if (const base::ImageInfo* label = FindContainerImage(layout, group + L"/label"))
    {
        mHasLabel = 1;
        mLabelRect[0] = label->x;
        mLabelRect[1] = label->y;
        mLabelRect[2] = label->w;
        mLabelRect[3] = label->h;
    }
    mNormal = MakePictureFrame(layout, pos, L"button/" + prefix + L"_normal", folder);
    mOver = MakePictureFrame(layout, pos, L"button/" + prefix + L"_over", folder);
}

HUDButtonOver::~HUDButtonOver()
{
    delete mNormal;
    mNormal = nullptr;
    delete mOver;
    mOver = nullptr;
}

bool HUDButtonOver::Contains(int x, int y)
{
    const NQFrameEntry* frame = CurrentFrame();
    if (!mVisible || !frame)
        return false;
    const float px = float(x);
    const float py = float(y);
    const float left = frame->mRect[0] + mOffsetX;
    const float top = frame->mRect[1];
    return px >= left && px <= left + frame->mRect[2] && py >= top && py <= top + frame->mRect[3];
}

void HUDButtonOver::Draw(render::Graphics* graphics)
{
    if (!graphics || !mVisible)
        return;
    if (const NQFrameEntry* frame = CurrentFrame(); frame && frame->mPicture)
    {
        math::Transform2D transform;
        transform.Scale(mScale, mScale);
        transform.Translate(frame->mRect[0] + frame->mRect[2] / 2.0f + mOffsetX,
                            frame->mRect[1] + frame->mRect[3] / 2.0f);
        auto record = graphics->DrawImage(*frame->mPicture).Transform(transform);
        record->SetAnchor(kAnchorCentre, kAnchorCentre);
    }
    graphics->SetColor(kWhite);
    if (mFont)
        graphics->mFont = mFont.Get();
    if (!mHasLabel || mLabel.empty())
        return;
    const float fit = LabelFit(graphics->mFont);
    math::Transform2D transform;
    transform.Scale(mScale * fit, mScale * fit);
    transform.Translate(mLabelRect[0] + mLabelRect[2] / 2.0f + mOffsetX, mLabelRect[1] + mLabelRect[3] / 2.0f);
    auto record = graphics->DrawText(mLabel).Transform(transform);
    record->SetAlign(kAnchorCentre, kAnchorCentre);
}

float HUDButtonOver::LabelFit(render::Font* font) const
{
    // Unmeasurable: drawn as it is.
    if (!font)
        return 1.0f;
    float width = 0.0f;
    {
        auto record = font->Text(mLabel);
        record->SetWidthOut(&width);
    }
    const float room = mLabelRect[2] - 2.0f * kLabelMargin;
    if (width <= room || room <= 0.0f)
        return 1.0f;
    return room / width;
}

void HUDButtonOver::Update(float dt)
{
    mTimer += dt;
    AnimateHover(dt, kGrowPerSecond, kShrinkPerSecond);
}

void HUDButtonOver::OnMouseDown(int x, int y) { mPressed = Contains(x, y) ? 1 : 0; }

void HUDButtonOver::OnMouseUp(int, int) { mPressed = 0; }

void HUDButtonOver::OnMouseMove(int x, int y) { mHovered = Contains(x, y) ? 1 : 0; }
