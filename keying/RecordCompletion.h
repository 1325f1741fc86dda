#pragma once

class Engine;

// Where every keyed character ends: stored and echoed in Entry mode, compared with the
// stored record in Verify mode; and the completion of a record once its last position
// has been keyed.
class RecordCompletion
{
public:
    explicit RecordCompletion(Engine& e) : m_e(e) {}

    bool VerifyMode = false;
    // Backspace in Verify mode: mismatches of this record replace the stored character.
    bool VerifyAccept = false;
    int MismatchCount = 0;
    bool VerifyChanged = false;

    void EnterChar(int k);
    void VerifyChar(int k);
    // Writes the record in hand and sets up the next one. False when the write failed:
    // the record stays on the screen.
    bool RecordComplete();
    void mnuVerify_Click();

private:
    // Moves the cursor one position on after a character, following it across sections
    // and into the next field; completes the record at its end.
    void advanceAfterChar();
    void completeVerifiedRecord();
    // A record that could not be stored stays, the cursor on its end position; the next
    // key there tries again.
    void stayOnRecord();

    Engine& m_e;
};
