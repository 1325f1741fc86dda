#pragma once

#include <string>
#include <string_view>

class Engine;

// Which field of the record the cursor is in, and what that field's type is.
class FieldTracker
{
public:
    explicit FieldTracker(Engine& e) : m_e(e) {}

    int CurFld = 1;
    char FldType = 'A';
    char PrevFldType = 'A';
    int FldStart = 0;
    int FldLen = 0;
    std::string FldKeyed;
    std::string FldPic;
    int DecPos = 0;

    // Called whenever the cursor moved to CurCol; acts only when CurCol starts a field.
    void FieldEntered();
    // The cursor went forward to CurCol: shown there, and the field it enters set up.
    void CursorMovedOn();
    // FldStart, FldLen, FldKeyed, FldPic and DecPos of field CurFld.
    void FieldInfo();
    // Whether the current field takes character k; tells the operator why not.
    bool CharValid(int k);
    // The field-type panel for the field just entered.
    void ShowFieldType();

    // Every character a digit or "."; true for the empty text.
    static bool FieldNumeric(std::string_view x);
    static bool IsDigitOrDot(std::string_view s);

private:
    // Runs the automatic action of the field just entered; false when it has none.
    bool autoAction();
    void reject(const std::string& message);

    Engine& m_e;
};
