#pragma once

// The test application started in this process on a temporary data root and
// user-data folder, with the window on the offscreen driver, the renderer
// on the Direct3D 9 stand-in and the monitors supplied.
#include "TestApplication.h"
#include "support/LogCapture.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

namespace frameworktest
{
// Every log entry written since the application's start.
using hvtest::LogLines;

class ApplicationTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // One monitor with its work area below a top panel of (height - workHeight).
    static void SupplyMonitor(int width, int height, int workHeight);
    // Makes the application and runs PreInit with these arguments; the
    // executable folder is the data root, so packs stay in the temporary folder.
    TestApplication* Make(const std::vector<std::wstring>& arguments);
    // Make, then Init.
    HVResultEnum Start(const std::vector<std::wstring>& arguments);
    std::vector<std::wstring> DataRootArguments() const { return {L"--data_path", data.Wide()}; }
    // Window updates (each pumps one message and runs a frame or a switch).
    HVResultEnum Pump(int updates);
    void Push(SDL_Event event) { SDL_PushEvent(&event); }
    // Log lines among these texts, in order.
    static std::vector<std::wstring> LogLinesAmong(const std::vector<std::wstring>& texts);

    hvtest::TempFolder data;
    hvtest::TempFolder user;
    std::unique_ptr<hvtest::ScopedEnv> userEnv;
    std::unique_ptr<hvtest::CurrentDirectory> keepDirectory;
    TestApplication* application = nullptr;
};
} // namespace frameworktest
