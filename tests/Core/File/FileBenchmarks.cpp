#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/FileManager.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "support/PackBuilder.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

namespace
{
// A lookup through the "nq/" mount: the pack's existence is tested every time.
void FileExistsThroughMount(benchmark::State& state)
{
    hvtest::TempFolder dir;
    hvtest::CurrentDirectory cd(dir.Folder());
    hvtest::PackFiles files;
    std::vector<std::wstring> paths;
    for (int i = 0; i < 5000; ++i)
    {
        const std::wstring name = L"data/group" + std::to_wstring(i % 50) + L"/file" + std::to_wstring(i) + L".png";
        files.emplace_back(name, "x");
        paths.push_back(L"nq/" + name);
    }
    hvtest::WritePack(dir.Folder() / "data.dat", files);
    file::FileManager* manager = file::FileManager::Instance();
    manager->mountTable[L"nq/"] = L"data.dat";
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(manager->FileExists(paths[i]));
        i = (i + 7919) % paths.size();
    }
    base::testing::TeardownSingletonsNow();
}
BENCHMARK(FileExistsThroughMount)->Unit(benchmark::kMicrosecond);

// One save of a player's profiles, flushed to the disk.
void ProfilesSave(benchmark::State& state)
{
    hvtest::TempFolder dir;
    file::UserDataFileContainer::Instance()->SetRootPath(dir.Wide());
    file::Profiles* profiles = file::Profiles::Instance();
    profiles->Load();
    for (int level = 0; level < 60; ++level)
    {
        tinyxml2::XMLElement* e = profiles->GetDocument()->NewElement("level");
        e->SetAttribute("id", level);
        e->SetAttribute("stars", level % 4);
        profiles->GetCurrentProfile()->InsertEndChild(e);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(profiles->Save());
    base::testing::TeardownSingletonsNow();
}
BENCHMARK(ProfilesSave)->Unit(benchmark::kMillisecond);
}
