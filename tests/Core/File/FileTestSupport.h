#pragma once

// A temporary data root as the current directory, with fresh singletons
// for every test.
#include "Core/Base/SingletoneRegistry.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace hvtest
{
class DataRootTest : public ::testing::Test
{
protected:
    void SetUp() override { m_cd = std::make_unique<CurrentDirectory>(dir.Folder()); }
    void TearDown() override
    {
        base::testing::TeardownSingletonsNow();
        m_cd.reset();
    }

    static file::FileManager* Files() { return file::FileManager::Instance(); }

    TempFolder dir;

private:
    std::unique_ptr<CurrentDirectory> m_cd;
};

// The whole stream (deleted afterwards); "<null>" for no stream.
inline std::string Drain(base::Stream* stream)
{
    if (!stream)
        return "<null>";
    std::unique_ptr<base::Stream> owned(stream);
    std::string out;
    char buffer[7]; // small on purpose: reads in several steps
    while (uint32_t n = owned->Read(buffer, sizeof(buffer)))
        out.append(buffer, n);
    return out;
}
}
