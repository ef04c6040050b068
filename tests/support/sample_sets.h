#pragma once
// The element sets of tests/data/elements_sample.txt by catalogue number.
#include "astro/records.h"

#include <QFile>
#include <QList>
#include <gtest/gtest.h>

namespace testsupport {

// The three lines of the sample file's set with that catalogue number (a
// test failure, and an empty set, when there is none).
inline RigaDati Set_Campione(const char* catalogo)
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> r = f.readAll().split('\n');
    for (int i = 1; i + 1 < r.size(); i += 3)
        if (r[i].mid(2, 5) == catalogo)
            return {r[i - 1].trimmed().toStdString(), r[i].trimmed().toStdString(),
                    r[i + 1].trimmed().toStdString()};
    ADD_FAILURE() << "no set " << catalogo;
    return {};
}

} // namespace testsupport
