#include "Game/LocalStrings.h"

const std::wstring LocalStrings::kFileName = L"nq/strings_en.csv";

LocalStrings::LocalStrings() { Load(kFileName); }
void LocalStrings::Load(const std::wstring&) {}
std::wstring LocalStrings::Get(const std::wstring& key) { return key; }
void LocalStrings::Parse(const std::string&, Table&) {}
void LocalStrings::AppendPlaceholder(const std::wstring&, const std::wstring&) {}
