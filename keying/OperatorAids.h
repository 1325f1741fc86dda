#pragma once

class Engine;

// The operator's switches beside plain keying: the duplicate switch that turns on the
// automatic field actions.
class OperatorAids
{
public:
    explicit OperatorAids(Engine& e) : m_e(e) {}

    bool DupSw = false;

    // Ctrl+D: the duplicate switch and its status-bar picture.
    void DupOnOff();

private:
    Engine& m_e;
};
