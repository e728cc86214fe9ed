#include "Game/NQSpriteSet.h"

#include "Game/NQFrameEntry.h"

const char* const NQSpriteSet::kGroupNames[kGroupCount] = {
    "rotate", "f_00", "f_01", "f_02", "f_03", "f_04",  "f_05",  "f_06",       "f_07", "f_08",
    "f_09",   "f_10", "f_11", "f_12", "f_13", "f_14",  "f_15",  "blast",      "idle", "shot",
    "pivot",  "fire", "s_point", "",  "base_point", "walk", "death", "special"};

NQSpriteSet::NQSpriteSet(const tinyxml2::XMLElement*) {}
NQSpriteSet::NQSpriteSet(const std::wstring& path) : mPath(path) {}
NQSpriteSet::NQSpriteSet(file::ImageContainer*, const std::wstring& group) : mPath(L"nq/" + group) {}
NQSpriteSet::~NQSpriteSet() = default;
void NQSpriteSet::LoadFromFile(const std::string&) {}
void NQSpriteSet::LoadFrames(file::ImageContainer*, const std::wstring&) {}
NQFrameEntry* NQSpriteSet::FindFrame(const std::wstring&, const std::wstring&) { return nullptr; }
const NQSpriteSet::FrameList& NQSpriteSet::GetFrames(const std::string&) const
{
    static const FrameList empty;
    return empty;
}
