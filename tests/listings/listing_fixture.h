#pragma once
// What the listing tests share: fake platform services, the English language
// file, the C display locale, an observer in Milan one hour east of
// Greenwich, the SGP4/SDP4 model without refraction, and the Skyfield
// reference of tools/ref_listings.py.
#include "core/clock.h"
#include "core/data_files.h"
#include "core/database.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "support/observer.h"
#include "support/csv_fields.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// QStrings shown as text in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace listtest {

struct Riferimento {
    std::map<std::string, RigaDati> sets;                    // "A", "B"
    std::map<std::pair<std::string, int>, std::vector<double>> sat; // (key, minute) -> columns 3..
    std::map<int, std::vector<double>> rel;                  // minute -> distance, alpha, beta
};

using testsupport::Campi;

inline Riferimento riferimento()
{
    Riferimento r;
    std::ifstream in(ASTROVELA_TEST_DATA "/ref_listings.csv");
    std::string riga;
    while (std::getline(in, riga)) {
        if (riga.empty() || riga[0] == '#')
            continue;
        const auto c = Campi(riga);
        if (c[0] == "set") {
            r.sets[c[1]] = {c[2], c[3], c[4]};
        } else if (c[0] == "sat") {
            std::vector<double> v;
            for (size_t i = 3; i < c.size(); ++i)
                v.push_back(std::stod(c[i]));
            r.sat[{c[1], std::stoi(c[2])}] = v;
        } else if (c[0] == "rel") {
            r.rel[std::stoi(c[1])] = {std::stod(c[3]), std::stod(c[4]), std::stod(c[5])};
        }
    }
    return r;
}

// Columns of a "sat" row (after key and minute).
enum ColonnaSat { JD, EL, AZ, RANGE, RATE, SUBLAT, SUBLON, QUOTA, RA, DEC, X, Y, Z, VX, VY, VZ };

// The program clock's local time of a reference minute (14:00 UT + minute, observer at UT+1).
inline QDateTime locale(int minuto)
{
    return QDateTime(QDate(2013, 11, 26), QTime(15, 0), Qt::UTC).addSecs(qint64(minuto) * 60);
}

inline double diffAngolo(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180)
        d -= 360;
    if (d < -180)
        d += 360;
    return std::fabs(d);
}

// The number in columns [da, da + n) of a listing line (0-based).
inline double campo(const QString& riga, int da, int n)
{
    const auto v = vb::StrictValue(riga.mid(da, n));
    EXPECT_TRUE(v.has_value()) << riga.toStdString() << " @" << da;
    return v.value_or(NAN);
}

class Listings : public ::testing::Test {
protected:
    void SetUp() override
    {
        vb::setDisplayLocale(QLocale::c());
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        core::Carica_Parole_Stato();
        m_magnitudini = gstrMagnitudini;
        gstrMagnitudini.assign(30001, "");
        gstrMagnitudini[25544] = "-1.3";
        gudtFrequenze.assign(1, RigaDati{});
        gstrLocalita = QStringLiteral("Italy: Milano");
        testsupport::Osservatore(45.4642f, 9.19f, 120.0f);
        gdatDataCorrente = QDateTime(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC);
        mAstro::Aggiorna_Tempo(gdatDataCorrente);
        pflgCentrale = true;
        pflgSatellite = true;
        pflgArresta = false;
        ref = riferimento();
        ASSERT_EQ(ref.sets.size(), 2u);
        carica(kSlotScratch, ref.sets["A"]);
        carica(kSlotSecondo, ref.sets["B"]);
    }

    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        gstrMagnitudini = m_magnitudini;
        mLang::Usa_File_Lingua(QString());
    }

    static void carica(int slot, const RigaDati& r)
    {
        ASSERT_EQ(Estrai_Dati_Satellite(slot, r.Riga0, r.Riga1, r.Riga2), core::ErroreElementi::Nessuno);
    }

    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir m_dir;
    std::vector<std::string> m_magnitudini;
    Riferimento ref;
};

} // namespace listtest
