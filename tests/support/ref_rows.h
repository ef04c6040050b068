#pragma once
// The reference files of tests/data made by the tools/ scripts: rows of
// fields split at commas, the first naming the row's kind; an "instant" row
// (year, month, day, hour, minute, second) gives the clock time the file was
// made for.
#include "core/clock.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <gtest/gtest.h>

namespace testsupport {

// Calls riga(fields) for every row of tests/data/`nome` other than the
// instant, which goes to `istante`.
template <typename Riga>
void Righe_Riferimento(const char* nome, QDateTime& istante, Riga&& riga)
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/") + QLatin1String(nome));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text)) << nome;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QStringList c = in.readLine().split(QLatin1Char(','));
        if (c[0] == QLatin1String("instant"))
            istante = core::Data_Orologio(QDate(c[1].toInt(), c[2].toInt(), c[3].toInt()),
                                          QTime(c[4].toInt(), c[5].toInt(), c[6].toInt()));
        else
            riga(c);
    }
}

} // namespace testsupport
