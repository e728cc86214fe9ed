#include "Game/Data/NQUnlockTable.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Base/StringTokenizer.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"

#include <algorithm>
#include <cstdlib>

namespace
{
const wchar_t* const kUnlocksFile = L"nq/unlocks.csv";
const int32_t kEveryId = -1;
const int32_t kHardcore = 3;
// A CR LF line whose list is empty leaves only the '\r' in the third cell.
const char* const kLoneCarriageReturn = "\r";
} // namespace

NQUnlockTable::NQUnlockTable()
{
    Build(base::ReadTextFile(kUnlocksFile));
}

void NQUnlockTable::Build(const std::string& text)
{
    IdList running;
    int episode = 0;
    int level = 0;
    base::StringTokenizer lines(text, '\n', true);
    std::string line;
    while (lines.Next(line))
    {
        std::string packed;
        base::RemoveChar(line, ' ', packed);
        base::StringTokenizer cells(packed, ';', false);
        // A missing cell keeps the value of the row before.
        cells.NextInt(episode).NextInt(level);
        IdList row;
        std::string list;
        if (cells.Next(list) && list != kLoneCarriageReturn)
        {
            base::StringTokenizer ids(list, ',', true);
            std::string id;
            while (ids.Next(id))
            {
                row.push_back(static_cast<int32_t>(std::atoi(id.c_str())));
                running.push_back(row.back());
            }
        }
        mCumulative[episode][level] = running;
        mRows[episode][level] = row;
    }
}

bool NQUnlockTable::IsUnlocked(int32_t id) const
{
    const NQMap* map = Game::GetMap();
    if (map == nullptr)
        return false;
    return IsUnlockedAt(map->mEpisode, map->mLevel, id);
}

bool NQUnlockTable::IsUnlockedByProgress(int32_t id) const
{
    const NQMap* map = Game::GetMap();
    if (map == nullptr || map->mProgress == nullptr)
        return false;
    int episode = 0;
    int level = 0;
    map->mProgress->GetFurthestLevel(episode, level);
    return IsUnlockedAt(episode, level, id);
}

void NQUnlockTable::GetNewUnlocks(std::vector<int32_t>& ids) const
{
    const NQMap* map = Game::GetMap();
    if (map == nullptr)
        return;
    if (map->mMode != kHardcore)
    {
        const IdList* row = FindRowList(map->mEpisode, map->mLevel);
        ids = row != nullptr ? *row : IdList();
        return;
    }
    // A hardcore game announces its own set once, at its very first level.
    if (map->mEpisode == 0 && map->mLevel == 0)
        ids.insert(ids.end(), std::begin(kHardcoreFirstUnlocks), std::end(kHardcoreFirstUnlocks));
}

bool NQUnlockTable::IsUnlockedAt(int32_t episode, int32_t level, int32_t id) const
{
    const IdList* list = Find(mCumulative, episode, level);
    if (list == nullptr)
        return false;
    return std::any_of(list->begin(), list->end(), [id](int32_t entry) { return entry == id || entry == kEveryId; });
}

const NQUnlockTable::IdList* NQUnlockTable::FindCumulativeList(int32_t episode, int32_t level) const
{
    return Find(mCumulative, episode, level);
}

const NQUnlockTable::IdList* NQUnlockTable::FindRowList(int32_t episode, int32_t level) const
{
    return Find(mRows, episode, level);
}

const NQUnlockTable::IdList* NQUnlockTable::Find(const LevelLists& lists, int32_t episode, int32_t level)
{
    const auto levels = lists.find(episode);
    if (levels == lists.end())
        return nullptr;
    const auto entry = levels->second.find(level);
    return entry == levels->second.end() ? nullptr : &entry->second;
}
