#pragma once
// The TCP connections of a window's transfer, as the kernel sees them (used
// by the download window).
//
// Qt Network reads a reply's header on a thread of its own, one byte at a
// time for as long as bytes keep coming, and the window hears nothing until
// the header has ended. A server whose header never ends keeps that thread
// reading for ever: the reply's abort() is a message to that thread, read
// only once the reading stops, so the connection stayed open, a core stayed
// busy and every later request of the window waited behind it. The window
// therefore counts the bytes read from its transfer's connections, and when
// it gives a transfer up it resets them: the server is told at once, what
// was waiting unread is dropped, and the reading thread's next read fails,
// which ends the reply there.
//
// A transfer's connections are those to the peer it talks to (the server,
// or the proxy Qt goes through for it: its address and port) that were
// opened after the transfer began, and those this window's earlier
// transfers left open to that peer, which Qt keeps for its next request.
// Qt gives no access to its sockets, so a socket another part of the
// program opens to the very same address and port while the transfer runs
// cannot be told from the transfer's own; one opened before it began, or to
// another peer, is never counted nor reset.
//
// Linux (/proc/self/fd, TCP_INFO); where these are missing nothing is found,
// nothing is counted and nothing is reset.
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class QObject;

namespace platform {

class Connessioni {
public:
    // Where a transfer's connections go: a host name or address, and a port.
    struct Estremo {
        QString host;
        int porta = 0;
    };

    // No transfer yet: nothing is counted nor reset.
    Connessioni();
    ~Connessioni();
    Connessioni(const Connessioni&) = delete;
    Connessioni& operator=(const Connessioni&) = delete;

    // A transfer to this peer starts; called before the request is handed
    // to Qt, so that every connection it opens comes after. The count of
    // bytes read starts from zero. A peer given by name is looked up (the
    // answer comes through the event loop, from the same cache Qt's
    // connection uses).
    void Inizio(const Estremo& estremo);
    // The same transfer goes on to this peer (a redirect), or has finished
    // its encryption handshake: the count starts again from zero.
    void Riparti(const Estremo& estremo);
    // Bytes read from the transfer's connections since the count started.
    qint64 Letti() const;
    // Resets the transfer's connections.
    void Interrompi();
    // The transfer has ended: the connections it leaves open remain this
    // window's, for a later transfer on which Qt may use them again.
    void Fine();

private:
    using Chiave = std::pair<quint64, quint64>;   // device and inode of the socket
    struct Pari {
        Estremo estremo;
        QList<QHostAddress> indirizzi;   // empty while the name is looked up
        int ricerca = -1;                // the look-up running, if any
    };
    // Whether a socket, with its peer, is one of the transfer's.
    bool DelTrasferimento(const Chiave& k, const QHostAddress& indirizzo, int porta) const;
    void Aggiungi(const Estremo& estremo);
    void Ferma_ricerche();

    std::unique_ptr<QObject> m_contesto;   // receives the look-ups' answers
    std::set<Chiave> m_estranee;           // open when the transfer began, not this window's
    std::set<Chiave> m_proprie;            // left open by this window's earlier transfers
    std::vector<Pari> m_pari;
    std::map<Chiave, qint64> m_base;
};

} // namespace platform
