#pragma once
// What the pass map tests share: fake platform services, the English
// language file, the program's data files, an observer in Milan (CET, no
// daylight saving), and one ISS pass with its Skyfield/PyEphem reference
// (tests/data/ref_pass_map.csv, tools/ref_pass_map.py).
#include "support/sample_sets.h"
#include "passes/pass_map_window.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/element_parser.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "support/observer.h"

#include <QApplication>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace skysattest {

struct Riferimento {
    QDateTime alzata, culmine, tramonto; // UTC
    struct Punto { double altezza, azimuth; bool eclisse; };
    std::map<QDateTime, Punto> traccia;  // every 15 s, UTC
    std::vector<std::pair<double, double>> corpi{10}; // rows 1..9: elevation, azimuth
    double faseLuna = 0;
    struct Stella { double ra, dec, altezza, azimuth; };
    std::vector<Stella> stelle;
};

inline QDateTime utc(const std::string& iso)
{
    QDateTime d = QDateTime::fromString(QString::fromStdString(iso), Qt::ISODate);
    d.setTimeSpec(Qt::UTC);
    return d;
}

inline Riferimento riferimento(const char* file = "ref_pass_map.csv")
{
    Riferimento r;
    std::ifstream in(std::string(ASTROVELA_TEST_DATA "/") + file);
    std::string riga;
    while (std::getline(in, riga)) {
        if (riga.empty() || riga[0] == '#')
            continue;
        std::vector<std::string> c;
        std::stringstream ss(riga);
        for (std::string f; std::getline(ss, f, ',');)
            c.push_back(f);
        if (c[0] == "pass") {
            r.alzata = utc(c[1]);
            r.culmine = utc(c[2]);
            r.tramonto = utc(c[3]);
        } else if (c[0] == "track") {
            r.traccia[utc(c[1])] = {std::stod(c[2]), std::stod(c[3]), c[4] == "1"};
        } else if (c[0] == "body") {
            r.corpi[std::stoi(c[1])] = {std::stod(c[2]), std::stod(c[3])};
        } else if (c[0] == "moonphase") {
            r.faseLuna = std::stod(c[1]);
        } else if (c[0] == "star") {
            r.stelle.push_back({std::stod(c[1]), std::stod(c[2]), std::stod(c[3]), std::stod(c[4])});
        }
    }
    return r;
}

// The three lines of a set of elements_sample.txt.
inline RigaDati set(const char* catalogo)
{
    return testsupport::Set_Campione(catalogo);
}

// Local program time (CET) of a UTC instant.
inline QDateTime locale(const QDateTime& utc)
{
    QDateTime d = utc.addSecs(3600);
    d.setTimeSpec(Qt::UTC);
    return d;
}

class PassMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        vb::setDisplayLocale(QLocale::c());
        // Screenshots for a look (ASTROVELA_SHOTS=folder) may be taken in
        // another language (ASTROVELA_SHOTS_LANG=italiano).
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") +
                               qEnvironmentVariable("ASTROVELA_SHOTS_LANG", QStringLiteral("english")) +
                               QStringLiteral(".ini"));
        // The landscape picture comes from the program folder.
        mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_SOURCE_DIR "/data"));
        static bool caricati = false;
        if (!caricati) {
            ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_SOURCE_DIR "/data")).ok);
            caricati = true;
        }
        ref = riferimento();
        ASSERT_TRUE(ref.alzata.isValid());
        gstrLocalita = QStringLiteral("Italy: Milano");
        testsupport::Osservatore(45.4642f, 9.19f, 120.0f);
        gblnAnteprimaGriglia = true;
        gblnAnteprimaGriglia10 = true;
        gblnAnteprimaGrigliaTipo = -1;
        gblnAnteprimaCostellazioniLinee = true;
        gblnAnteprimaCostellazioniNomi = true;
        gblnAnteprimaPianeti = true;
        gblnAnteprimaSoleLuna = true;
        gblnAnteprimaPianetiNomi = true;
        gblnAnteprimaSoleLunaNomi = true;
        gblnAnteprimaProiezioneStereo = false;
        gintAnteprimaOrientamento = 1;
        gintAnteprimaStelle = 1639;
        gblnAnteprimaEffettoOrizzonte = true;
        gblnAnteprimaPaesaggio = true;
        gdatDataCorrente = QDateTime(QDate(2013, 11, 26), QTime(14, 0), Qt::UTC);
        mAstro::Aggiorna_Tempo(gdatDataCorrente);
        pflgCentrale = true;
        pflgSatellite = true;
        metti(set("25544"));
    }

    // Puts a satellite in slot 201 as the prediction window does.
    static void metti(const RigaDati& s)
    {
        ASSERT_EQ(Estrai_Dati_Satellite(kSlotScratch, s.Riga0, s.Riga1, s.Riga2), core::ErroreElementi::Nessuno);
        gudtRigheAttive[kSlotScratch] = s;
        gintSatelliteCalcolo = kSlotScratch;
    }

    // A pass map of the reference pass, loaded and drawn (not shown).
    std::unique_ptr<frmSkySat> mappa()
    {
        auto m = std::make_unique<frmSkySat>();
        m->setAttribute(Qt::WA_DeleteOnClose, false);
        m->gvarTempoInizio = locale(ref.alzata);
        m->gvarTempoCulmine = locale(ref.culmine);
        m->gvarTempoFine = locale(ref.tramonto);
        m->gvarTempoMappa = locale(ref.culmine);
        m->gstrRiga1 = QStringLiteral("26/11/2013 23:59:28  210.1  0.0  Eclipsed");
        m->gstrRiga2 = QStringLiteral("27/11/2013 00:04:41  140.2 32.6  Eclipsed");
        m->gstrRiga3 = QStringLiteral("27/11/2013 00:09:56   60.3  0.0  Eclipsed");
        m->Form_Load();
        m->resize(442, 458);
        m->show(); // the first resize draws the chart
        QApplication::sendPostedEvents();
        return m;
    }

    void TearDown() override { mLang::Imposta_Cartella_Programma(QString()); }

    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    Riferimento ref;
};

// The ISS pass of 27 November 2013 at dawn: it leaves the Earth's shadow
// half way, with the Sun 11 degrees below the horizon.
class PassMapSunlit : public PassMap {
protected:
    void SetUp() override
    {
        PassMap::SetUp();
        gintSogliaSole = -10;
        ref = riferimento("ref_pass_map_sunlit.csv");
        ASSERT_TRUE(ref.alzata.isValid());
    }
};

} // namespace skysattest
