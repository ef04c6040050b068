#include "platform/tcp_connections.h"

#include <QHostInfo>
#include <QObject>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <functional>
#include <vector>

#if defined(Q_OS_LINUX)
#include <dirent.h>
#include <fcntl.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

struct Socket {
    quint64 dispositivo = 0;
    quint64 inode = 0;
    int fd = -1;
    QHostAddress indirizzo;   // the peer's, when a connected TCP socket
    int porta = 0;            // the peer's; 0 when not a connected TCP socket
};

#if defined(Q_OS_LINUX)

// Every socket of the process, and for the connected TCP ones the peer.
std::vector<Socket> Sockets()
{
    std::vector<Socket> out;
    DIR* d = ::opendir("/proc/self/fd");
    if (!d)
        return out;
    const int proprio = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        const char* fine = e->d_name + std::strlen(e->d_name);
        int fd = -1;
        const auto letto = std::from_chars(e->d_name, fine, fd);
        if (letto.ec != std::errc() || letto.ptr != fine || fd == proprio)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode))
            continue;
        Socket s{quint64(st.st_dev), quint64(st.st_ino), fd, {}, 0};
        int v = 0;
        socklen_t l = sizeof v;
        sockaddr_storage a{};
        socklen_t la = sizeof a;
        if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &v, &l) == 0 && v == SOCK_STREAM &&
            (l = sizeof v, ::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &v, &l)) == 0 && v == 0 &&
            ::getpeername(fd, reinterpret_cast<sockaddr*>(&a), &la) == 0 &&
            (a.ss_family == AF_INET || a.ss_family == AF_INET6)) {
            s.indirizzo.setAddress(reinterpret_cast<const sockaddr*>(&a));
            s.porta = a.ss_family == AF_INET ? ntohs(reinterpret_cast<const sockaddr_in*>(&a)->sin_port)
                                             : ntohs(reinterpret_cast<const sockaddr_in6*>(&a)->sin6_port);
        }
        out.push_back(s);
    }
    ::closedir(d);
    return out;
}

// Runs f on a descriptor of our own for the socket s, if s is still that
// socket: its number may have been closed and given to another file since
// it was listed, by the thread that reads it.
void Su(const Socket& s, const std::function<void(int)>& f)
{
    const int d = ::fcntl(s.fd, F_DUPFD_CLOEXEC, 0);
    if (d < 0)
        return;
    struct stat st {};
    if (::fstat(d, &st) == 0 && S_ISSOCK(st.st_mode) && quint64(st.st_dev) == s.dispositivo &&
        quint64(st.st_ino) == s.inode)
        f(d);
    ::close(d);
}

// Bytes the program has read from a connection: those received less those
// still waiting to be read.
qint64 Letti_da(int fd)
{
    tcp_info info{};
    socklen_t l = sizeof info;
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &l) != 0 ||
        l < offsetof(tcp_info, tcpi_bytes_received) + sizeof info.tcpi_bytes_received)
        return 0;
    int inAttesa = 0;
    if (::ioctl(fd, FIONREAD, &inAttesa) != 0)
        inAttesa = 0;
    return std::max<qint64>(0, qint64(info.tcpi_bytes_received) - inAttesa);
}

// Connecting a TCP socket to no address takes it back to its closed state:
// the peer gets a reset, the data waiting is dropped, and the next read of
// whoever holds the socket fails.
void Reimposta(int fd)
{
    sockaddr a{};
    a.sa_family = AF_UNSPEC;
    ::connect(fd, &a, sizeof a);
}

#else

std::vector<Socket> Sockets()
{
    return {};
}
void Su(const Socket&, const std::function<void(int)>&) {}
qint64 Letti_da(int)
{
    return 0;
}
void Reimposta(int) {}

#endif

} // namespace

Connessioni::Connessioni() : m_contesto(std::make_unique<QObject>()) {}

Connessioni::~Connessioni()
{
    Ferma_ricerche();
}

