#include "ShippedLevels.h"

#include <cstdio>
#include <utility>

namespace contenttest
{
namespace
{
constexpr int kEpisodes = 3;
constexpr int kNormalLevels = 6;
constexpr int kHardcoreLevels = 3;
} // namespace

std::vector<ShippedLevel> ShippedLevels()
{
    std::vector<ShippedLevel> levels;
    for (const auto& [folder, count] : {std::pair<std::string, int>{"levels_normal", kNormalLevels},
                                        std::pair<std::string, int>{"levels_hardcore", kHardcoreLevels}})
        for (int episode = 0; episode < kEpisodes; ++episode)
            for (int level = 0; level < count; ++level)
            {
                char name[32];
                std::snprintf(name, sizeof(name), "level_%02d_%02d", episode + 1, level + 1);
                levels.push_back({folder, name, episode, level});
            }
    return levels;
}

std::string ShippedLevelName(const testing::TestParamInfo<ShippedLevel>& info)
{
    return info.param.folder.substr(std::string("levels_").size()) + "_" + info.param.name.substr(6);
}
} // namespace contenttest
