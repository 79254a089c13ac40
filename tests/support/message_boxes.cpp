#include "message_boxes.h"

#include "afxwin.h"

#include <gtest/gtest.h>

namespace {
ScriptedBoxes* g_active = nullptr;
}

ScriptedBoxes::ScriptedBoxes(std::deque<int> answers) : answers_(std::move(answers)) {
    g_active = this;
    previous_ = (void*)AfxSetMessageBoxHook(&ScriptedBoxes::Hook);
}

ScriptedBoxes::~ScriptedBoxes() {
    AfxSetMessageBoxHook((AFX_MSGBOX_HOOK)previous_);
    g_active = nullptr;
}

int ScriptedBoxes::Hook(HWND hOwner, const char* text, const char* caption, UINT type, UINT helpId) {
    ScriptedBoxes* self = g_active;
    self->shown_.push_back({hOwner, text, caption, type, helpId});
    if (self->answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: " << text;
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    }
    int answer = self->answers_.front();
    self->answers_.pop_front();
    return answer;
}

std::string WindowText(HWND hWnd) {
    char buffer[2048] = "";
    GetWindowTextA(hWnd, buffer, sizeof(buffer));
    return buffer;
}

static std::string ClassName(HWND hWnd) {
    char buffer[256] = "";
    GetClassNameA(hWnd, buffer, sizeof(buffer));
    return buffer;
}

bool IsMessageBox(HWND hWnd) {
    // A box is a dialog-class window whose children are only static text, an icon and buttons,
    // at least one of them a push button.
    if (ClassName(hWnd) != "#32770")
        return false;
    bool hasButton = false;
    bool onlyBoxParts = true;
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild != NULL; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        std::string cls = ClassName(hChild);
        LONG style = GetWindowLongA(hChild, GWL_STYLE);
        if (cls == "Button" && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
            hasButton = true;
        else if (cls != "Static")
            onlyBoxParts = false;
        else if ((style & SS_TYPEMASK) == SS_BITMAP)
            onlyBoxParts = false;
    }
    return hasButton && onlyBoxParts;
}

BoxView ReadBox(HWND hBox) {
    BoxView view;
    view.caption = WindowText(hBox);
    view.owner = GetWindow(hBox, GW_OWNER);
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild != NULL; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        std::string cls = ClassName(hChild);
        LONG style = GetWindowLongA(hChild, GWL_STYLE);
        if (cls == "Button") {
            view.buttons.push_back(GetDlgCtrlID(hChild));
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                view.defaultId = GetDlgCtrlID(hChild);
        } else if (cls == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
            view.hasIcon = IsWindowVisible(hChild) && SendMessageA(hChild, STM_GETICON, 0, 0) != 0;
        } else if (cls == "Static") {
            std::string text = WindowText(hChild);
            if (!text.empty())
                view.text = text;
        }
    }
    return view;
}

void PressButton(HWND hDialog, int id) {
    HWND hButton = GetDlgItem(hDialog, id);
    if (hButton == NULL) {
        ADD_FAILURE() << "no button " << id;
        return;
    }
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)hButton);
}
