#pragma once
// What the local sky tests share: fake platform services with an in-memory
// settings store, the English language file, the program's data tables, the
// built-in settings, an observer in Rome and the program clock at a fixed
// instant, the main window with the local sky commands connected.
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/msat.h"
#include "core/settings.h"
#include "core/transit.h"
#include "core/working_list.h"
#include "platform/canvas_widget.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "shell/main_window.h"
#include "common/window_links.h"
#include "maps/local_sky_window.h"
#include "maps/local_sky_menu.h"
#include "support/observer.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

namespace skytest {

inline const QString kSample = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");

inline QByteArray leggi(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// Every set of the sample file, in file order.
inline std::vector<RigaDati> sets()
{
    std::vector<RigaDati> out;
    const QList<QByteArray> r = leggi(kSample).split('\n');
    for (int i = 0; i + 2 < r.size(); i += 3)
        if (!r[i].trimmed().isEmpty())
            out.push_back({r[i].trimmed().toStdString(), r[i + 1].trimmed().toStdString(),
                           r[i + 2].trimmed().toStdString()});
    return out;
}

class LocalSky : public ::testing::Test {
protected:
    void SetUp() override
    {
        vb::setDisplayLocale(QLocale::c());
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
        static bool caricati = false;
        if (!caricati) {
            ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)).ok);
            caricati = true;
        }
        Impostazioni_default();
        gblnPosizioniFinestre = false;
        testsupport::Osservatore(41.9f, 12.5f, 50.0f);
        core::WorkingList::instance().setFile(QString());
        core::WorkingList::instance().Rimuovi_Tutti();
        core::Svuota_Passaggio();
        Orologio(QDate(2013, 11, 26), QTime(21, 0, 0));
        pflgCentrale = true;
        pflgSatellite = true;
        main = std::make_unique<MDIForm1>();
        maps::Collega_Cielo_Locale(*main);
        main->resize(1100, 760);
    }

    void TearDown() override
    {
        if (frmLocalSky* f = frmLocalSky::instance())
            delete f;
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::WorkingList::instance().Rimuovi_Tutti();
        core::clockViews() = core::ClockViews{};
        mLang::Usa_File_Lingua(QString());
    }

    // Sets the program clock (local time) and the time globals.
    void Orologio(const QDate& d, const QTime& t)
    {
        gdatDataCorrente = core::Data_Orologio(d, t);
        ASSERT_TRUE(mAstro::Aggiorna_Tempo(gdatDataCorrente));
    }

    void elenca(const std::vector<RigaDati>& s)
    {
        for (const RigaDati& r : s)
            core::WorkingList::instance().Aggiungi(r);
    }

    // One tick of the clock without moving it.
    void tick()
    {
        core::CentralClock::instance().Arresta();
        pflgCentrale = true;
        core::CentralClock::instance().Aggiorna();
    }

    bool spunta(const char* n) const { return main->menuItem(QLatin1String(n))->isChecked(); }
    void clic(const char* n) { main->menuItem(QLatin1String(n))->trigger(); }

    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    std::unique_ptr<MDIForm1> main;
};

} // namespace skytest
