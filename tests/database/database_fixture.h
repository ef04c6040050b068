#pragma once
// What the database window tests share: fake platform services, the English
// language file, a magnitude table, an empty working list, the program clock
// at 26 November 2013 14:00 UT and an observer in Milan.
#include "support/sample_sets.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/database.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "database/database_window.h"
#include "platform/fakes.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

namespace dbtest {

inline const QString kSample = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
inline constexpr double kAdesso = 2456623.0833333; // 2013-11-26 14:00 UT

inline QByteArray leggi(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// The set of the sample file with this catalogue number.
inline RigaDati set(const char* catalogo)
{
    return testsupport::Set_Campione(catalogo);
}

// Skyfield's elevations (degrees) of the sets of elements_sample_horizon.txt
// at kAdesso for the fixture's observer, by catalogue number
// (tools/database_samples.py).
inline std::map<long, double> elevazioni()
{
    std::map<long, double> out;
    std::ifstream in(ASTROVELA_TEST_DATA "/elements_sample_horizon.csv");
    std::string riga;
    while (std::getline(in, riga)) {
        if (riga.empty() || riga[0] == '#' || riga[0] == 'c')
            continue;
        const auto virgola = riga.find(',');
        out[std::stol(riga.substr(0, virgola))] = std::stod(riga.substr(virgola + 1));
    }
    return out;
}

class DatabaseWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        vb::setDisplayLocale(QLocale::c());
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        m_magnitudini = gstrMagnitudini;
        gstrMagnitudini.assign(30001, "");
        gstrMagnitudini[5] = "11.0";
        gstrMagnitudini[25544] = "-1.3";
        gudtFrequenze.assign(1, RigaDati{});
        core::WorkingList::instance().setFile(QString());
        core::WorkingList::instance().Rimuovi_Tutti();
        gudtDatabasePrimario.clear();
        gudtDatabaseSecondario.clear();
        gstrDatabasePrimario.clear();
        gdblGiornoGiuliano = kAdesso;
        gsngLatitudine = 45.4642f;
        gsngLongitudine = 9.19f;
        gsngQuota = 120.0f;
        gintPropagatore = 3;
        gblnRifrazione = false;
        pflgSatellite = true;
        pflgArresta = false;
    }

    void TearDown() override
    {
        frmDatabase::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::WorkingList::instance().Rimuovi_Tutti();
        gstrMagnitudini = m_magnitudini;
        mLang::Usa_File_Lingua(QString());
    }

    QString scrivi(const QByteArray& testo, const QString& nome = QStringLiteral("f.txt"))
    {
        const QString p = m_dir.filePath(nome);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(testo);
        return p;
    }

    // Lists the sets in this order.
    void elenca(const std::vector<RigaDati>& sets)
    {
        for (const RigaDati& s : sets)
            ASSERT_EQ(core::WorkingList::instance().Aggiungi(s).esito, core::WorkingList::Esito::Aggiunto);
    }

    std::vector<std::string> nomiElencati() const
    {
        std::vector<std::string> n;
        for (int k = 1; k <= gintNumSatelliti; ++k)
            n.push_back(gudtRigheAttive[size_t(k)].Riga0);
        return n;
    }

    frmDatabase* caricato()
    {
        frmDatabase* f = frmDatabase::instance();
        QString p = kSample;
        EXPECT_TRUE(f->Database_satelliti(p));
        return f;
    }

    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir m_dir;
    std::vector<std::string> m_magnitudini;
};

} // namespace dbtest
