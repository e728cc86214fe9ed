#pragma once

// The live enemies bucketed by position on a uniform grid over the area they
// stand in, so a range query looks at the cells around a point instead of at
// every enemy. Built from the list as it is; the answers are list positions
// in list order, so a caller that tests them in that order finds what a walk
// over the whole list finds.
#include <cstddef>
#include <cstdint>
#include <vector>

class NQEnemy;

class EnemyGrid
{
public:
    void Build(const std::vector<NQEnemy*>& enemies);
    void Clear();
    // True when built from this list and the list has not grown or shrunk
    // since. Nobody may move an enemy while the grid is in use.
    bool Covers(const std::vector<NQEnemy*>& enemies) const;
    // Rising list positions of the enemies that may lie within the radius of
    // the point: every enemy whose position is strictly closer is among them.
    // Valid until the next call.
    const std::vector<uint32_t>& Near(float x, float y, float radius) const;

private:
    bool mBuilt = false;
    const std::vector<NQEnemy*>* mList = nullptr;
    size_t mCount = 0;
    double mMinX = 0.0;
    double mMinY = 0.0;
    double mInvCell = 1.0;
    int32_t mColumns = 0;
    int32_t mRows = 0;
    // The list positions of cell c are mItems[mCellStart[c], mCellStart[c + 1]).
    std::vector<uint32_t> mCellStart;
    std::vector<uint32_t> mItems;
    // Enemies without a finite position: a distance to them compares as no
    // number, so every query must look at them.
    std::vector<uint32_t> mAnywhere;
    mutable std::vector<uint32_t> mFound;
    // One per enemy, all 0 between queries.
    mutable std::vector<uint8_t> mMarks;
};
