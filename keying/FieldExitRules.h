#pragma once

#include <string>

class Engine;

// What happens to the rest of a field when it is left: fill on Enter, right adjustment
// with decimal alignment, and the automatic duplicate, skip and increment actions; also
// F11's whole-record fill.
class FieldExitRules
{
public:
    explicit FieldExitRules(Engine& e) : m_e(e) {}

    // 1 once the current R or J field has been right-adjusted.
    int AdjDone = 0;

    void FieldExit();
    void Radj();
    void AutoDup();
    void AutoSkip();
    void AutoInc();
    void FillRecord();

    // The keyed digits fld aligned at the decimal point of the picture fm.
    static std::string Adjdec(const std::string& fld, const std::string& fm);

private:
    // Puts s into the record from the cursor to the end of the current field and moves on.
    void fillRestOfField(const std::string& s);
    // After a field action: shows the filled positions and enters the next field, or
    // completes the record when the action reached its end.
    void afterFieldAction(int from, int count);

    Engine& m_e;
};
