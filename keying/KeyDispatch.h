#pragma once

class Engine;

// Cursor history of the record being keyed, shared by the key handlers and the screen.
class KeyDispatch
{
  public:
    static constexpr int ShiftMask = 1, CtrlMask = 2, AltMask = 4;

    explicit KeyDispatch(Engine& e) : m_e(e) {}

    bool Revisit = false;
    int MaxCol = 0;
    bool AltF1Sw = false;
    int LastKeyCode = 0;

  private:
    [[maybe_unused]] Engine& m_e;
};
