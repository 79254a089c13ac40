// The framework layer: the command-line tail and the rules every message box follows.
#include "afxwin.h"
#include "app/launcher_app.h"
#include "message_boxes.h"
#include "resource.h"

#include <gtest/gtest.h>


struct CommandLineCase {
    const char* commandLine;
    const char* tail;
    int uninstall;
};

// The tail the framework hands over and the "/u" request read from it.
TEST(CommandLine, TailAndUninstallRequest) {
    const CommandLineCase cases[] = {
        {"launcher.exe /u", "/u", 1},
        {"launcher.exe /uninstall", "/uninstall", 1},
        {"launcher.exe /u more args", "/u more args", 1},
        {"launcher.exe   \t/u", "/u", 1},
        {"\"C:\\Program Files\\Skellion\\launcher.exe\" /u", "/u", 1},
        {"\"C:\\Program Files\\Skellion\\launcher.exe\"/u", "/u", 1},
        {"\"C:\\unterminated quote /u", "", 0},
        {"launcher.exe /U", "/U", 0},
        {"launcher.exe -u", "-u", 0},
        {"launcher.exe x/u", "x/u", 0},
        {"launcher.exe  /", "/", 0},
        {"launcher.exe", "", 0},
        {"launcher.exe   ", "", 0},
        {"", "", 0},
        {"C:\\Program Files\\launcher.exe /u", "Files\\launcher.exe /u", 0},
    };
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        const char* tail = AfxGetCommandTail(c.commandLine);
        EXPECT_STREQ(c.tail, tail);
        EXPECT_EQ(c.uninstall, IsUninstallRequest(tail));
    }
}

TEST(CString, LoadsStringsAndLeavesMissingOnesEmpty) {
    CString text("left over");
    EXPECT_TRUE(text.LoadString(IDS_ASK_DIRECTX));
    EXPECT_STREQ("Do you want to make sure that your system has DirectX 3 or better installed?", text);
    EXPECT_FALSE(text.LoadString(15));
    EXPECT_TRUE(text.IsEmpty());
}

struct BoxTypeCase {
    UINT typeGiven;
    UINT typeShown;
};

// Caption, icon and help id of every box; no owner while there is no main window.
TEST(AfxMessageBox, AddsExclamationIconAndTitle) {
    const BoxTypeCase cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONEXCLAMATION},
        {MB_YESNO | MB_DEFBUTTON2, MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION},
        {MB_OK | MB_ICONINFORMATION, MB_OK | MB_ICONINFORMATION},
        {MB_YESNO | MB_ICONSTOP, MB_YESNO | MB_ICONSTOP},
    };
    for (const BoxTypeCase& c : cases) {
        SCOPED_TRACE(c.typeGiven);
        ScriptedBoxes boxes({IDOK, IDOK});
        AfxMessageBox(IDS_UNSUPPORTED_WINDOWS, c.typeGiven);
        AfxMessageBox("composed text", c.typeGiven);
        ASSERT_EQ(2u, boxes.shown().size());
        EXPECT_EQ(c.typeShown, boxes.shown()[0].type);
        EXPECT_EQ("Skellion requires Windows 95 or Windows NT 4.0 or higher.", boxes.shown()[0].text);
        EXPECT_EQ("Skellion Setup", boxes.shown()[0].caption);
        EXPECT_EQ((UINT)IDS_UNSUPPORTED_WINDOWS, boxes.shown()[0].helpId);
        EXPECT_EQ(NULL, boxes.shown()[0].hOwner);
        EXPECT_EQ(c.typeShown, boxes.shown()[1].type);
        EXPECT_EQ(0u, boxes.shown()[1].helpId);
    }
}

namespace {
// Answers the box that this thread shows: a thread timer fires inside the box's own modal loop,
// reads the box and presses one of its buttons. (One thread: no second thread to race with.)
struct BoxAnswerer {
    int button;
    BoxView seen;
    bool found = false;
};
BoxAnswerer* g_answerer = nullptr;

BOOL CALLBACK AnswerIfBox(HWND hWnd, LPARAM) {
    if (!IsWindowVisible(hWnd) || !IsMessageBox(hWnd))
        return TRUE;
    g_answerer->seen = ReadBox(hWnd);
    g_answerer->found = true;
    PressButton(hWnd, g_answerer->button);
    return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR idEvent, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerIfBox, 0);
    if (g_answerer->found)
        KillTimer(NULL, idEvent);
}
} // namespace

struct RealBoxCase {
    UINT type;
    int press;
    int defaultId;
    std::vector<int> buttons;
};

// Real boxes: caption, icon, buttons and the default button.
TEST(AfxMessageBox, RealBoxShowsCaptionIconAndDefaultButton) {
    const RealBoxCase cases[] = {
        {MB_OK, IDOK, IDOK, {IDOK}},
        {MB_YESNO, IDYES, IDYES, {IDYES, IDNO}},
        {MB_YESNO | MB_DEFBUTTON2, IDNO, IDNO, {IDYES, IDNO}},
    };
    for (const RealBoxCase& c : cases) {
        SCOPED_TRACE(c.type);
        BoxAnswerer answerer{c.press};
        g_answerer = &answerer;
        UINT_PTR timer = SetTimer(NULL, 0, 50, LookForBox);
        int answer = AfxMessageBox("Line one\nLine two", c.type);
        KillTimer(NULL, timer);
        ASSERT_TRUE(answerer.found);
        EXPECT_EQ(c.press, answer);
        EXPECT_EQ("Skellion Setup", answerer.seen.caption);
        EXPECT_EQ("Line one\nLine two", answerer.seen.text);
        EXPECT_TRUE(answerer.seen.hasIcon);
        EXPECT_EQ(NULL, answerer.seen.owner);
        EXPECT_EQ(c.defaultId, answerer.seen.defaultId);
        EXPECT_EQ(c.buttons, answerer.seen.buttons);
    }
}
