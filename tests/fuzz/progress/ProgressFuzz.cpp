// The bytes as "profiles.xml" of a temporary user-data folder: the progress
// record built over the store, every getter called, then a few setters.
#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/UserDataFileContainer.h"
#include "Game/Data/NQProgress.h"
#include "Game/NQGameServices.h"

#include "support/ScratchFolder.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{
const std::string& Folder()
{
    // Every setter saves (and flushes) the file: a memory-backed folder,
    // where there is one, keeps the runs fast.
    static const std::string folder =
        hvtest::MakeScratchFolder(access("/dev/shm", W_OK) == 0 ? "/dev/shm/hvfuzz-progress-XXXXXX"
                                                                 : "/tmp/hvfuzz-progress-XXXXXX") +
        "/";
    return folder;
}

// A small setup sheet, so that the level walks have something to walk.
class Services : public NQGameServices
{
public:
    int GetEpisodeCount() override { return 3; }
    int GetLevelCount(int) override { return 4; }
    int GetHardcoreLevelCount(int) override { return 2; }
    bool IsEpisodeOpen(int episode) override { return episode < 2; }
    std::vector<int> GetUpgradeIds() override { return {1, 2, 3}; }
    int GetUpgradeStepCount(int id) override { return id >= 1 && id <= 3 ? 4 : -1; }
    int GetMode() override { return mode; }
    void SetMode(int value) override { mode = value; }
    int mode = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Folder() + "profiles.xml";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);

    Services services;
    NQGameServices::Install(&services);
    file::UserDataFileContainer::Instance()->SetRootPath(std::wstring(Folder().begin(), Folder().end()));
    {
        auto progress = std::make_unique<NQProgress>();
        progress->GetProfileNames();
        progress->GetGems();
        progress->GetMode();
        progress->GetMusicVolume();
        progress->GetSoundVolume();
        progress->GetFullscreen();
        progress->IsTutorialEnabled();
        progress->GetTutorialStepState(1);
        progress->GetTutorialParam(std::string("dropChanceOverride"));
        progress->GetLastEpisode();
        progress->GetStars(-1);
        progress->GetStars(1);
        int episode = 0;
        int level = 0;
        progress->GetFurthestLevel(episode, level);
        for (int mode : {0, 3})
        {
            progress->GetNextLevel(0, mode);
            progress->IsLevelOpen(1, 2, mode);
        }
        delete progress->GetLevelRecord(0, 1, 1);
        progress->GetEpisodeVisited(1, 3);
        progress->GetEventFlag(2);
        progress->IsSpotOwned(L"#1", 0, 1);
        progress->GetUpgradeLevel(2);
        progress->GetUpgradeLevel(99);

        NQLevelRecord record;
        record.stars = 2;
        record.gems = 3;
        progress->StoreLevelResult(0, 1, 1, record);
        progress->AddGems(5);
        progress->SetUpgradeLevel(1, 0);
        progress->SetTutorialParam(L"p", 1);
        progress->SelectProfile(L"fuzz \u0444");
        progress->RenameProfile(L"fuzz 2");
        progress->DeleteProfile();
        progress->SetMode(1);
        if (!progress->GetProfileElement())
            abort();
    }
    base::testing::TeardownSingletonsNow();
    NQGameServices::Remove(&services);
    return 0;
}
