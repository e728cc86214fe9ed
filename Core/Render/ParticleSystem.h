#pragma once

#include "Core/Base/Singletone.h"

#include <map>
#include <string>
#include <vector>

namespace render
{
class Image;
class ParticleEmitter;
class Render;

// The particle library's front end: one loaded particle file, a prototype
// emitter per effect name, and the library's atlas pictures.
class ParticleSystem : public base::Singletone<ParticleSystem>
{
public:
    ParticleSystem() = default;
    // Deletes the prototypes (so their library emitters are unloaded). The
    // atlas pictures are freed only by ReleaseTextures.
    ~ParticleSystem() override;

    // Reports nothing; a file that cannot be used leaves no emitters and no atlases.
    void Load(const std::string& file, Render* render);
    // A new emitter owned by the caller, in state 0; null unless the name is exact.
    ParticleEmitter* CreateEmitter(const std::string& name);
    void ReleaseTextures();

    // Prefix of the particle file and of the atlas picture names.
    std::string mFolder;
    std::map<std::string, ParticleEmitter*> mEmitters;
    // Indexed by the library's texture index; null where a picture did not load.
    std::vector<Image*> mAtlases;
    // 0 keeps the library's default, 1 turns interpolation on, other values off.
    int mInterpolationMode = 1;
    int mLoopMode = 0;

private:
    void LoadFolder(int file, const std::string& path);
};
} // namespace render
