#pragma once

// One episode's page of the episode select.
#include <string>

class NQFrameEntry;

struct HUDEpisodePage
{
    // Owned by the pager; its picture may be missing (the page then draws its texts only).
    NQFrameEntry* plate = nullptr;
    // The screen's frames, or null.
    NQFrameEntry* lock = nullptr;
    NQFrameEntry* badge = nullptr;
    std::wstring text;
};
