#pragma once

// The pictures every start loads before the main menu (logos, loading and
// side pictures, the sprite sheets of the level object), decoded ahead on
// worker threads while the window and the renderer are made.
#include <memory>

namespace render
{
class PictureDecodePool;
}

namespace startup
{
// The game's side pictures (layers "l" and "r") and its loading picture.
inline constexpr const wchar_t* kSidesPath = L"nq/data/sides";
inline constexpr const wchar_t* kSides[] = {L"l", L"r"};
inline constexpr const wchar_t* kLoadingPath = L"nq/data/loading";

// The sprite-set folders of the units, towers and interface parts, in loading order.
inline constexpr const wchar_t* kUnitSpriteFolders[] = {
    L"nq/units/t1units",    L"nq/units/t2units", L"nq/units/t3units", L"nq/towers/artillery",
    L"nq/towers/dart",      L"nq/towers/cannon", L"nq/towers/support", L"nq/data/ui_parts",
};

// A pool already decoding those pictures, in the order the start loads them.
std::unique_ptr<render::PictureDecodePool> DecodeStartupPicturesAhead();
} // namespace startup
