// The balance sheets and the episode setup.
#include "Game/Level/NQMap.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Base/StringTokenizer.h"
#include "Game/Data/ConvertSheetToXml.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include <tinyxml2.h>

namespace
{
constexpr float kSellFactor = 0.5f;
const wchar_t* const kSetupSheet = L"nq/setup_sheet.csv";
// episode; levels; hardcore levels; stars to open; unused
constexpr int kSetupCells = 5;
constexpr int32_t kSkippedEpisode = -1;
constexpr int32_t kMissing = -1;
constexpr int32_t kStarsPerLevel = 3;
constexpr int32_t kAllEpisodes = -1;

// Sums of sheet numbers, held within the int32_t range.
int32_t Clamp(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Reads the setup sheet into the map, replacing the records it names and
// keeping the others.
void ReadSetupSheet(std::map<int32_t, NQEpisodeSetup>& setup)
{
    base::StringTokenizer lines(base::ReadTextFile(kSetupSheet), '\n', true);
    std::string line;
    while (lines.Next(line))
    {
        std::string packed;
        base::RemoveChar(line, ' ', packed);
        base::StringTokenizer cells(packed, ';', false);
        if (cells.CountTokens() != kSetupCells)
            continue;
        int episode = 0;
        NQEpisodeSetup record;
        int unused = 0;
        cells.NextInt(episode).NextInt(record.levels).NextInt(record.hardcoreLevels).NextInt(record.starsToOpen);
        cells.NextInt(unused);
        if (episode == kSkippedEpisode)
            continue;
        setup[episode] = record;
    }
}
} // namespace

void NQMap::LoadSheets()
{
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* data = doc.NewElement("data");
    tinyxml2::XMLElement* towers = doc.NewElement("towers");
    tinyxml2::XMLElement* units = doc.NewElement("units");
    tinyxml2::XMLElement* ammo = doc.NewElement("ammo");
    ConvertSheetToXml("nq/towers_sheet.csv", towers, &doc);
    ConvertSheetToXml("nq/units_sheet.csv", units, &doc);
    ConvertSheetToXml("nq/ammo_sheet.csv", ammo, &doc);
    data->InsertEndChild(towers);
    data->InsertEndChild(units);
    data->InsertEndChild(ammo);
    doc.InsertEndChild(data);

    // Every prototype pointer taken before a reload dies here.
    if (mUnitDatabase == nullptr)
        mUnitDatabase = new NQUnitDatabase(data);
    else
    {
        mUnitDatabase->Clear();
        mUnitDatabase->Load(data);
    }

    ReadSetupSheet(mEpisodeSetup);
    mSellFactor = kSellFactor;
    mDefaultGems = 0;
}

int32_t NQMap::GetEpisodeCount() const
{
    return static_cast<int32_t>(mEpisodeSetup.size());
}

int32_t NQMap::GetLevelCount(int32_t episode) const
{
    const auto found = mEpisodeSetup.find(episode);
    return found == mEpisodeSetup.end() ? kMissing : found->second.levels;
}

int32_t NQMap::GetHardcoreLevelCount(int32_t episode) const
{
    const auto found = mEpisodeSetup.find(episode);
    return found == mEpisodeSetup.end() ? kMissing : found->second.hardcoreLevels;
}

int32_t NQMap::GetStarsToOpenEpisode(int32_t episode) const
{
    const auto found = mEpisodeSetup.find(episode);
    return found == mEpisodeSetup.end() ? kMissing : found->second.starsToOpen;
}

int32_t NQMap::GetTotalLevelCount() const
{
    int64_t total = 0;
    // The count stops at the first episode the sheet lacks.
    for (int32_t episode = 0;; ++episode)
    {
        const auto found = mEpisodeSetup.find(episode);
        if (found == mEpisodeSetup.end())
            return Clamp(total);
        if (found->second.levels > 0)
            total += static_cast<int64_t>(found->second.levels) + found->second.hardcoreLevels;
    }
}

bool NQMap::IsEpisodeOpen(int32_t episode) const
{
    if (GetLevelCount(episode) <= 0)
        return false;
    return mProgress != nullptr && mProgress->GetStars(kAllEpisodes) >= GetStarsToOpenEpisode(episode);
}

bool NQMap::IsEpisodeFullyStarred(int32_t episode) const
{
    if (mProgress == nullptr)
        return false;
    return mProgress->GetStars(episode) >= static_cast<int64_t>(kStarsPerLevel) * GetLevelCount(episode);
}
