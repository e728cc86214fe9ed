#pragma once

// A seam for acceptance runs: every lookup of content that finds nothing is
// reported here, so a run can prove that everything it asked for existed.
// Nothing is reported while no observer is set (the shipped program).
#include <string>

namespace base
{
enum class LookupMissKind
{
    File,           // a file the file manager was asked for
    ImageContainer, // a layered image that could not be opened
    Layer,          // a layer of a layered image, by name
    LayerPicture,   // a picture (layer or file) that failed to load
    String,         // a localised string key
    SoundTag,       // a sound tag nobody defined
    Emitter,        // a particle effect by name
    Frame,          // a frame of a sprite set
    Proto,          // a unit prototype by id
};

using LookupMissObserver = void (*)(LookupMissKind kind, const std::wstring& name);

// Null (the default) stops the reports.
void SetLookupMissObserver(LookupMissObserver observer);
void ReportLookupMiss(LookupMissKind kind, const std::wstring& name);

const wchar_t* LookupMissKindName(LookupMissKind kind);
} // namespace base
