#pragma once

// Which towers, spells and upgrade targets the player may use at a level:
// "nq/unlocks.csv", one row per (episode, level) in play order, each row
// adding its ids to everything the rows above it unlocked. The id -1 stands
// for every id.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class NQUnlockTable
{
public:
    using IdList = std::vector<int32_t>;
    // The ids a hardcore game announces at its first level.
    static constexpr int32_t kHardcoreFirstUnlocks[] = {36, 37, 38};
    using LevelLists = std::map<int32_t, std::map<int32_t, IdList>>;

    // Reads "nq/unlocks.csv"; a missing file unlocks nothing anywhere.
    NQUnlockTable();

    // The building step alone, on the file's text; adds to what is there.
    void Build(const std::string& text);

    // The cumulative list of the running level's episode and level holds the
    // id or -1.
    bool IsUnlocked(int32_t id) const;
    // The same at the furthest level the player has reached.
    bool IsUnlockedByProgress(int32_t id) const;
    // The lookup both share; a level without a row unlocks nothing.
    bool IsUnlockedAt(int32_t episode, int32_t level, int32_t id) const;

    // The ids to announce at level start: the running level's row list, or in
    // hardcore 36, 37, 38 appended at the very first level only.
    void GetNewUnlocks(std::vector<int32_t>& ids) const;

    // The lists of one (episode, level), or null when it has no row.
    const IdList* FindCumulativeList(int32_t episode, int32_t level) const;
    const IdList* FindRowList(int32_t episode, int32_t level) const;

private:
    static const IdList* Find(const LevelLists& lists, int32_t episode, int32_t level);

    LevelLists mCumulative;
    LevelLists mRows;
};
