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

    // After positions from..from+count-1 were filled and the cursor moved past the field:
    // shows them and enters the next field, or completes the record when the fill reached
    // its end. filledWhole marks an R field as done, so it is not adjusted on leaving it.
    void FieldFilled(int from, int count, bool filledWhole);

    // The keyed digits fld aligned at the decimal point of the picture fm.
    static std::string Adjdec(const std::string& fld, const std::string& fm);

private:
    // Puts s into the record from the cursor to the end of the current field and moves on.
    void fillRestOfField(const std::string& s);

    Engine& m_e;
};
