#include "Game/Level/EnemyGrid.h"

#include "Game/Units/NQEnemy.h"

#include <algorithm>
#include <cmath>

namespace
{
// About a third of a short tower reach: a query reads a few dozen cells.
constexpr double kCellSize = 64.0;
// Cells per side at most; a wider spread gets larger cells.
constexpr double kMaxCellsPerSide = 128.0;
// Slack on the query box against rounding in the distance: far more than it
// can be, and only ever a few more candidates.
constexpr float kMarginUnits = 1.0f;
constexpr float kMarginShare = 1.0e-3f;
// Fewer candidates than this are sorted; more are marked and read back.
constexpr size_t kSortedAtMost = 48;

bool IsFinitePosition(const NQEnemy* enemy) { return std::isfinite(enemy->mX) && std::isfinite(enemy->mY); }

int32_t CellOf(double value, double origin, double invCell, int32_t cells)
{
    const double cell = std::floor((value - origin) * invCell);
    if (!(cell > 0.0))
        return 0;
    return cell >= double(cells - 1) ? cells - 1 : int32_t(cell);
}
} // namespace

void EnemyGrid::Clear()
{
    mBuilt = false;
    mList = nullptr;
    mCount = 0;
}

bool EnemyGrid::Covers(const std::vector<NQEnemy*>& enemies) const
{
    return mBuilt && mList == &enemies && mCount == enemies.size();
}

void EnemyGrid::Build(const std::vector<NQEnemy*>& enemies)
{
    mBuilt = true;
    mList = &enemies;
    mCount = enemies.size();
    mAnywhere.clear();
    mMarks.assign(enemies.size(), 0);
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    bool any = false;
    for (uint32_t i = 0; i < enemies.size(); ++i)
    {
        const NQEnemy* enemy = enemies[i];
        if (!IsFinitePosition(enemy))
        {
            mAnywhere.push_back(i);
            continue;
        }
        const double x = enemy->mX;
        const double y = enemy->mY;
        minX = any ? std::min(minX, x) : x;
        minY = any ? std::min(minY, y) : y;
        maxX = any ? std::max(maxX, x) : x;
        maxY = any ? std::max(maxY, y) : y;
        any = true;
    }
    const double cell = std::max({kCellSize, (maxX - minX) / (kMaxCellsPerSide - 1.0),
                                  (maxY - minY) / (kMaxCellsPerSide - 1.0)});
    mMinX = minX;
    mMinY = minY;
    mInvCell = 1.0 / cell;
    mColumns = int32_t((maxX - minX) * mInvCell) + 1;
    mRows = int32_t((maxY - minY) * mInvCell) + 1;

    // Counted, summed, then filled in list order: each cell's positions rise.
    const size_t cells = size_t(mColumns) * size_t(mRows);
    mCellStart.assign(cells + 1, 0);
    std::vector<uint32_t> cellOf(enemies.size(), 0);
    for (uint32_t i = 0; i < enemies.size(); ++i)
    {
        const NQEnemy* enemy = enemies[i];
        if (!IsFinitePosition(enemy))
            continue;
        const size_t c = size_t(CellOf(enemy->mY, mMinY, mInvCell, mRows)) * size_t(mColumns) +
                         size_t(CellOf(enemy->mX, mMinX, mInvCell, mColumns));
        cellOf[i] = uint32_t(c);
        ++mCellStart[c + 1];
    }
    for (size_t c = 0; c < cells; ++c)
        mCellStart[c + 1] += mCellStart[c];
    mItems.assign(mCellStart[cells], 0);
    std::vector<uint32_t> next(mCellStart.begin(), mCellStart.end() - 1);
    for (uint32_t i = 0; i < enemies.size(); ++i)
        if (IsFinitePosition(enemies[i]))
            mItems[next[cellOf[i]]++] = i;
}

const std::vector<uint32_t>& EnemyGrid::Near(float x, float y, float radius) const
{
    mFound.clear();
    if (!mBuilt)
        return mFound; // nothing to answer from
    const bool bounded = std::isfinite(x) && std::isfinite(y) && std::isfinite(radius) && radius >= 0.0f;
    if (!bounded)
    {
        // No box to draw: everything is a candidate.
        for (uint32_t i = 0; i < mCount; ++i)
            mFound.push_back(i);
        return mFound;
    }
    const float reach = radius + kMarginUnits + (std::fabs(x) + std::fabs(y) + radius) * kMarginShare;
    const int32_t left = CellOf(double(x) - reach, mMinX, mInvCell, mColumns);
    const int32_t right = CellOf(double(x) + reach, mMinX, mInvCell, mColumns);
    const int32_t top = CellOf(double(y) - reach, mMinY, mInvCell, mRows);
    const int32_t bottom = CellOf(double(y) + reach, mMinY, mInvCell, mRows);
    for (int32_t row = top; row <= bottom; ++row)
    {
        const size_t base = size_t(row) * size_t(mColumns);
        mFound.insert(mFound.end(), mItems.begin() + mCellStart[base + size_t(left)],
                      mItems.begin() + mCellStart[base + size_t(right) + 1]);
    }
    mFound.insert(mFound.end(), mAnywhere.begin(), mAnywhere.end());
    if (mFound.size() < kSortedAtMost)
    {
        std::sort(mFound.begin(), mFound.end());
        return mFound;
    }
    // Many candidates: marked, then read back in list order.
    uint32_t first = uint32_t(mCount);
    uint32_t last = 0;
    for (uint32_t i : mFound)
    {
        mMarks[i] = 1;
        first = std::min(first, i);
        last = std::max(last, i);
    }
    mFound.clear();
    for (uint32_t i = first; i <= last; ++i)
        if (mMarks[i])
        {
            mMarks[i] = 0;
            mFound.push_back(i);
        }
    return mFound;
}
