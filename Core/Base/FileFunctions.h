#pragma once

// Whole-file reading and folder creation through the file manager, so files
// inside a mounted pack read like loose ones.
#include "Core/Base/Result.h"

#include <string>

namespace base
{
// The file's text up to its first zero byte, a leading UTF-8 byte-order mark
// removed (and reported through hadByteOrderMark); "" when it cannot be read.
std::string ReadTextFile(const std::wstring& path, bool* hadByteOrderMark = nullptr);
// The file's bytes up to the first zero byte, a byte-order mark kept.
std::string ReadWholeFile(const std::wstring& path);

// Creates the folder and every missing parent.
HVResultEnum CreateDirectories(const std::wstring& path);
// 0 when the folder exists; otherwise its parent first, then the folder.
HVResultEnum CreateDirectoryTree(const std::wstring& path);
}