void Connessioni::Ferma_ricerche()
{
    for (const Pari& p : m_pari)
        if (p.ricerca >= 0)
            QHostInfo::abortHostLookup(p.ricerca);
}

bool Connessioni::DelTrasferimento(const Chiave& k, const QHostAddress& indirizzo, int porta) const
{
    if (porta == 0 || m_estranee.count(k))
        return false;
    for (const Pari& p : m_pari)
        if (p.estremo.porta == porta)
            for (const QHostAddress& a : p.indirizzi)
                if (a.isEqual(indirizzo, QHostAddress::TolerantConversion))
                    return true;
    return false;
}

void Connessioni::Aggiungi(const Estremo& estremo)
{
    for (const Pari& p : m_pari)
        if (p.estremo.porta == estremo.porta && p.estremo.host.compare(estremo.host, Qt::CaseInsensitive) == 0)
            return;
    Pari p{estremo, {}, -1};
    const QHostAddress numerico(estremo.host);
    if (!numerico.isNull()) {
        p.indirizzi << numerico;
        m_pari.push_back(p);
        return;
    }
    m_pari.push_back(p);
    // The answer may come at once, from the cache, or later through the
    // event loop; either way it goes to the peer of that name and port.
    const QString host = estremo.host;
    const int porta = estremo.porta;
    const auto risposta = [this, host, porta](const QHostInfo& info) {
        for (Pari& q : m_pari)
            if (q.estremo.porta == porta && q.estremo.host == host) {
                q.indirizzi = info.addresses();
                q.ricerca = -1;
            }
    };
    const int id = QHostInfo::lookupHost(host, m_contesto.get(), risposta);
    for (Pari& q : m_pari)
        if (q.estremo.porta == porta && q.estremo.host == host && q.indirizzi.isEmpty())
            q.ricerca = id;
}

void Connessioni::Inizio(const Estremo& estremo)
{
    Ferma_ricerche();
    m_pari.clear();
    m_base.clear();
    // Open now: someone else's, except what this window's earlier transfers
    // left open; those are counted from here.
    const std::vector<Socket> tutte = Sockets();
    std::set<Chiave> ancora;
    m_estranee.clear();
    for (const Socket& s : tutte) {
        const Chiave k{s.dispositivo, s.inode};
        if (!m_proprie.count(k)) {
            m_estranee.insert(k);
            continue;
        }
        ancora.insert(k);
        Su(s, [&](int fd) { m_base[k] = Letti_da(fd); });
    }
    m_proprie.swap(ancora);
    Aggiungi(estremo);
}

void Connessioni::Riparti(const Estremo& estremo)
{
    Aggiungi(estremo);
    m_base.clear();
    for (const Socket& s : Sockets())
        if (s.porta > 0 && !m_estranee.count({s.dispositivo, s.inode}))
            Su(s, [&](int fd) { m_base[{s.dispositivo, s.inode}] = Letti_da(fd); });
}

qint64 Connessioni::Letti() const
{
    qint64 tot = 0;
    for (const Socket& s : Sockets()) {
        const Chiave k{s.dispositivo, s.inode};
        if (!DelTrasferimento(k, s.indirizzo, s.porta))
            continue;
        const auto base = m_base.find(k);
        Su(s, [&](int fd) { tot += std::max<qint64>(0, Letti_da(fd) - (base == m_base.end() ? 0 : base->second)); });
    }
    return tot;
}

void Connessioni::Interrompi()
{
    for (const Socket& s : Sockets())
        if (DelTrasferimento({s.dispositivo, s.inode}, s.indirizzo, s.porta))
            Su(s, Reimposta);
}

void Connessioni::Fine()
{
    for (const Socket& s : Sockets())
        if (DelTrasferimento({s.dispositivo, s.inode}, s.indirizzo, s.porta))
            m_proprie.insert({s.dispositivo, s.inode});
}

} // namespace platform
