#include "Core/Base/LookupMiss.h"

namespace base
{
namespace
{
LookupMissObserver sObserver = nullptr;
}

void SetLookupMissObserver(LookupMissObserver observer) { sObserver = observer; }

void ReportLookupMiss(LookupMissKind kind, const std::wstring& name)
{
    if (sObserver)
        sObserver(kind, name);
}

const wchar_t* LookupMissKindName(LookupMissKind kind)
{
    switch (kind)
    {
    case LookupMissKind::File: return L"file";
    case LookupMissKind::ImageContainer: return L"image";
    case LookupMissKind::Layer: return L"layer";
    case LookupMissKind::LayerPicture: return L"picture";
    case LookupMissKind::String: return L"string";
    case LookupMissKind::SoundTag: return L"sound";
    case LookupMissKind::Emitter: return L"effect";
    case LookupMissKind::Frame: return L"frame";
    case LookupMissKind::Proto: return L"proto";
    }
    return L"?";
}
} // namespace base
