#include "link/sessionwatch.h"

#include "link/sportconnector.h"

SessionWatch::SessionWatch(SPortConnector *link) : link(link), sessionEnds(link->sessionEnds) { }

bool SessionWatch::stands() const
{
    return link && link->sessionEnds == sessionEnds;
}
