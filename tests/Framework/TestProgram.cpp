// The test application as a whole program, for the process-level tests.
#include "TestApplication.h"

namespace app
{
Application* CreateApplication()
{
    return new frameworktest::TestApplication;
}
} // namespace app
