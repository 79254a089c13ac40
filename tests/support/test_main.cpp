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
        // Under Wine the standard handles a test gets from CTest (the ends of its output pipes) are
        // inheritable, so every program a test starts with handle inheritance (for the NUL handles it
        // gives them) would hold CTest's pipe too, and CTest waits until the last holder has ended.
        for (DWORD std : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
            SetHandleInformation(GetStdHandle(std), HANDLE_FLAG_INHERIT, 0);
        AfxWinInit(GetModuleHandleA(NULL));
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new FrameworkEnvironment);
} // namespace
