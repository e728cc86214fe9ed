#include "Framework/Gui/PackBuilder.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/NormalizePath.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackDirectory.h"
#include "Platform/Win32/Files.h"

#include <cstdint>
#include <vector>

namespace gui
{
namespace
{
std::function<void(const std::wstring&)>& CopyHook()
{
    static std::function<void(const std::wstring&)> hook;
    return hook;
}

// Stream sizes and pack fields are 32-bit.
constexpr uint64_t kLargest = 0xFFFFFFFFull;

uint64_t FileSize(file::FileHandleWin32& file)
{
    DWORD high = 0;
    const DWORD low = GetFileSize(file.GetHandle(), &high);
    return (uint64_t(high) << 32) | low;
}

// The build itself; every handle is closed when it returns.
class PackWriter
{
public:
    PackWriter(const std::wstring& folder, const std::wstring& packPath, const std::wstring& tempPath)
        : mFolder(folder), mPackPath(packPath), mTempPath(tempPath)
    {
    }

    HVResultEnum Build()
    {
        HVResultEnum result = Measure();
        if (result == HV_OK)
            result = Write();
        if (result == HV_OK)
            result = Verify();
        return result;
    }

    std::wstring mFailure;

private:
    HVResultEnum Fail(const std::wstring& path, const std::wstring& reason)
    {
        mFailure = path + L": " + reason;
        return HV_FAIL;
    }

    // The loose files through the disk's own listing: with the pack present
    // its mount would answer for the prefix instead.
    HVResultEnum Measure()
    {
        file::FileManager* files = file::FileManager::Instance();
        std::vector<std::wstring> names;
        files->DoListFiles(mFolder, mFolder, L"", true, names, true);
        for (const std::wstring& name : names)
        {
            const std::wstring path = mFolder + name;
            if (path == mPackPath || path == mTempPath)
                continue;
            file::FileHandleWin32 source;
            if (source.Open(path, 0, 2) != HV_OK)
                return Fail(path, L"cannot be opened");
            const uint64_t size = FileSize(source);
            if (size > kLargest)
                return Fail(path, L"is 4 GiB or larger");
            mDirectory.entries[name].size = uint32_t(size);
        }
        uint64_t offset = mDirectory.GetSize();
        for (auto& [name, entry] : mDirectory.entries)
        {
            if (offset + entry.size > kLargest)
                return Fail(mFolder + name, L"ends past 4 GiB in the pack");
            entry.offset = uint32_t(offset);
            offset += entry.size;
        }
        mLength = offset;
        return HV_OK;
    }

    HVResultEnum Write()
    {
        base::FileStream pack;
        if (pack.GetFile().Open(mTempPath, 1, 0) != HV_OK)
            return Fail(mTempPath, L"cannot be created");
        if (mDirectory.Write(pack) != HV_OK)
            return Fail(mTempPath, L"its directory could not be written");
        for (const auto& [name, entry] : mDirectory.entries)
        {
            const std::wstring path = mFolder + name;
            if (CopyHook())
                CopyHook()(path);
            base::FileStream source;
            if (source.GetFile().Open(path, 0, 2) != HV_OK)
                return Fail(path, L"cannot be opened");
            if (FileSize(source.GetFile()) != entry.size)
                return Fail(path, L"changed size while the pack was built");
            if (pack.CopyFrom(source, base::Stream::kAll) != entry.size)
                return Fail(path, L"could not be copied whole");
        }
        if (!FlushFileBuffers(pack.GetFile().GetHandle()) || pack.GetFile().Close() != HV_OK)
            return Fail(mTempPath, L"could not be written to the disk");
        return HV_OK;
    }

    HVResultEnum Verify()
    {
        base::FileStream pack;
        if (pack.GetFile().Open(mTempPath, 0, 2) != HV_OK)
            return Fail(mTempPath, L"cannot be opened again");
        if (FileSize(pack.GetFile()) != mLength)
            return Fail(mTempPath, L"has the wrong length");
        file::PackDirectory read;
        if (read.Read(pack) != HV_OK || read.entries.size() != mDirectory.entries.size())
            return Fail(mTempPath, L"its directory does not read back");
        auto written = mDirectory.entries.begin();
        for (const auto& [name, entry] : read.entries)
        {
            if (name != written->first || entry.size != written->second.size ||
                entry.offset != written->second.offset)
                return Fail(mTempPath, L"its directory does not read back");
            ++written;
        }
        return HV_OK;
    }

    std::wstring mFolder;
    std::wstring mPackPath;
    std::wstring mTempPath;
    file::PackDirectory mDirectory;
    uint64_t mLength = 0;
};
} // namespace

HVResultEnum BuildPack(const std::wstring& prefix, const std::wstring& packPath, std::wstring* failure)
{
    file::FileManager* files = file::FileManager::Instance();
    const std::wstring tempPath = packPath + L".tmp";
    PackWriter writer(base::NormalizePath(prefix), packPath, tempPath);
    HVResultEnum result = writer.Build();
    if (result == HV_OK && files->MoveFile(tempPath, packPath) != HV_OK)
    {
        writer.mFailure = packPath + L": could not be replaced";
        result = HV_FAIL;
    }
    if (result == HV_OK)
    {
        HV_LOG(L"Pack %s built from %s\n") % packPath % prefix;
        return HV_OK;
    }
    if (files->DoFileExists(tempPath, nullptr, 0, nullptr))
        files->DeleteFile(tempPath);
    HV_LOG(L"Pack %s not built: %s\n") % packPath % writer.mFailure;
    if (failure)
        *failure = writer.mFailure;
    return result;
}

namespace testing
{
void SetPackCopyHook(std::function<void(const std::wstring& sourcePath)> hook)
{
    CopyHook() = std::move(hook);
}
} // namespace testing
} // namespace gui
