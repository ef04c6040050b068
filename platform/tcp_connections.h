#pragma once
// The TCP connections a window opens, as the kernel sees them (used by the
// download window).
//
// Qt Network reads a reply's header on a thread of its own, one byte at a
// time for as long as bytes keep coming, and the window hears nothing until
// the header has ended. A server whose header never ends keeps that thread
// reading for ever: the reply's abort() is a message to that thread, read
// only once the reading stops, so the connection stayed open, a core stayed
// busy and every later request of the window waited behind it. The window
// therefore counts the bytes read from its own connections, and when it
// gives a transfer up it resets them: the server is told at once, what was
// waiting unread is dropped, and the reading thread's next read fails, which
// ends the reply there.
//
// Linux (/proc/self/fd, TCP_INFO); where these are missing nothing is found,
// nothing is counted and nothing is reset.
#include <QtGlobal>

#include <map>
#include <set>
#include <utility>

namespace platform {

class Connessioni {
public:
    // The sockets open now belong to someone else: only those opened later
    // are this window's.
    Connessioni();

    // A transfer to this port starts: the count of bytes read starts from zero.
    void Inizio(int porta);
    // The same transfer goes on to this port (a redirect), or has finished
    // its encryption handshake: the count starts again from zero.
    void Riparti(int porta);
    // Bytes read from this window's connections to the ports of the transfer
    // since the last Inizio.
    qint64 Letti() const;
    // Resets this window's connections to the ports of the transfer.
    void Interrompi();

private:
    using Chiave = std::pair<quint64, quint64>;   // device and inode of the socket
    std::set<Chiave> m_estranee;
    std::set<int> m_porte;
    std::map<Chiave, qint64> m_base;
};

} // namespace platform
