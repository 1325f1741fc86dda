#include "keying/OperatorAids.h"

#include "app/Engine.h"

void OperatorAids::DupOnOff()
{
    DupSw = !DupSw;
    m_e.win.dupPictureOn = DupSw;
    m_e.WindowChanged();
}
