#pragma once
// The 200 element sets every benchmark of a full working list uses: low
// orbits of many inclinations and heights, some eccentric twelve-hour orbits
// and some geostationary ones.
#include "astro/records.h"

#include <QString>
#include <QtGlobal>

namespace bench {

inline RigaDati Insieme_Prova(int n)
{
    const QString num = QString::number(10000 + n);
    double moto = 14.0 + (n % 30) * 0.05;
    double ecc = 0.0001 * (n % 20);
    if (n % 25 == 0) {
        moto = 2.00561;
        ecc = 0.7;
    } else if (n % 40 == 0) {
        moto = 1.00273;
        ecc = 0.0002;
    }
    const QString l1 =
        QStringLiteral("1 %1U 20001A   26340.50000000  .00000100  00000-0  10000-4 0  9990").arg(num);
    const QString l2 = QStringLiteral("2 %1 %2 %3 %4 %5 %6 %7    10")
                           .arg(num)
                           .arg((n * 7) % 180 + 0.1234, 8, 'f', 4)
                           .arg((n * 37) % 360 + 0.5, 8, 'f', 4)
                           .arg(QString::number(qRound(ecc * 1e7)).rightJustified(7, '0'))
                           .arg((n * 53) % 360 + 0.25, 8, 'f', 4)
                           .arg((n * 91) % 360 + 0.75, 8, 'f', 4)
                           .arg(moto, 11, 'f', 8);
    return {QStringLiteral("SAT %1").arg(n).toStdString(), l1.toStdString(), l2.toStdString()};
}

} // namespace bench
