// The process entry of a framework application; linked into the program, never into tests.
#include "afxwin.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) { return AfxWinMain(hInstance); }
