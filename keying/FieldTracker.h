#pragma once

#include <string>

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
    // FldStart, FldLen, FldKeyed, FldPic and DecPos of field CurFld.
    void FieldInfo();

private:
    Engine& m_e;
};
