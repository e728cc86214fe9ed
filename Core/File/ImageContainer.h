#pragma once

#include "Core/Base/Result.h"
#include "Core/File/Container.h"

#include <string>
#include <vector>

namespace base
{
class ImageInfo;
}

namespace file
{
class FileContainer;
class ImageFileInfo;

// A layered image seen as a container whose children are its layers.
class ImageContainer : public Container
{
public:
    // path: the folder or document, relative to the owner (not owned).
    ImageContainer(const std::wstring& path, FileContainer* owner);

    FileInfo* Open(const std::wstring& name, const wchar_t* const* extensions = nullptr, int count = 0,
                   int* foundIndex = nullptr) override;
    std::wstring GetRootPath() override { return GetChildPath(); }

    virtual ImageFileInfo* OpenChild(const std::wstring& name, const wchar_t* const* extensions, int count,
                                     int* foundIndex) = 0;
    // Exact name; null when absent.
    virtual base::ImageInfo* FindLayer(const std::wstring& name) = 0;
    // In reading order; null outside 0 .. count - 1.
    virtual base::ImageInfo* GetLayer(int index) = 0;
    virtual int GetLayerCount() = 0;
    virtual HVResultEnum ListLayers(const std::wstring& group, bool recursive, std::vector<std::wstring>& out,
                                    bool strip) = 0;
    virtual HVResultEnum ListGroups(const std::wstring& group, std::vector<std::wstring>& out, bool strip) = 0;
    virtual bool HasLayer(const std::wstring& name) = 0;
    virtual bool LayerFileExists(const std::wstring& name) = 0;
    virtual bool HasGroup(const std::wstring& group) = 0;

    // The owner's root + path + "/".
    std::wstring GetChildPath();
    const std::wstring& GetPath() const { return m_path; }
    FileContainer* GetOwner() const { return m_owner; }
    // Path + "/" + layer, as the program names it: what a lookup miss reports.
    std::wstring CallerLayerPath(const std::wstring& layer) const;

protected:
    std::wstring m_path;
    FileContainer* m_owner;
};
}
