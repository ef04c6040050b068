#pragma once
// The TIME protocol (RFC 868): the server sends four bytes, the seconds since
// 1900-01-01 00:00:00 UTC as an unsigned big-endian number, and closes.
// QtCore only: a fuzz target may call the reading on any bytes.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <optional>

namespace network::timeproto {

inline constexpr int kPorta = 37;
// Seconds from 1900-01-01 to 1990-01-01 (32872 days).
inline constexpr qint64 kSecondi1900_1990 = 2840140800LL;
// A reply further than this from the computer's clock is set only when the
// user confirms it.
inline constexpr qint64 kScartoDaConfermare = 86400;

// The universal time the reply means, moved on by the half round trip
// (rounded to the whole second, a half to the even neighbour). Nothing when
// the reply is not exactly four bytes.
// The count wraps to 0 on 2036-02-07 06:28:16 UTC. A count whose top bit is
// clear (below 2^31, which before the wrap meant a time before 1968) is taken
// as counted from that wrap, so replies stay right until 2104.
std::optional<QDateTime> Ora_Da_Risposta(const QByteArray& risposta, double mezzoGiro);

// The reply as it arrives, in pieces of any size. Never more than
// kRispostaTenuta bytes are kept, so a server that sends without stopping
// costs no memory: once more than four bytes have come the reply is known to
// be invalid and the exchange can end at once.
inline constexpr qsizetype kLunghezzaRisposta = 4;
inline constexpr qsizetype kRispostaTenuta = kLunghezzaRisposta + 1;
class Raccolta {
public:
    // How many more bytes the reply may take (what to read from the socket).
    qsizetype spazio() const { return kRispostaTenuta - m_byte.size(); }
    // Adds a piece; false once the reply is longer than four bytes.
    bool aggiungi(QByteArrayView pezzo);
    bool troppoLunga() const { return m_byte.size() > kLunghezzaRisposta; }
    const QByteArray& byte() const { return m_byte; }
    void clear() { m_byte.clear(); }

private:
    QByteArray m_byte;
};

// The four bytes a server sends for a universal time (tests, local servers).
QByteArray Risposta_Per(const QDateTime& utc);

} // namespace network::timeproto
