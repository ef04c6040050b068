#pragma once
// The planets' magnitudes by the program's own model, worked independently
// (tests/data/ref_magnitudes.csv, tools/ref_magnitudes.py).
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <gtest/gtest.h>

#include <map>

namespace testsupport {

// Magnitude by body row (1 to 7) at `istante`, the program clock's local
// time at UTC+1.
inline std::map<int, double> Magnitudini_Modello(const QDateTime& istante)
{
    std::map<int, double> m;
    const QString ut = istante.addSecs(-3600).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_magnitudes.csv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QStringList c = in.readLine().split(QLatin1Char(','));
        if (c.size() >= 4 && c[0] == QLatin1String("magnitude") && c[1] == ut)
            m[c[2].toInt()] = c[3].toDouble();
    }
    return m;
}

} // namespace testsupport
