#pragma once

#include "keying/KeyNames.h"

class Engine;

// Turns each keystroke on the entry screen into its operation: a key-down event picks the
// cursor, editing, navigation and command keys; a character event stores a character or
// leaves the field. Holds the cursor history of the record being keyed.
class KeyDispatch
{
public:
    explicit KeyDispatch(Engine& e) : m_e(e) {}

    // The cursor went back over positions already passed (Left arrow, Shift+Tab).
    bool Revisit = false;
    // Highest position reached in the current record.
    int MaxCol = 0;
    // Alt+F1 was pressed: the next character is a new type code for the format line.
    bool AltF1Sw = false;
    int LastKeyCode = 0;

    // keyCode is set to 0 when the key was handled; shift is the KeyShift mask.
    void Form_KeyDown(int& keyCode, int shift);
    // keyAscii is set to 0 when the character was discarded.
    void Form_KeyPress(int& keyAscii);
    // One keystroke as a front end delivers it: the key-down, then its character if any.
    void Press(const KeyStroke& ks);
    // The cursor reached position col going forward: the highest one reached so far
    // ends the revisit.
    void Reached(int col);

    void EscKey() {}
    void RightArw();
    void LeftArw();
    void HomeKey();
    void EndKey();
    void TabKey();
    void ShiftTabKey();
    void BackSpaceKey();
    void DelKey();
    void InsKey();
    void EnterKey();
    void AltF1();
    void AltF1Nxt(int key);

private:
    void keyDownCommand(int& keyCode);
    void altCommand(int keyCode);
    void switchFormat(int n);
    void jumpToField(int fld);
    void shiftInField(bool insert);
    // The character an embedded-pad keyboard means, where the field type asks for it.
    int padConverted(int keyAscii);
    // After the cursor left position leftCol backwards: the previous field when leftCol
    // started a field.
    void fieldChangedLeft(int leftCol);

    Engine& m_e;
    // The Duplicate key was pressed: its own character is not keyed.
    bool m_swallowChar = false;
};
