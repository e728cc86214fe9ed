#pragma once

#include "Framework/Widget/BaseBoard.h"

#include <string>

namespace gui
{
// The root board of the pack-builder start: its Load builds one pack for
// every mount of the file manager. It shows nothing.
class PackScreen : public widget::BaseBoard
{
public:
    // The folder is kept; which packs are built does not depend on it.
    explicit PackScreen(const std::wstring& folder);

    // Every mount in key order; the first failure stops the building.
    HVResultEnum Load() override;
    HVResultEnum BuildPack(const std::wstring& prefix, const std::wstring& packPath);

    std::wstring mFolder;
    // The file and the reason of the last failed build.
    std::wstring mFailure;
};
} // namespace gui
