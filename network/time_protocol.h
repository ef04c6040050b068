#pragma once
// The TIME protocol (RFC 868): the server sends four bytes, the seconds since
// 1900-01-01 00:00:00 UTC as an unsigned big-endian number, and closes.
#include <QByteArray>
#include <QDateTime>
#include <optional>

namespace options::timeproto {

inline constexpr int kPorta = 37;
// Seconds from 1900-01-01 to 1990-01-01 (32872 days).
inline constexpr qint64 kSecondi1900_1990 = 2840140800LL;

// The universal time the reply means, moved on by the half round trip
// (rounded to the whole second, a half to the even neighbour). Nothing when
// the reply is not exactly four bytes, or means a time before
// 1921-12-13 20:45:52 UTC (its seconds from 1990 do not fit 32 bits signed).
std::optional<QDateTime> Ora_Da_Risposta(const QByteArray& risposta, double mezzoGiro);

// The four bytes a server sends for a universal time (tests, local servers).
QByteArray Risposta_Per(const QDateTime& utc);

} // namespace options::timeproto
