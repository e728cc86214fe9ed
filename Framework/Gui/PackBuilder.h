#pragma once

#include "Core/Base/Result.h"

#include <functional>
#include <string>

namespace gui
{
// Builds the pack at packPath from the loose files below the prefix folder.
// The pack is written beside itself as packPath + ".tmp", read back and
// checked, then renamed over the old pack; on any failure the old pack stays
// as it was, no ".tmp" file is left, and failure (when given) names the file
// and the reason.
HVResultEnum BuildPack(const std::wstring& prefix, const std::wstring& packPath, std::wstring* failure = nullptr);

namespace testing
{
// Called with each source path right before its bytes are copied (null: none).
void SetPackCopyHook(std::function<void(const std::wstring& sourcePath)> hook);
} // namespace testing
} // namespace gui
