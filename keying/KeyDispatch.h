#pragma once

// Cursor history of the record being keyed, shared by the key handlers and the screen.
class KeyDispatch
{
public:
    // The cursor went back over positions already passed (Left arrow, Shift+Tab).
    bool Revisit = false;
    // Highest position reached in the current record.
    int MaxCol = 0;
};
