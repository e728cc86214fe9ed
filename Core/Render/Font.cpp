#include "Core/Render/Font.h"

#include "Core/Render/DrawTextParam.h"

namespace render
{
DrawUntransformedParam<DrawTextParam> Font::Text(const std::wstring& text)
{
    return DrawUntransformedParam<DrawTextParam>(DrawTextParam(this, &text));
}
} // namespace render
