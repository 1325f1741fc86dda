#pragma once

#include <string>

class Engine;

// The operator's aids beside plain keying: the duplicate switch that turns on the automatic
// field actions, the memory keys F2 to F9, and the conversion for keyboards whose numeric
// pad is embedded in the letter keys.
class OperatorAids
{
public:
    static constexpr int MinRecall = 3; // shorter memory texts are never typed

    explicit OperatorAids(Engine& e) : m_e(e) {}

    bool DupSw = false;
    // Alt+= was pressed: the next key-down names the memory key to store MemText under.
    bool AltEqualOn = false;
    std::string MemText;
    // Shift went down in an alphabetic field while the pad conversion is on.
    int PadShift = 0;

    // Ctrl+D and a click on the duplicate-switch panel.
    void DupOnOff();
    void AltEqual();
    void AltEqualNxt(int keyCode);
    // Types memory key Fn into the current field and moves to the next field.
    void MemRecall(int n);
    // The digit a letter key of the embedded pad stands for.
    int Convert(int keyAscii) const;

    // The text a recall would type: trimmed, controls and codes above 128 made blanks.
    static std::string RecallText(const std::string& slot);

private:
    Engine& m_e;
};
