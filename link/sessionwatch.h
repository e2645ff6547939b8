#pragma once

#include <QPointer>

class SPortConnector;

// Taken by the link before it emits a signal whose receiver may run a nested event
// loop (a message box). Afterwards stands() tells whether the link still exists and
// the session it was taken in goes on: not ended by the owner's disconnect, nor by
// a final signal. If not, the link drops the rest of the reply and of the chunk.
class SessionWatch
{
public:
    explicit SessionWatch(SPortConnector *link);
    bool stands() const;

private:
    QPointer<SPortConnector> link;
    quint64 sessionEnds;
};
