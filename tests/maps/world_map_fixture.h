#pragma once
// What the world map tests share: fake platform services, the English
// language file, the program folder with the map pictures, default settings,
// a working list of the sample sets (epochs of 2013 day 330.5) with the ISS
// as principal, an observer in Milan and the program clock at 26 November
// 2013 14:00 UT, and a main window with the map's commands connected.
#include "core/clock.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/msat.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "shell/main_window.h"
#include "common/window_links.h"
#include "maps/world_map_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

namespace wmtest {

inline QList<RigaDati> campioni()
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample_horizon.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> r = f.readAll().split('\n');
    QList<RigaDati> out;
    for (int i = 0; i + 2 < r.size(); i += 3)
        out.push_back({r[i].trimmed().toStdString(), r[i + 1].trimmed().toStdString(),
                       r[i + 2].trimmed().toStdString()});
    return out;
}

class WorldMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        vb::setDisplayLocale(QLocale::c());
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
        Impostazioni_default();
        gintPropagatore = 3;
        gblnRifrazione = false;
        gsngLatitudine = 45.4642f;
        gsngLongitudine = 9.19f;
        gsngQuota = 120.0f;
        gsngFusoOrario = 0;
        gbytOraLegale = 0;
        gstrLocalita = QStringLiteral("Italy: Milano");
        core::WorkingList& l = core::WorkingList::instance();
        l.setFile(QString());
        l.Rimuovi_Tutti();
        QList<RigaDati> sets = campioni();
        // The ISS first: the principal.
        for (int i = 0; i < sets.size(); ++i)
            if (sets[i].Riga1.substr(2, 5) == "25544")
                sets.move(i, 0);
        for (const RigaDati& s : sets)
            l.Aggiungi(s);
        pflgCentrale = true;
        pflgSatellite = true;
        pflgRicerca = true; // keep the sample list whole whatever the orbits do
        core::CentralClock::instance().reset();
        core::CentralClock::instance().Avvia_Simulazione(
            core::Data_Orologio(QDate(2013, 11, 26), QTime(14, 0, 0)));
        core::CentralClock::instance().tmrCentrale_Timer();
        main = std::make_unique<MDIForm1>();
        maps::Collega_Mappa_Mondo(*main);
        main->resize(1200, 820);
        main->show();
    }

    void TearDown() override
    {
        frmWorldMap::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main.reset();
        core::clockViews() = core::ClockViews{};
        core::WorkingList::instance().Rimuovi_Tutti();
        pflgRicerca = false;
        mLang::Usa_File_Lingua(QString());
    }

    QAction* voce(const char* nome) { return main->menuItem(QString::fromLatin1(nome)); }

    // Opens the map in a projection through the Earth menu and runs a tick.
    frmWorldMap* apri(const char* comando)
    {
        voce(comando)->trigger();
        frmWorldMap* w = frmWorldMap::instance(false);
        EXPECT_NE(w, nullptr);
        core::CentralClock::instance().Aggiorna();
        return w;
    }

    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    std::unique_ptr<MDIForm1> main;
};

} // namespace wmtest
