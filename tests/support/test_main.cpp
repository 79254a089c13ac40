// Every test executable: the framework initialised as the process entry would (title, instance),
// without running the application's start hook.
#include "afxwin.h"

#include <gtest/gtest.h>

namespace {
class FrameworkEnvironment : public ::testing::Environment {
public:
    void SetUp() override { AfxWinInit(GetModuleHandleA(NULL)); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new FrameworkEnvironment);
} // namespace
