// Every test executable: the framework initialised as the process entry would (title, instance),
// without running the application's start hook.
#include "afxwin.h"

#include <gtest/gtest.h>

// GoogleTest reports each failure through OutputDebugStringA as well, which raises a debug-print
// exception. Under qemu-user Wine's handling of it crashes the process, so a first failed assertion
// would kill the test. The tests' import of OutputDebugStringA is pointed here instead: the failure
// is printed on the console as usual, and no debugger listens anyway.
extern "C" {
static void WINAPI IgnoreDebugString(LPCSTR) {}
void(WINAPI* g_pfnOutputDebugStringA)(LPCSTR) __asm__("__imp__OutputDebugStringA@4") = IgnoreDebugString;
}

namespace {
class FrameworkEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        AfxWinInit(GetModuleHandleA(NULL));
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new FrameworkEnvironment);
} // namespace
