// Message boxes in tests: scripted answers for in-process code (through the framework's one seam),
// and reading and answering real boxes from another thread or process.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct ShownBox {
    HWND hOwner;
    std::string text;
    std::string caption;
    UINT type;
    UINT helpId;
};

// While alive, every AfxMessageBox is recorded and answered from the script, in order. A box that
// finds the script empty fails the test and is answered IDNO (Yes/No) or IDOK.
class ScriptedBoxes {
public:
    explicit ScriptedBoxes(std::deque<int> answers = {});
    ~ScriptedBoxes();
    const std::vector<ShownBox>& shown() const { return shown_; }

private:
    static int Hook(HWND hOwner, const char* text, const char* caption, UINT type, UINT helpId);
    std::deque<int> answers_;
    std::vector<ShownBox> shown_;
    void* previous_;
};

// What a real message box window shows.
struct BoxView {
    std::string caption;
    std::string text;
    HWND owner = NULL;
    int defaultId = 0; // the button drawn as the default (BS_DEFPUSHBUTTON)
    bool hasIcon = false;
    std::vector<int> buttons;
};

BoxView ReadBox(HWND hBox);
bool IsMessageBox(HWND hWnd);
std::string WindowText(HWND hWnd);
// Presses a button of a dialog or box as a click would: BM_CLICK on the button.
void PressButton(HWND hDialog, int id);
