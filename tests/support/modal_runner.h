// Runs a real dialog modally inside a test and calls the test's body from its modal loop.
#pragma once

#include "afxwin.h"

#include <functional>

// Calls body(dialog window) once the dialog exists and its modal loop runs. When endAfter is set and
// the body did not end the dialog, it is then ended with EndDialog(-2). Answers DoModal's result.
INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& body, bool endAfter = true);
