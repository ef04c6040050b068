#include "network/time_protocol.h"

#include <algorithm>
#include <cmath>

namespace network::timeproto {

std::optional<QDateTime> Ora_Da_Risposta(const QByteArray& risposta, double mezzoGiro)
{
    if (risposta.size() != 4)
        return std::nullopt;
    const auto b = [&risposta](int i) { return quint32(quint8(risposta[i])); };
    const quint32 t = (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
    qint64 secondi = qint64(t);
    if (!(t & 0x80000000u))
        secondi += qint64(1) << 32;   // after the 2036 wrap
    const double ritardo = std::isfinite(mezzoGiro) && std::abs(mezzoGiro) < 86400.0 ? std::nearbyint(mezzoGiro) : 0.0;
    const QDateTime base(QDate(1990, 1, 1), QTime(0, 0, 0), Qt::UTC);
    return base.addSecs(secondi - kSecondi1900_1990 + qint64(ritardo));
}

bool Raccolta::aggiungi(QByteArrayView pezzo)
{
    if (spazio() > 0)
        m_byte.append(pezzo.first(std::min(pezzo.size(), spazio())));
    return !troppoLunga();
}

QByteArray Risposta_Per(const QDateTime& utc)
{
    const QDateTime base(QDate(1900, 1, 1), QTime(0, 0, 0), Qt::UTC);
    const quint32 t = quint32(quint64(base.secsTo(utc.toUTC())));
    QByteArray out(4, '\0');
    out[0] = char(t >> 24);
    out[1] = char(t >> 16);
    out[2] = char(t >> 8);
    out[3] = char(t);
    return out;
}

} // namespace network::timeproto
