#include "Core/Render/ParticleSystem.h"

#include "Core/Base/LogMessage.h"
#include "Core/Base/LookupMiss.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ReadStreamBytes.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/Render.h"
#include "Platform/Magic/Magic.h"

#include <memory>

namespace render
{
ParticleSystem::~ParticleSystem()
{
    for (auto& entry : mEmitters)
        delete entry.second;
}

void ParticleSystem::Load(const std::string& file, Render* render)
{
    static const wchar_t* const kExtensions[] = {L"", L".ptc"};
    const std::wstring path = base::Utf8ToWide(mFolder + file);
    std::unique_ptr<base::Stream> stream;
    {
        std::unique_ptr<file::FileInfo> entry(file::FileManager::Instance()->Open(path, kExtensions, 2));
        if (entry)
            stream.reset(entry->OpenStream());
    }
    // The library reads zero-terminated text: the appended zero keeps every
    // read inside the buffer.
    std::string bytes;
    if (!stream || !file::ReadStreamBytes(*stream, bytes))
    {
        HV_LOG(L"Particle file '%s' could not be read\n") % path;
        return;
    }
    bytes.push_back('\0');
    stream.reset();

    const int handle = Magic_OpenFileInMemory(bytes.data());
    if (handle <= 0)
    {
        HV_LOG(L"Particle file '%s' was refused by the particle library\n") % path;
        return;
    }
    LoadFolder(handle, "");

    const int atlasCount = Magic_GetStaticAtlasCount(handle);
    for (int i = 0; i < atlasCount; ++i)
    {
        // A picture that does not load keeps its slot, so indices stay aligned.
        Image* image = nullptr;
        MagicAtlasRecord atlas{};
        if (render && Magic_GetStaticAtlas(handle, i, &atlas) && atlas.file &&
            render->LoadTexture(base::BytesToWide(mFolder + atlas.file), nullptr, &image, nullptr) != HV_OK)
            image = nullptr;
        mAtlases.push_back(image);
    }
}

void ParticleSystem::LoadFolder(int file, const std::string& path)
{
    Magic_SetCurrentFolder(file, path.c_str());
    MagicFindRecord find{};
    for (const char* name = Magic_FindFirst(file, &find, 3); name; name = Magic_FindNext(file, &find))
    {
        const std::string item = name;
        if (!find.is_emitter)
        {
            LoadFolder(file, item);
            continue;
        }
        const int emitter = Magic_LoadEmitter(file, item.c_str());
        if (!emitter)
            continue;
        const size_t slash = item.rfind('/');
        ParticleEmitter*& slot = mEmitters[slash == std::string::npos ? item : item.substr(slash + 1)];
        // A later effect of the same name replaces the earlier one, which
        // would otherwise keep its library emitter to the end.
        delete slot;
        slot = new ParticleEmitter(emitter);
        if (mInterpolationMode != 0)
            Magic_SetInterpolationMode(emitter, mInterpolationMode == 1);
        Magic_SetLoopMode(emitter, mLoopMode);
    }
    Magic_SetCurrentFolder(file, "..");
}

ParticleEmitter* ParticleSystem::CreateEmitter(const std::string& name)
{
    const auto it = mEmitters.find(name);
    if (it == mEmitters.end())
    {
        base::ReportLookupMiss(base::LookupMissKind::Emitter, std::wstring(name.begin(), name.end()));
        return nullptr;
    }
    return new ParticleEmitter(*it->second);
}

void ParticleSystem::ReleaseTextures()
{
    for (Image* image : mAtlases)
        if (image)
        {
            image->Release();
            delete image;
        }
    mAtlases.clear();
}
} // namespace render
