#pragma once

#include <array>
#include <string>

#include "keying/Surface.h"

class Engine;

// The Preferences dialog as the program sees it: what its controls hold and what its buttons
// do. It is set up once at start-up and only hidden when closed, so what was typed into it
// stays for the next opening. The window draws it from here and reports the operator's
// changes back.
class PrefsForm
{
public:
    explicit PrefsForm(Engine& e) : m_e(e) {}

    std::array<std::string, 10> Mem; // the memory-key boxes F2..F9, as typed
    bool DupkeyF12 = false;          // "F12" chosen; otherwise "7 key "
    bool Check1 = false;             // "Embedded Numeric Pad (Uptron)"
    bool Visible = false;

    // The controls from the settings in force.
    void Form_Load();
    // The memory-key boxes from the memory keys, once these have been read.
    void FillMemBoxes();
    void Show();

    // The Duplicate key changes at once; only OK stores it.
    void DupkeyF12_Click();
    void DupKey7_Click();
    // The colours are chosen and stored at once, whatever closes the dialog.
    void cmdTxtclr_Click();
    void cmdBkClr_Click();
    void OK_Click();
    void Cancel_Click();

    // A memory key was stored from the keyboard: its box shows it, so OK keeps it.
    void MemKeyStored(int n);

private:
    void pickColor(Color& color, const char* key);

    Engine& m_e;
};
