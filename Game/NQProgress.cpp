#include "Game/NQProgress.h"

NQProgress::NQProgress() {}
NQProgress::~NQProgress() = default;
void NQProgress::EnsureSkeleton() {}
void NQProgress::ReloadProfileNames() {}
void NQProgress::SelectProfile(const std::wstring&) {}
void NQProgress::SwitchProfile(const std::wstring&) {}
void NQProgress::RenameProfile(const std::wstring&) {}
void NQProgress::DeleteProfile() {}
void NQProgress::ResetCurrentProfile() {}
void NQProgress::Save() {}
tinyxml2::XMLElement* NQProgress::FindOrCreateLevel(int, int, int) { return nullptr; }
NQLevelRecord* NQProgress::GetLevelRecord(int, int, int) { return new NQLevelRecord; }
void NQProgress::StoreLevelResult(int, int, int, const NQLevelRecord&) {}
int NQProgress::GetNextLevel(int, int) { return 0; }
bool NQProgress::IsLevelOpen(int, int, int) { return false; }
int NQProgress::GetStars(int) { return 0; }
void NQProgress::GetFurthestLevel(int& episode, int& level) { episode = level = 0; }
int NQProgress::GetLastEpisode() { return 0; }
int NQProgress::GetEpisodeVisited(int, int) { return 0; }
void NQProgress::SetEpisodeVisited(int, int, int) {}
bool NQProgress::GetEventFlag(int) { return false; }
void NQProgress::SetEventFlag(int) {}
int NQProgress::GetGems() { return 0; }
void NQProgress::SetGems(int) {}
void NQProgress::AddGems(int) {}
int NQProgress::GetMode() { return 0; }
void NQProgress::SetMode(int) {}
float NQProgress::GetMusicVolume() { return 1.0f; }
float NQProgress::GetSoundVolume() { return 1.0f; }
void NQProgress::SetMusicVolume(float) {}
void NQProgress::SetSoundVolume(float) {}
bool NQProgress::GetFullscreen() { return false; }
void NQProgress::SetFullscreen(bool) {}
bool NQProgress::IsTutorialEnabled() { return true; }
void NQProgress::SetTutorialEnabled(bool) {}
int NQProgress::GetTutorialStepState(int) { return 0; }
void NQProgress::SetTutorialStepState(int, int) {}
int NQProgress::GetTutorialParam(const std::wstring&) { return 0; }
int NQProgress::GetTutorialParam(const std::string&) { return 0; }
void NQProgress::SetTutorialParam(const std::wstring&, int) {}
int NQProgress::GetUpgradeLevel(int) { return -1; }
void NQProgress::SetUpgradeLevel(int, int) {}
void NQProgress::AddOwnedSpot(const std::wstring&, int, int) {}
bool NQProgress::IsSpotOwned(const std::wstring&, int, int) { return false; }
tinyxml2::XMLElement* NQProgress::GetProfileElement() { return nullptr; }
