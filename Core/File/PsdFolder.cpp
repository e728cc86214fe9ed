#include "Core/File/PsdFolder.h"

#include "Core/App/Application.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/LookupMiss.h"
#include "Core/Base/NormalizePath.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileContainer.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageFileInfo.h"
#include "Core/File/ReadStreamBytes.h"
#include "Core/Math/MathFunctions.h"

#include <memory>
#include <tinyxml2.h>

namespace file
{
namespace
{
const wchar_t* const kPictureExtensions[] = {L"", L".dds", L".jpg", L".gif", L".png", L".tga"};
constexpr int kPictureExtensionCount = 6;
// Floats in [low, high) truncate to an int; others saturate.
constexpr float kIntRangeLow = -2147483648.0f;
constexpr float kIntRangeHigh = 2147483648.0f;

// The runtime's single-byte lower-casing: only A to Z change.
std::wstring LowerAscii(std::wstring s)
{
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z')
            c = c - L'A' + L'a';
    return s;
}

std::wstring GroupPrefix(const std::wstring& group)
{
    return LowerAscii(base::NormalizePath(group));
}

bool StartsWith(const std::wstring& s, const std::wstring& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

int IntAttribute(const tinyxml2::XMLElement* e, const char* name, int absent)
{
    int value = absent;
    e->QueryIntAttribute(name, &value);
    return value;
}

// The application's image scale, 1 before the application exists. Not checked
// by the sanitizer's type test, which would link the whole application into
// every program that reads a layered image.
__attribute__((no_sanitize("vptr"))) float ApplicationImageScale()
{
    const app::Application* application = app::Application::Existing();
    return application ? application->mImageScale : 1.0f;
}

double DoubleAttribute(const tinyxml2::XMLElement* e, const char* name, double absent)
{
    double value = absent;
    e->QueryDoubleAttribute(name, &value);
    return value;
}
}

PsdFolder::PsdFolder(const std::wstring& path, FileContainer* owner)
    : ImageContainer(path, owner)
{
    ReadLayers();
}

void PsdFolder::ReadLayers()
{
    std::unique_ptr<FileInfo> info(m_owner->Open(m_path + L"/layers.xml"));
    if (!info)
        return;
    std::unique_ptr<base::Stream> stream(info->OpenStream());
    std::string text;
    if (!stream || !ReadStreamBytes(*stream, text))
        return;
    tinyxml2::XMLDocument doc(true);
    if (doc.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS)
        return;
    const tinyxml2::XMLElement* root = doc.FirstChildElement("Layers");
    if (!root)
        return;

    const float fileScale = FileManager::Instance()->imageScale;
    const float appScale = ApplicationImageScale();
    bool clamped = false;
    for (const tinyxml2::XMLElement* e = root->FirstChildElement("Layer"); e; e = e->NextSiblingElement("Layer"))
    {
        const char* name = e->Attribute("name");
        if (!name)
            break;
        // A damaged or hand-edited layout may hold coordinates whose scaled value
        // leaves the int range; they saturate and the layer stays.
        auto scaled = [&](const char* attribute) {
            const float value = static_cast<float>(IntAttribute(e, attribute, 0)) * fileScale;
            if (!(value >= kIntRangeLow && value < kIntRangeHigh))
                clamped = true;
            return math::TruncateToInt32(value);
        };
        // Absent opacity, index and atlas corners mean an opaque layer at index 0
        // covering the whole atlas.
        base::ImageInfo layer(base::ToWide(name, 1), scaled("x"), scaled("y"), scaled("width"), scaled("height"),
                              IntAttribute(e, "opacity", 255), IntAttribute(e, "ind", 0), true, false, appScale);
        if (const char* atlas = e->Attribute("atlas"))
        {
            const double tu1 = DoubleAttribute(e, "tu1", 0.0);
            const double tv1 = DoubleAttribute(e, "tv1", 0.0);
            const double tu2 = DoubleAttribute(e, "tu2", 1.0);
            const double tv2 = DoubleAttribute(e, "tv2", 1.0);
            layer.fromAtlas = true;
            layer.atlasName = GetChildPath() + base::ToWide(atlas, 1);
            layer.u = static_cast<float>(tu1);
            layer.v = static_cast<float>(1.0 - tv2);
            layer.du = static_cast<float>(tu2 - tu1);
            layer.dv = static_cast<float>(tv2 - tv1);
        }
        const auto it = m_layers.emplace(layer.name, layer).first;
        m_order.push_back(&it->second);
    }
    if (clamped)
        HV_LOG(L"Layer rectangles out of range were clamped in '%s'\n") % (m_path + L"/layers.xml");
}

base::Stream* PsdFolder::OpenStream(const std::wstring& name)
{
    return m_owner->OpenStream(m_path + L"/" + name);
}

base::StreamCreator* PsdFolder::OpenStreamCreator(const std::wstring& name)
{
    return m_owner->OpenStreamCreator(m_path + L"/" + name);
}

ImageFileInfo* PsdFolder::OpenChild(const std::wstring& name, const wchar_t* const* extensions, int count,
                                    int* foundIndex)
{
    const auto it = m_layers.find(name);
    if (it == m_layers.end())
    {
        base::ReportLookupMiss(base::LookupMissKind::Layer, CallerLayerPath(name));
        return nullptr;
    }
    std::wstring path = name;
    if (!it->second.fromAtlas && HasExtensionList(extensions, count))
    {
        int found = 0;
        if (!m_owner->FileExists(m_path + L"/" + name, extensions, count, &found))
            return nullptr;
        if (foundIndex)
            *foundIndex = found;
        path += extensions[found];
    }
    return new ImageFileInfo(base::GetBaseName(path), path, this, m_owner->IsPacked(), it->second);
}

base::ImageInfo* PsdFolder::FindLayer(const std::wstring& name)
{
    const auto it = m_layers.find(name);
    if (it == m_layers.end())
    {
        base::ReportLookupMiss(base::LookupMissKind::Layer, CallerLayerPath(name));
        return nullptr;
    }
    return &it->second;
}

base::ImageInfo* PsdFolder::GetLayer(int index)
{
    if (index < 0 || index >= static_cast<int>(m_order.size()))
        return nullptr;
    return m_order[index];
}

int PsdFolder::GetLayerCount()
{
    return static_cast<int>(m_order.size());
}

HVResultEnum PsdFolder::ListLayers(const std::wstring& group, bool recursive, std::vector<std::wstring>& out,
                                   bool strip)
{
    const std::wstring g = GroupPrefix(group);
    for (const base::ImageInfo* layer : m_order)
    {
        if (!StartsWith(layer->name, g))
            continue;
        const std::wstring rest = layer->name.substr(g.size());
        if (!recursive && rest.find(L'/') != std::wstring::npos)
            continue;
        out.push_back(strip ? rest : layer->name);
    }
    return HV_OK;
}

HVResultEnum PsdFolder::ListGroups(const std::wstring& group, std::vector<std::wstring>& out, bool strip)
{
    const std::wstring g = GroupPrefix(group);
    std::wstring last;
    bool any = false;
    // Names of one subgroup are adjacent in name order.
    for (auto it = m_layers.lower_bound(g); it != m_layers.end() && StartsWith(it->first, g); ++it)
    {
        const size_t slash = it->first.find(L'/', g.size());
        if (slash == std::wstring::npos)
            continue;
        std::wstring sub = it->first.substr(g.size(), slash - g.size());
        if (any && sub == last)
            continue;
        out.push_back(strip ? sub : g + sub);
        last = std::move(sub);
        any = true;
    }
    return HV_OK;
}

bool PsdFolder::HasLayer(const std::wstring& name)
{
    return m_layers.count(LowerAscii(name)) != 0;
}

bool PsdFolder::LayerFileExists(const std::wstring& name)
{
    return m_owner->FileExists(m_path + L"/" + name, kPictureExtensions, kPictureExtensionCount, nullptr);
}

bool PsdFolder::HasGroup(const std::wstring& group)
{
    const std::wstring g = GroupPrefix(group);
    for (auto it = m_layers.lower_bound(g); it != m_layers.end() && StartsWith(it->first, g); ++it)
        if (it->first.find(L'/', g.size()) != std::wstring::npos)
            return true;
    return false;
}
}
