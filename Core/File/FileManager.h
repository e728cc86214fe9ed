#pragma once

#include "Core/Base/Singletone.h"
#include "Core/File/FileManagerWin32.h"
#include "Core/File/MountTable.h"

namespace file
{
// The data-root container.
class FileManager : public base::Singletone<FileManager>, public FileManagerWin32
{
public:
    // Filled directly by the game: "nq/" -> "data.dat".
    MountTable mountTable;
    // Multiplies the layer rectangles of "layers.xml".
    float imageScale = 1.0f;
    // Read by the bitmap-font loader.
    float fontScale = 1.0f;
};
}
