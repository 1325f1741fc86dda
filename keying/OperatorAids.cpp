#include "keying/OperatorAids.h"

#include "engine/Engine.h"

void OperatorAids::DupOnOff()
{
    DupSw = !DupSw;
    m_e.win.dupPictureOn = DupSw;
    m_e.WindowChanged();
}
