#include "ControllerReady.h"

#include "Controller.h"

bool IsControllerReady(bool)
{
    // Online alone stays set after the link is lost: loads, saves and
    // setters would queue into a dead line.
    const Controller* c = theController;
    return c && c->m_online && c->m_connected && !c->m_linkLost && !c->m_calibrating;
}
