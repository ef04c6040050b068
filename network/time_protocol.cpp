#include "network/time_protocol.h"

#include <cmath>
#include <limits>

namespace options::timeproto {

std::optional<QDateTime> Ora_Da_Risposta(const QByteArray& risposta, double mezzoGiro)
{
    if (risposta.size() != 4)
        return std::nullopt;
    const auto b = [&risposta](int i) { return quint32(quint8(risposta[i])); };
    const quint32 t = (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
    const qint64 s = qint64(t) - kSecondi1900_1990;
    if (s < std::numeric_limits<qint32>::min())
        return std::nullopt;
    const double ritardo = std::isfinite(mezzoGiro) ? std::nearbyint(mezzoGiro) : 0.0;
    const QDateTime base(QDate(1990, 1, 1), QTime(0, 0, 0), Qt::UTC);
    return base.addSecs(s + qint64(ritardo));
}

QByteArray Risposta_Per(const QDateTime& utc)
{
    const QDateTime base(QDate(1900, 1, 1), QTime(0, 0, 0), Qt::UTC);
    const quint32 t = quint32(base.secsTo(utc.toUTC()));
    QByteArray out(4, '\0');
    out[0] = char(t >> 24);
    out[1] = char(t >> 16);
    out[2] = char(t >> 8);
    out[3] = char(t);
    return out;
}

} // namespace options::timeproto
