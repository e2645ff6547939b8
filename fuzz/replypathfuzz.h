#pragma once

#include <QByteArray>

// Drives the link's reading path with arbitrary console bytes, without a port.
// Input: one mode byte, then chunks, each a head byte and up to 128 bytes. Mode bits
// 0-1 choose the state the link starts in (logging in, online, rebooting, logging
// in after a reboot), bit 2 a running log stream, bit 3 a pending server command,
// bit 4 a box whose nested event loop reads the next chunk, as the keep-alive does.
// Head bits 0-6 give the chunk length less one, bit 7 a keep-alive tick before it.
// Aborts when the link acts after its final signal.
class ReplyPathFuzz
{
public:
    static void run(const QByteArray &input);
};
