#include "support/PackBuilder.h"

#include "Core/Base/MemoryStream.h"
#include "Core/File/PackDirectory.h"

#include <filesystem>
#include <fstream>
#include <map>

namespace hvtest
{
std::string BuildPack(const PackFiles& files)
{
    file::PackDirectory directory;
    std::map<std::wstring, const std::string*, file::PackNameLess> bytes;
    for (const auto& [name, content] : files)
    {
        directory.entries[name].size = static_cast<uint32_t>(content.size());
        bytes[name] = &content;
    }
    uint32_t offset = directory.GetSize();
    for (auto& [name, entry] : directory.entries)
    {
        entry.offset = offset;
        offset += entry.size;
    }
    base::MemoryStream pack;
    directory.Write(pack);
    for (const auto& [name, content] : bytes)
    {
        base::MemoryStream source(content->data(), content->size());
        pack.CopyFrom(source, static_cast<uint32_t>(content->size()));
    }
    return std::string(reinterpret_cast<const char*>(pack.GetData()), pack.Size());
}

void WritePack(const std::string& path, const PackFiles& files)
{
    const std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    const std::string bytes = BuildPack(files);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
}
