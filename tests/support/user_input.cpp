#include "user_input.h"

#include "wait.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

bool IsForeground(HWND hTopLevel) {
    return GetForegroundWindow() == hTopLevel;
}

// SetForegroundWindow from another process is honoured by Wine and, on Windows, when this process
// received the last input event (it sends all of it).
bool BringToFront(HWND hWnd) {
    HWND hTopLevel = GetAncestor(hWnd, GA_ROOT);
    if (hTopLevel == NULL)
        return false;
    if (!IsForeground(hTopLevel))
        SetForegroundWindow(hTopLevel);
    return WaitUntil([hTopLevel] { return IsForeground(hTopLevel); }, 5000);
}

bool Send(std::vector<INPUT> inputs) {
    return SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT)) == inputs.size();
}

INPUT Key(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT Mouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

} // namespace

bool Click(HWND hControl) {
    RECT rect;
    if (!GetWindowRect(hControl, &rect)) {
        ADD_FAILURE() << "no window to click";
        return false;
    }
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    // A disabled control is skipped by WindowFromPoint, which then answers its parent: what counts is
    // that the point belongs to the control's own top-level window.
    HWND hUnder = WindowFromPoint(centre);
    if (hUnder == NULL || GetAncestor(hUnder, GA_ROOT) != GetAncestor(hControl, GA_ROOT)) {
        BringToFront(hControl);
        hUnder = WindowFromPoint(centre);
    }
    if (hUnder == NULL || GetAncestor(hUnder, GA_ROOT) != GetAncestor(hControl, GA_ROOT)) {
        char title[128] = "";
        GetWindowTextA(GetAncestor(hUnder, GA_ROOT), title, sizeof(title));
        ADD_FAILURE() << "another window (\"" << title << "\") lies over the control";
        return false;
    }
    // Absolute pointer positions are given in 0..65535 across the primary screen.
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    LONG x = (LONG)(((LONGLONG)centre.x * 65536 + width - 1) / width);
    LONG y = (LONG)(((LONGLONG)centre.y * 65536 + height - 1) / height);
    bool sent = Send(
        {Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y), Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(sent) << "SendInput refused the click";
    return sent;
}

// Keys go to the foreground window's focused control, so the window is brought to the front first.
static bool TypeInto(HWND hWnd, std::vector<INPUT> keys) {
    if (!BringToFront(hWnd)) {
        ADD_FAILURE() << "the window did not come to the front";
        return false;
    }
    bool sent = Send(std::move(keys));
    EXPECT_TRUE(sent) << "SendInput refused the keys";
    return sent;
}

bool PressKey(HWND hWnd, WORD vk) {
    return TypeInto(hWnd, {Key(vk, false), Key(vk, true)});
}

bool PressAltKey(HWND hWnd, char letter) {
    // The virtual-key codes of letters are their capitals' character codes.
    WORD vk = (WORD)(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter);
    return TypeInto(hWnd, {Key(VK_MENU, false), Key(vk, false), Key(vk, true), Key(VK_MENU, true)});
}

HWND FocusedControl(HWND hWnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, NULL), &info))
        return NULL;
    return info.hwndFocus;
}

int FocusedId(HWND hWnd) {
    HWND hFocus = FocusedControl(hWnd);
    return hFocus != NULL ? GetDlgCtrlID(hFocus) : 0;
}
