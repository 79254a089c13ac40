// What a user has: the mouse and the keyboard. Input goes through the system's input queue
// (SendInput), so it reaches the window under the pointer or the window with the focus, and passes
// through the program's own message loop and dialog navigation exactly as a user's would.
#pragma once

#include <windows.h>

#include <string>

// Moves the pointer to the centre of a control (or window) and clicks the left button. Fails the
// test, and answers false, when another program's window lies over that point.
bool Click(HWND hControl);
// Brings the window's top-level window to the front, if it is not there already, and types one key.
bool PressKey(HWND hWnd, WORD vk);
// Alt held down with a letter: a mnemonic ("&Install" answers Alt+I).
bool PressAltKey(HWND hWnd, char letter);
// The control that has the keyboard focus in the thread that owns the window.
HWND FocusedControl(HWND hWnd);
// The dialog control id of the focused control, 0 when none.
int FocusedId(HWND hWnd);
