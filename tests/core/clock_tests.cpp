// The central clock driven by hand with a fixed computer time and fake views
// that record what they were asked to draw: clock steps and modes, the world
// map's regeneration period, drawing order, decay removal, the principal
// satellite's texts with Doppler-corrected frequencies, the status-bar dates.
#include "core/clock.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/working_list.h"
#include "platform/fakes.h"
#include "platform/vb.h"

#include "support/fixed_time.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

using testsupport::FixedTime;

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& b)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(b), b.size());
}

struct Recorder {
    QStringList calls;
};

class FakeMap : public core::WorldMapView {
public:
    explicit FakeMap(Recorder& r) : rec(r) {}
    void Genera_mappa() override { rec.calls << "map:genera"; }
    void Disegna_satellite(int slot) override { rec.calls << QString("map:%1").arg(slot); }
    void Disegna_visibilita() override { rec.calls << "map:visibilita"; }
    bool cerchioVisibilita() const override { return cerchio; }
    void Mostra_dati(const core::PrincipalTexts& t) override { rec.calls << "map:dati"; testi = t; }
    void Azzera_dati() override { rec.calls << "map:azzera"; }
    Recorder& rec;
    bool cerchio = true;
    core::PrincipalTexts testi;
};

class FakeSky : public core::LocalSkyView {
public:
    explicit FakeSky(Recorder& r) : rec(r) {}
    void Disegna_satellite_in_cielo(int slot) override { rec.calls << QString("sky:%1").arg(slot); }
    bool soloPrincipale() const override { return solo; }
    void Mostra_dati(const core::PrincipalTexts&) override { rec.calls << "sky:dati"; }
    void Azzera_dati() override { rec.calls << "sky:azzera"; }
    void Genera_mappa() override { rec.calls << "sky:genera"; }
    Recorder& rec;
    bool solo = false;
};

class FakeRefresh : public core::RefreshView {
public:
    FakeRefresh(Recorder& r, QString n) : rec(r), name(std::move(n)) {}
    void Aggiorna_dati() override { rec.calls << name; }
    Recorder& rec;
    QString name;
};

class FakeStatus : public core::StatusView {
public:
    void Mostra_data(const QString& text) override { last = text; ++count; }
    QString last;
    int count = 0;
};

// An element set with the given catalogue number and mean motion (rev/day),
// eccentricity 0.0005, epoch 2026 day 340.
RigaDati set(int n, const char* name, const char* motoMedio = "15.50000000")
{
    const std::string num = QString::number(n).rightJustified(5, '0').toStdString();
    std::string l1 = "1 00000U 98067A   26340.50000000  .00000000  00000-0  00000-0 0  9990";
    std::string l2 = "2 00000  51.6400 100.0000 0005000  90.0000 270.0000 15.50000000    10";
    l1.replace(2, 5, num);
    l2.replace(2, 5, num);
    l2.replace(52, 11, motoMedio);
    return {name, l1, l2};
}

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vb::setDisplayLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        clock().setTimeSource(&time);
        clock().reset();
        core::WorkingList::instance().setFile({});
        core::WorkingList::instance().Rimuovi_Tutti();
        gsngFusoOrario = 1;
        gbytOraLegale = 0;
        gsngLatitudine = 45.47f;
        gsngLongitudine = 9.19f;
        gintFormatoOra = 0;
        gintCanale[0] = 1;
        gintPropagatore = 2; // SGP4
        pflgCentrale = true;
        pflgSatellite = true;
        pflgRicerca = false;
        core::clockViews() = core::ClockViews{};
        core::clockViews().status = &status;
    }
    void TearDown() override
    {
        core::clockViews() = core::ClockViews{};
        clock().setTimeSource(nullptr);
        clock().reset();
        core::WorkingList::instance().Rimuovi_Tutti();
        pflgCentrale = false;
        pflgSatellite = false;
        vb::setDisplayLocale(QLocale::system());
    }
    static core::CentralClock& clock() { return core::CentralClock::instance(); }
    void list(std::initializer_list<RigaDati> sets)
    {
        for (const RigaDati& s : sets)
            ASSERT_EQ(core::WorkingList::instance().Aggiungi(s).esito, core::WorkingList::Esito::Aggiunto);
    }

    FixedTime time;
    FakeStatus status;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    Recorder rec;
};

} // namespace

TEST_F(ClockTest, RealTimeSimulationAndStop)
{
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gdatDataCorrente, time.now);
    time.now = time.now.addSecs(5); // a late tick still takes the computer's time
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gdatDataCorrente, time.now);
    EXPECT_EQ(clock().mode(), core::ClockMode::RealTime);

    // Play from 12:00:00: the next tick shows exactly 12:00:00, then 12:00:01.
    const QDateTime noon = core::Data_Orologio(QDate(2026, 6, 21), QTime(12, 0, 0));
    clock().Avvia_Simulazione(noon);
    EXPECT_EQ(clock().mode(), core::ClockMode::SimulationRunning);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gdatDataCorrente, noon);
    EXPECT_EQ(gdatDataLocale, noon);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gdatDataCorrente, noon.addSecs(1));

    // An immediate refresh asked by a window does not move the clock.
    clock().Aggiorna();
    clock().Aggiorna();
    EXPECT_EQ(gdatDataCorrente, noon.addSecs(1));

    // Stopped: ticks do nothing at all, not even the status bar.
    clock().Arresta();
    EXPECT_EQ(clock().mode(), core::ClockMode::SimulationStopped);
    const int shown = status.count;
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gdatDataCorrente, noon.addSecs(1));
    EXPECT_EQ(status.count, shown);

    // A simulation past the last date the program holds stops the clock.
    clock().Avvia_Simulazione(core::Data_Orologio(QDate(9999, 12, 31), QTime(23, 59, 59)));
    clock().tmrCentrale_Timer();
    clock().tmrCentrale_Timer();
    EXPECT_EQ(clock().mode(), core::ClockMode::SimulationStopped);

    clock().Usa_Ora_Pc();
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gdatDataCorrente, time.now);
}

TEST_F(ClockTest, EmptyListStillRefreshesAndRegeneratesTheMapEvery61Ticks)
{
    FakeMap map(rec);
    FakeRefresh track(rec, "track"), planets(rec, "planets"), timeView(rec, "time");
    core::clockViews().worldMap = &map;
    core::clockViews().track = &track;
    core::clockViews().planets = &planets;
    core::clockViews().time = &timeView;
    for (int i = 0; i < 60; ++i)
        clock().tmrCentrale_Timer();
    EXPECT_FALSE(rec.calls.contains("map:genera"));
    EXPECT_EQ(rec.calls.count("track"), 60);
    EXPECT_EQ(rec.calls.count("planets"), 60);
    EXPECT_EQ(rec.calls.count("time"), 60);
    EXPECT_EQ(status.count, 60);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(rec.calls.count("map:genera"), 1);
    for (int i = 0; i < 61; ++i)
        clock().tmrCentrale_Timer();
    EXPECT_EQ(rec.calls.count("map:genera"), 2);

    // With the satellite section off the counter stands and the table waits.
    pflgSatellite = false;
    rec.calls.clear();
    for (int i = 0; i < 70; ++i)
        clock().tmrCentrale_Timer();
    EXPECT_FALSE(rec.calls.contains("map:genera"));
    EXPECT_FALSE(rec.calls.contains("track"));
    EXPECT_EQ(rec.calls.count("time"), 70);
}

TEST_F(ClockTest, ViewsDrawEverySlotInOrderAndTheSkyOnlyThePrincipalWhenAsked)
{
    list({set(101, "ALPHA"), set(102, "BETA"), set(103, "GAMMA")});
    FakeMap map(rec);
    FakeSky sky(rec);
    core::clockViews().worldMap = &map;
    core::clockViews().localSky = &sky;
    clock().tmrCentrale_Timer();
    EXPECT_EQ(rec.calls, (QStringList{"map:1", "map:2", "map:3", "map:visibilita", "map:dati",
                                      "sky:1", "sky:2", "sky:3", "sky:dati"}));
    for (int k = 1; k <= 3; ++k)
        EXPECT_GT(gudtValori[k].Periodo, 0.0) << "slot " << k << " was not computed";

    rec.calls.clear();
    map.cerchio = false;
    sky.solo = true;
    clock().tmrCentrale_Timer();
    EXPECT_EQ(rec.calls, (QStringList{"map:1", "map:2", "map:3", "map:dati", "sky:1", "sky:dati"}));

    // A principal whose name line is blank is listed like any other: every
    // slot is computed and drawn, and its figures fill the panels.
    core::WorkingList::instance().Rimuovi_Tutti();
    list({set(104, "                        "), set(105, "DELTA")});
    ASSERT_TRUE(gudtSatelementi[1].Nome.empty());
    rec.calls.clear();
    map.testi = {};
    sky.solo = false;
    clock().tmrCentrale_Timer();
    EXPECT_EQ(rec.calls, (QStringList{"map:1", "map:2", "map:dati", "sky:1", "sky:2", "sky:dati"}));
    for (int k = 1; k <= 2; ++k)
        EXPECT_GT(gudtValori[k].Periodo, 0.0) << "slot " << k << " was not computed";
    // 15.5 revolutions a day: a period of about 1 h 33 min.
    EXPECT_TRUE(map.testi.lblPeriod.startsWith("01:3")) << map.testi.lblPeriod.toStdString();
}

TEST_F(ClockTest, DecayedSatelliteIsRemovedAloneUnlessASearchRuns)
{
    // Mean motion 16.6 rev/day: semi-major axis about 6480 km, perigee
    // about 100 km above the Earth.
    // The decaying set's name holds a right-to-left override, as a damaged
    // file may: the message's title shows a blank in its place.
    list({set(201, "HEALTHY"), set(202, "DECAY\xE2\x80\xAEING", "16.60000000"), set(203, "AFTER")});
    pflgRicerca = true;
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gintNumSatelliti, 3);
    EXPECT_LT(gudtValori[2].Perigeo, 138.0);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());

    pflgRicerca = false;
    FakeMap map(rec);
    core::clockViews().worldMap = &map;
    const int shown = status.count;
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(gudtSatelementi[1].Nome, "Healthy");
    EXPECT_EQ(gudtSatelementi[2].Nome, "After");
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].title, "Decay ing");
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    // The tick ended at the removal: no panel, no status bar this second.
    EXPECT_FALSE(rec.calls.contains("map:dati"));
    EXPECT_EQ(status.count, shown);
    EXPECT_TRUE(pflgSatellite);

    // A decayed principal clears the panels before the list moves up.
    core::WorkingList::instance().Rendi_Principale(2);
    core::WorkingList::instance().Aggiungi(set(204, "GONE", "16.60000000"));
    core::WorkingList::instance().Rendi_Principale(3);
    rec.calls.clear();
    clock().tmrCentrale_Timer();
    EXPECT_EQ(rec.calls, QStringList{"map:azzera"});
    EXPECT_EQ(gintNumSatelliti, 2);
}

TEST_F(ClockTest, PrincipalTextsWithDopplerCorrectedFrequencies)
{
    core::Carica_Parole_Stato(); // no language file: the words are empty
    Satelement e;
    e.FrequenzaDiscesa[1] = "437.1";
    e.FrequenzaSalita[1] = "145.9";
    Valori v;
    v.LatitudineAssoluta = 45.123;
    v.EmisferoNS = "N";
    v.LongitudineAssoluta = 9.5;
    v.EmisferoEW = "W";
    v.Quota = 412.345;
    v.Distanza = 1234.56;
    v.VelocitaRadiale = 7.0;
    v.NumeroOrbita = 12345.678;
    v.Altezza = 35.31;
    v.Azimuth = 180.0;
    v.Apogeo = 420.04;
    v.Perigeo = 410.96;
    v.Periodo = 5555.9;
    v.Velocita = 7.66;
    v.Stato = StatoVisibile;
    v.Magnitudine = MagnitudineVisuale::numero(2.345);

    // Latitude 45, on the meridian to the south at 35.31 degrees: declination
    // 35.31 - 45 = -9.69 (9 degrees 41.4 minutes), right ascension = the
    // local sidereal time 7.512 h (7 h 30 m 43.2 s).
    core::PrincipalTexts t = core::Testi_Principale(v, e, 1, 45.0, 7.512);
    EXPECT_EQ(t.lblLatitude, "45.12°N");
    EXPECT_EQ(t.lblLongitude, "9.50°W");
    EXPECT_EQ(t.lblHeight, "412.3");
    EXPECT_EQ(t.lblRange, "1234.6");
    EXPECT_EQ(t.lblRangeRate, "7.0");
    EXPECT_EQ(t.lblOrbitNumber, "12345.7");
    EXPECT_EQ(t.lblAltitude, "35.31°");
    EXPECT_EQ(t.lblAzimuth, "180.00°");
    EXPECT_EQ(t.lblApogee, "420.0");
    EXPECT_EQ(t.lblPerigee, "411.0");
    EXPECT_EQ(t.lblPeriod, "01:32:35");
    EXPECT_EQ(t.lblVelocity, "7.7");
    EXPECT_EQ(t.lblAscension, "07h30m43s");
    EXPECT_EQ(t.lblDeclination, "-09°41'");
    EXPECT_EQ(t.lblMagnitude, "2.3");
    // 437.1 x (1 - 7 / 299792) = 437.08979...; 145.9 x (1 + 7 / 299792) = 145.90341...
    EXPECT_EQ(t.lblRicez, "437.0898");
    EXPECT_EQ(t.lblTrasm, "145.9034");

    // Channel 3 has no frequencies: "0"; below the horizon or in the shadow
    // the magnitude is "*"; an unknown magnitude stays "???".
    t = core::Testi_Principale(v, e, 3, 45.0, 7.512);
    EXPECT_EQ(t.lblRicez, "0");
    EXPECT_EQ(t.lblTrasm, "0");
    v.Altezza = -0.5;
    EXPECT_EQ(core::Testi_Principale(v, e, 1, 45.0, 7.512).lblMagnitude, "*");
    v.Altezza = 10;
    v.Stato = StatoEclisse;
    EXPECT_EQ(core::Testi_Principale(v, e, 1, 45.0, 7.512).lblMagnitude, "*");
    v.Stato = StatoNonVisibile;
    v.Magnitudine = MagnitudineVisuale::sconosciuta();
    EXPECT_EQ(core::Testi_Principale(v, e, 1, 45.0, 7.512).lblMagnitude, "???");
    v.Altezza = 5.5;
    v.Azimuth = 7.25;
    EXPECT_EQ(core::Testi_Principale(v, e, 1, 45.0, 7.512).lblAltitude, "05.50°");
    EXPECT_EQ(core::Testi_Principale(v, e, 1, 45.0, 7.512).lblAzimuth, "07.25°");

    EXPECT_EQ(core::Stato2Stringa(0), "");
    EXPECT_EQ(core::Stato2Stringa(4), "");
}

TEST_F(ClockTest, TheTenStatusBarDateFormats)
{
    // Monday 7 December 2026, 08:06:03 local, one hour east of Greenwich;
    // day 341 of the year.
    gdatDataLocale = core::Data_Orologio(QDate(2026, 12, 7), QTime(8, 6, 3));
    gdatDataUT = core::Data_Orologio(QDate(2026, 12, 7), QTime(7, 6, 3));
    gintGiornoAnnoLocale = 341;
    gintGiornoAnnoUT = 341;
    gdblOraLocale = 8 + 6 / 60.0 + 3 / 3600.0;
    gdblOraUT = 7 + 6 / 60.0 + 3 / 3600.0;
    gdblAnnoLocale = 2026;
    gdblAnnoUT = 2026;
    gbytOraLegale = 1;
    const QStringList expected = {
        "07 December 2026  08:06:03 *",
        "07 December 2026  07:06:03 (Greenwich)",
        "Mon 07 December 2026  08:06:03 *",
        "Mon 07 December 2026  07:06:03 (Greenwich)",
        "Dec 07 2026  08:06:03 *",
        "Dec 07 2026  07:06:03 Greenwich",
        "341 giorno 08:06:03 *",
        "341 giorno 07:06:03 Greenwich",
        "341.33753472@2026 *",   // 341 + 8.100833 / 24
        "341.29586806@2026 Greenwich",
    };
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(core::Testo_Data_Stato(k), expected[k]) << "format " << k;
    gbytOraLegale = 0;
    EXPECT_EQ(core::Testo_Data_Stato(0), "07 December 2026  08:06:03 ");
    EXPECT_FALSE(core::Testo_Data_Stato(12).has_value());
    EXPECT_FALSE(core::Testo_Data_Stato(-1).has_value());
}

namespace {
// A message box during which the timer fires again, as it would while the
// box waits for the user.
class TickingPrompt : public platform::Prompt {
public:
    int MsgBox(const QString&, int, const QString&) override
    {
        before = gdatDataCorrente;
        ++shown;
        core::CentralClock::instance().tmrCentrale_Timer();
        core::CentralClock::instance().tmrCentrale_Timer();
        after = gdatDataCorrente;
        return platform::vbOK;
    }
    QDateTime before, after;
    int shown = 0;
};
} // namespace

TEST_F(ClockTest, OneFailingSatelliteDoesNotStopTheOthers)
{
    // A drag term of about 1 brings a low orbit down within days: the model
    // cannot follow it a year later. While a pass search runs nothing is
    // removed, so the satellite stays and shows nothing this second.
    RigaDati broken = set(302, "BROKEN");
    broken.Riga1.replace(53, 8, " 99999-0");
    list({set(301, "FIRST"), broken, set(303, "THIRD")});
    FakeMap map(rec);
    core::clockViews().worldMap = &map;
    pflgRicerca = true;
    clock().Avvia_Simulazione(core::Data_Orologio(QDate(2027, 12, 10), QTime(0, 0, 0)));
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gintNumSatelliti, 3);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_GT(gudtValori[1].Periodo, 0.0);
    EXPECT_EQ(gudtValori[2], Valori{});
    EXPECT_GT(gudtValori[3].Periodo, 0.0);
    EXPECT_TRUE(rec.calls.contains("map:3"));
    EXPECT_TRUE(rec.calls.contains("map:dati"));
}

TEST_F(ClockTest, AMessageBoxInsideTheTickDoesNotReenterIt)
{
    TickingPrompt prompt;
    platform::Services s = fakes.services();
    s.prompt = &prompt;
    platform::ScopedServices ticking(s);
    list({set(401, "DECAYING", "16.60000000"), set(402, "OTHER")});
    const QDateTime start = time.now;
    clock().tmrCentrale_Timer();
    ASSERT_EQ(prompt.shown, 1);
    // The ticks that came while the box was open did nothing.
    EXPECT_EQ(prompt.before, start);
    EXPECT_EQ(prompt.after, start);
    EXPECT_EQ(gintNumSatelliti, 1);
    EXPECT_EQ(gudtSatelementi[1].Nome, "Other");
    // Afterwards the clock goes on as before.
    time.now = start.addSecs(1);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gdatDataCorrente, start.addSecs(1));
    EXPECT_TRUE(pflgSatellite);
}

TEST_F(ClockTest, OnTheComputersClockAFallenOrbitLeavesTheListAndItsFileIsKept)
{
    // An orbit that drag has brought down since its epoch, on the computer's
    // own clock: the model gives up on it, which is a decay like a perigee
    // below 138 km. It leaves the list with the decay message, and the list's
    // file as it was before is kept beside it byte for byte.
    QTemporaryDir dir;
    const QString file = dir.filePath("Astrovela.ini");
    core::WorkingList::instance().setFile(file);
    RigaDati fallen = set(312, "FALLEN");
    fallen.Riga1.replace(53, 8, " 99999-0");
    list({set(311, "FIRST"), fallen, set(313, "THIRD")});
    const QByteArray before = bytes(file);
    time.now = core::Data_Orologio(QDate(2027, 12, 10), QTime(0, 0, 0));
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(gudtSatelementi[1].Nome, "First");
    EXPECT_EQ(gudtSatelementi[2].Nome, "Third");
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].title, "Fallen");
    EXPECT_EQ(bytes(file + ".bak"), before);
    EXPECT_FALSE(bytes(file).contains("FALLEN") || bytes(file).contains("Fallen"));
    // The next second computes the rest as usual.
    time.now = time.now.addSecs(1);
    clock().tmrCentrale_Timer();
    EXPECT_GT(gudtValori[1].Periodo, 0.0);
    EXPECT_GT(gudtValori[2].Periodo, 0.0);
    core::WorkingList::instance().setFile({});
}

TEST_F(ClockTest, ASimulationFarFromTheEpochsLosesNoSatellite)
{
    // ISS-like, sun-synchronous and geostationary sets (real elements), and
    // one that has decayed by 2027: simulations at 1950, at 9999 and in 2027
    // compute what they can, show the rest as not computable, remove nothing
    // and leave the list's file exactly as it was.
    QTemporaryDir dir;
    const QString file = dir.filePath("Astrovela.ini");
    core::WorkingList::instance().setFile(file);
    RigaDati fallen = set(312, "FALLEN");
    fallen.Riga1.replace(53, 8, " 99999-0");
    list({{"ISS (ZARYA)",
           "1 25544U 98067A   26340.51782528  .00012774  00000-0  22788-3 0  9991",
           "2 25544  51.6325 155.2331 0003485 280.4560  79.6013 15.49669720542340"},
          {"NOAA 19",
           "1 33591U 09005A   26340.20422338  .00000062  00000-0  56761-4 0  9994",
           "2 33591  98.9701  39.0826 0013153 216.0153 143.9157 14.13352718919427"},
          {"ASTRA 1KR",
           "1 29055U 06012A   26340.14436574  .00000131  00000-0  00000+0 0  9997",
           "2 29055   0.0405 171.2430 0002806 150.7366 221.3104  1.00271237 75001"},
          fallen});
    const QByteArray before = bytes(file);
    ASSERT_FALSE(before.isEmpty());
    const QDateTime istanti[] = {
        core::Data_Orologio(QDate(1950, 1, 1), QTime(0, 0, 0)),
        core::Data_Orologio(QDate(9999, 12, 30), QTime(12, 0, 0)),
        core::Data_Orologio(QDate(2027, 12, 10), QTime(0, 0, 0)),
    };
    FakeMap map(rec);
    core::clockViews().worldMap = &map;
    for (const QDateTime& t : istanti) {
        clock().Avvia_Simulazione(t);
        for (int k = 0; k < 3; ++k)
            clock().tmrCentrale_Timer();
        EXPECT_EQ(gdatDataCorrente, t.addSecs(2));
        EXPECT_EQ(gintNumSatelliti, 4) << t.toString().toStdString();
        if (t.date().year() == 9999) {
            // The ISS cannot be followed 8000 years on: its panel is empty.
            EXPECT_EQ(gudtValori[1], Valori{});
            EXPECT_TRUE(map.testi.lblLatitude.isEmpty());
            EXPECT_TRUE(map.testi.lblRicez.isEmpty());
        }
    }
    EXPECT_FALSE(map.testi.lblLatitude.isEmpty()); // computed again in 2027
    core::clockViews().worldMap = nullptr;
    // In 2027 the three healthy ones are computed, the fallen one is not.
    EXPECT_GT(gudtValori[1].Periodo, 0.0);
    EXPECT_GT(gudtValori[3].Periodo, 80000.0);
    EXPECT_EQ(gudtValori[4], Valori{});
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_EQ(bytes(file), before);
    EXPECT_FALSE(QFileInfo::exists(file + ".bak"));
    EXPECT_EQ(gudtSatelementi[4].Nome, "Fallen");
    core::WorkingList::instance().setFile({});
}

namespace {
// The clock of a computer set to the zone given in ASTROVELA_ZONE_CHILD, for
// universal instants on both sides of the change to summer time in Europe
// (29 March 2026, 01:00 UT) and in the United States (8 March 2026, 07:00 UT):
// prints, for each instant, the Julian date the tick computed minus the one
// of that instant counted from the Unix epoch, and the local time shown.
TEST(ClockZoneChild, PrintTheTicks)
{
    if (qEnvironmentVariableIsEmpty("ASTROVELA_ZONE_CHILD"))
        GTEST_SKIP() << "run by ClockZones in a child process";
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QDateTime ut;
    core::SystemTimeSource sorgente([&ut] { return ut; });
    core::CentralClock& c = core::CentralClock::instance();
    c.setTimeSource(&sorgente);
    c.reset();
    pflgCentrale = true;
    pflgSatellite = true;
    gsngFusoOrario = qEnvironmentVariable("ASTROVELA_ZONE_FUSO").toFloat();
    gbytOraLegale = 0;
    const qint64 prove[] = {1774744200, 1774749600, 1772951400, 1772956800, 1796594400};
    for (qint64 s : prove) {
        ut = QDateTime::fromSecsSinceEpoch(s, QTimeZone::utc());
        c.tmrCentrale_Timer();
        const double atteso = 2440587.5 + double(s) / 86400.0;
        std::printf("ZONE %lld %.1f %s\n", static_cast<long long>(s), (gdblGiornoGiuliano - atteso) * 86400.0,
                    qPrintable(gdatDataCorrente.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    }
    // And the live system clock: the observer's time is universal time plus
    // the observer's zone, not the computer's local time.
    const QDateTime adesso = core::SystemTimeSource().adesso();
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    std::printf("LIVE %lld\n",
                static_cast<long long>(core::Data_Orologio(utc.date(), utc.time()).secsTo(adesso)));
    c.setTimeSource(nullptr);
    c.reset();
}
} // namespace

TEST(ClockZones, TheObserversTimeIsMadeFromUniversalTimeOnAComputerInAnyZone)
{
    // Observer in Milan (+1 h, no summer time) and in Kolkata (+5.5 h), on
    // computers set to UTC, Rome, New York and Kolkata.
    struct Caso {
        const char* zona;
        const char* fuso;
        int scarto; // seconds from universal time
    };
    const Caso casi[] = {{"UTC", "1", 3600},          {"Europe/Rome", "1", 3600},
                         {"America/New_York", "1", 3600}, {"Asia/Kolkata", "1", 3600},
                         {"UTC", "5.5", 19800},       {"America/New_York", "5.5", 19800}};
    for (const Caso& c : casi) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TZ", c.zona);
        env.insert("ASTROVELA_ZONE_CHILD", "1");
        env.insert("ASTROVELA_ZONE_FUSO", c.fuso);
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ClockZoneChild.*"});
        ASSERT_TRUE(p.waitForFinished(60000)) << c.zona;
        const QStringList righe = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
        int viste = 0;
        for (const QString& r : righe) {
            const QStringList parti = r.split(' ');
            if (parti.value(0) == "ZONE") {
                ++viste;
                // The Julian date is that of the universal instant, to the second.
                EXPECT_LT(std::fabs(parti.value(2).toDouble()), 1.0) << c.zona << " " << r.toStdString();
                const QDateTime atteso = QDateTime::fromSecsSinceEpoch(parti.value(1).toLongLong(), QTimeZone::utc())
                                             .addSecs(c.scarto);
                EXPECT_EQ(parti.value(3) + ' ' + parti.value(4),
                          atteso.toString("yyyy-MM-dd HH:mm:ss"))
                    << c.zona;
            } else if (parti.value(0) == "LIVE") {
                ++viste;
                EXPECT_NEAR(parti.value(1).toInt(), c.scarto, 2) << c.zona;
            }
        }
        EXPECT_EQ(viste, 6) << c.zona << "\n" << righe.join('\n').toStdString();
    }
}

TEST_F(ClockTest, TwoRemovalsInARunLoseNeitherSetAndEachSaysItsOwnReason)
{
    // One set whose perigee is below 138 km and one whose orbit the model can
    // no longer follow, removed one tick apart: the list's file as it stood
    // before the first removal is kept and not replaced by the second, and
    // both sets end in the file of removed sets, which each message names.
    // Each message gives that removal's own reason.
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    QTemporaryDir dir;
    const QString file = dir.filePath("Astrovela.ini");
    core::WorkingList::instance().setFile(file);
    RigaDati fallen = set(502, "FALLEN");
    fallen.Riga1.replace(53, 8, " 99999-0");
    list({set(501, "FIRST"), set(503, "LOW", "16.60000000"), set(504, "SECOND"), fallen});
    const QByteArray before = bytes(file);
    time.now = core::Data_Orologio(QDate(2027, 12, 10), QTime(0, 0, 0));
    clock().tmrCentrale_Timer();
    time.now = time.now.addSecs(1);
    clock().tmrCentrale_Timer();
    time.now = time.now.addSecs(1);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(gudtSatelementi[1].Nome, "First");
    EXPECT_EQ(gudtSatelementi[2].Nome, "Second");
    EXPECT_EQ(bytes(file + ".bak"), before);
    const QByteArray removed = bytes(file + ".removed");
    EXPECT_EQ(removed, "Low\r\n" + QByteArray::fromStdString(set(503, "LOW", "16.60000000").Riga1) + "\r\n"
                           + QByteArray::fromStdString(set(503, "LOW", "16.60000000").Riga2) + "\r\nFallen\r\n"
                           + QByteArray::fromStdString(fallen.Riga1) + "\r\n"
                           + QByteArray::fromStdString(fallen.Riga2) + "\r\n");
    ASSERT_EQ(fakes.prompt.calls.size(), 2);
    const QString dove = QDir::toNativeSeparators(file + ".removed");
    EXPECT_EQ(fakes.prompt.calls[0].title, "Low");
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains("its perigee is below 138 km"));
    EXPECT_TRUE(fakes.prompt.calls[0].text.endsWith(dove));
    EXPECT_EQ(fakes.prompt.calls[1].title, "Fallen");
    EXPECT_FALSE(fakes.prompt.calls[1].text.contains("138 km"));
    EXPECT_TRUE(fakes.prompt.calls[1].text.contains(mLang::Testo_Lingua("MDIForm1", "satellitenoncalcolabile")));
    EXPECT_TRUE(fakes.prompt.calls[1].text.endsWith(dove));

    // The next run's first removal takes a new copy of the list; the sets
    // removed in the run before stay in the file of removed sets.
    core::WorkingList::instance().setFile(file);
    list({set(505, "LATER", "16.60000000")});
    time.now = time.now.addSecs(1);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_TRUE(bytes(file + ".bak").contains("Later\r\n"));
    EXPECT_TRUE(bytes(file + ".removed").startsWith(removed));
    EXPECT_TRUE(bytes(file + ".removed").endsWith(QByteArray::fromStdString(set(505, "L", "16.60000000").Riga2) + "\r\n"));
    core::WorkingList::instance().setFile({});
    mLang::Usa_File_Lingua({});
}

TEST_F(ClockTest, StartsThatEndDuringTheDecayMessageKeepTheSetOnce)
{
    // The set is kept before its message, and the list saved without it
    // after: each start that ends while the message is open (killed, logged
    // out) finds the satellite in the list again and removes it again. The
    // file of removed sets holds it once however often that happens; a set
    // removed later still goes in, and what was there stays.
    QTemporaryDir dir;
    const QString file = dir.filePath("Astrovela.ini");
    const RigaDati basso = set(521, "LOW", "16.60000000");
    core::WorkingList::instance().setFile(file);
    list({set(520, "FIRST"), basso});
    const QByteArray lista = bytes(file);
    const QByteArray prima = "An earlier removal\r\n";
    write(file + ".removed", prima);
    const QByteArray tenuto = "Low\r\n" + QByteArray::fromStdString(basso.Riga1) + "\r\n"
        + QByteArray::fromStdString(basso.Riga2) + "\r\n";
    for (int avvio = 1; avvio <= 3; ++avvio) {
        SCOPED_TRACE(avvio);
        // The list as the ended run left it on disk, read by a new run.
        write(file, lista);
        core::WorkingList::instance().setFile({});
        ASSERT_TRUE(core::WorkingList::instance().Leggi_Ini(file));
        core::WorkingList::instance().setFile(file);
        ASSERT_EQ(gintNumSatelliti, 2);
        fakes.prompt.calls.clear();
        time.now = time.now.addSecs(1);
        clock().tmrCentrale_Timer();
        EXPECT_EQ(gintNumSatelliti, 1);
        EXPECT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(bytes(file + ".removed"), prima + tenuto);
    }
    const RigaDati altro = set(522, "LATER", "16.60000000");
    list({altro});
    time.now = time.now.addSecs(1);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(bytes(file + ".removed"), prima + tenuto + "Later\r\n" + QByteArray::fromStdString(altro.Riga1)
                                            + "\r\n" + QByteArray::fromStdString(altro.Riga2) + "\r\n");
    core::WorkingList::instance().setFile({});
}

TEST_F(ClockTest, ASetThatCannotBeKeptStaysAndTheUserIsToldOnce)
{
    // The file of removed sets cannot be written (a folder holds its name):
    // the decayed satellite stays in the list and its file, shown as not
    // computable; one message names the file and the reason, and the set is
    // not tried again in this run.
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    QTemporaryDir dir;
    const QString file = dir.filePath("Astrovela.ini");
    const QString rimossi = file + ".removed";
    ASSERT_TRUE(QDir().mkpath(rimossi));
    core::WorkingList::instance().setFile(file);
    list({set(511, "LOW", "16.60000000"), set(512, "OTHER")});
    const QByteArray lista = bytes(file);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(gudtValori[1], Valori{});
    EXPECT_GT(gudtValori[2].Periodo, 0.0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const auto& msg = fakes.prompt.calls[0];
    EXPECT_EQ(msg.title, "Low");
    EXPECT_EQ(msg.flags & 0x70, platform::vbExclamation);
    EXPECT_TRUE(msg.text.contains("its perigee is below 138 km")) << msg.text.toStdString();
    // What failed is keeping the set in that file (not a reading of it), and why.
    EXPECT_TRUE(msg.text.contains(mLang::Testo_Lingua("MDIForm1", "rimossinonconservati")
                                  + "\r\nThey could not be added to the file "
                                  + QDir::toNativeSeparators(QFileInfo(rimossi).absoluteFilePath())
                                  + ": it is not an ordinary file (it is a named pipe, a device or a folder).\r\n"))
        << msg.text.toStdString();
    EXPECT_FALSE(msg.text.contains("has not been read")) << msg.text.toStdString();
    EXPECT_TRUE(msg.text.endsWith(mLang::Testo_Lingua("MDIForm1", "satelliteresta"))) << msg.text.toStdString();
    EXPECT_FALSE(msg.text.contains(mLang::Testo_Lingua("MDIForm1", "satellitedecaduto3")));

    // The next ticks neither ask again nor try again: with the folder gone
    // the set would be written now.
    ASSERT_TRUE(QDir().rmdir(rimossi));
    for (int i = 0; i < 3; ++i) {
        time.now = time.now.addSecs(1);
        clock().tmrCentrale_Timer();
    }
    EXPECT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_FALSE(QFileInfo::exists(rimossi));
    EXPECT_EQ(bytes(file), lista);
    core::WorkingList::instance().setFile({});
    mLang::Usa_File_Lingua({});
}

TEST_F(ClockTest, TheLocalSkyIsRedrawnAtTheTickAfterAJumpOfTheClock)
{
    // Like the world map's day and night: a simulation started elsewhere in
    // time, and real time taken back, show on the local sky chart at the next
    // tick, not when its own minute comes round. Ordinary seconds do not redraw it.
    FakeSky sky(rec);
    core::clockViews().localSky = &sky;
    const auto redraws = [this] { return rec.calls.count("sky:genera"); };
    clock().tmrCentrale_Timer();
    time.now = time.now.addSecs(1);
    clock().tmrCentrale_Timer();
    EXPECT_EQ(redraws(), 0);
    clock().Avvia_Simulazione(core::Data_Orologio(QDate(2027, 3, 1), QTime(21, 0, 0)));
    clock().tmrCentrale_Timer();
    EXPECT_EQ(redraws(), 1);
    clock().tmrCentrale_Timer();
    clock().Aggiorna();
    EXPECT_EQ(redraws(), 1);
    clock().Usa_Ora_Pc();
    clock().tmrCentrale_Timer();
    EXPECT_EQ(redraws(), 2);
    EXPECT_EQ(gdatDataCorrente, time.now);
    // Also with an empty working list: the Moon and the planets move.
    ASSERT_EQ(gintNumSatelliti, 0);
}

namespace {
// A question the user takes a few seconds to answer: meanwhile the
// computer's clock goes on and the timer keeps firing.
class DomandaLenta : public platform::FakePrompt {
public:
    int MsgBox(const QString& text, int flags, const QString& title) override
    {
        if (mentre)
            mentre();
        return FakePrompt::MsgBox(text, flags, title);
    }
    std::function<void()> mentre;
};
} // namespace

TEST_F(ClockTest, ASummerTimeChangeWhileRunningAsksTheStartsQuestionAgainAndTheViewsFollowTheAnswer)
{
    // Computer and observer in Rome (one hour east, summer time from the
    // last Sunday of March to the last Sunday of October, at 01:00 UT):
    // 2026-03-29 01:00 UT is 02:00 standard time, which becomes 03:00. The
    // computer's zone is the test's own (the rules of a named zone at the
    // test's universal time), whatever zone the machine is set to.
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    ASSERT_FALSE(mLang::Testo_Lingua("MDIForm1", "cambiareoralegale1").isEmpty());
    QDateTime ut;
    QTimeZone zona("Europe/Rome");
    core::SystemTimeSource computer([&ut] { return ut; });
    clock().setTimeSource(&computer);
    DomandaLenta domanda;
    platform::Services servizi = fakes.services();
    servizi.prompt = &domanda;
    platform::ScopedServices qui(servizi);
    const bool verifica = gblnVerificaOraLegale;
    gblnVerificaOraLegale = true;
    gbytOraLegale = 0;
    QStringList mostrate; // the status bar's time at each second
    const auto tick = [&] {
        fakes.timeZone.state = platform::QtTimeZoneInfo::stateOf(zona, ut);
        clock().tmrCentrale_Timer();
        mostrate << status.last.mid(status.last.indexOf("  ") + 2);
    };
    const auto corri = [&](int mese, int giorno, QTime da, int secondi) {
        mostrate.clear();
        ut = QDateTime(QDate(2026, mese, giorno), da, Qt::UTC);
        for (int i = 0; i < secondi; ++i, ut = ut.addSecs(1)) {
            tick();
            // Universal time runs on, whatever the question and its answer.
            if (clock().usaOraPc()) {
                EXPECT_NEAR((gdblGiornoGiuliano - (2440587.5 + ut.toSecsSinceEpoch() / 86400.0)) * 86400.0, 0, 0.5)
                    << ut.toString(Qt::ISODate).toStdString();
            }
        }
    };
    // The user reads the question for three seconds.
    domanda.mentre = [&] {
        for (int i = 0; i < 3; ++i, tick())
            ut = ut.addSecs(1);
    };

    // Spring, and Yes: the status bar goes from 01:59:59 to the time the
    // answer comes, 03:00:03 summer time, and shows no 02:00 meanwhile.
    domanda.answers = {platform::vbYes};
    corri(3, 29, QTime(0, 59, 57), 6);
    ASSERT_EQ(domanda.calls.size(), 1);
    EXPECT_EQ(domanda.calls[0].text, mLang::Testo_Lingua("MDIForm1", "cambiareoralegale1") + "\r\n"
                                         + mLang::Testo_Lingua("MDIForm1", "cambiareoralegale2"));
    EXPECT_EQ(domanda.calls[0].flags, platform::vbYesNo | platform::vbQuestion);
    EXPECT_EQ(mostrate, (QStringList{"01:59:57 ", "01:59:58 ", "01:59:59 ", "01:59:59 ", "01:59:59 ", "01:59:59 ",
                                     "03:00:03 *", "03:00:04 *", "03:00:05 *"}));
    EXPECT_EQ(status.last, "29 March 2026  03:00:05 *");
    EXPECT_EQ(gbytOraLegale, 1);
    EXPECT_EQ(fakes.settings.value("Osservatore", "Ora legale"), QString("1"));
    // Asked once: the seconds that follow ask nothing.
    corri(3, 29, QTime(1, 0, 6), 2);
    EXPECT_EQ(domanda.calls.size(), 1);
    EXPECT_EQ(mostrate, (QStringList{"03:00:06 *", "03:00:07 *"}));

    // Autumn, and Yes: 02:59:59 summer time, then 02:00 standard time at the
    // answer; 03:00 summer time, which that night has not, is never shown.
    domanda.answers = {platform::vbYes};
    corri(10, 25, QTime(0, 59, 58), 4);
    ASSERT_EQ(domanda.calls.size(), 2);
    EXPECT_EQ(mostrate, (QStringList{"02:59:58 *", "02:59:59 *", "02:59:59 *", "02:59:59 *", "02:59:59 *",
                                     "02:00:03 ", "02:00:04 "}));
    EXPECT_EQ(gbytOraLegale, 0);
    EXPECT_EQ(fakes.settings.value("Osservatore", "Ora legale"), QString("0"));

    // No keeps the observer's setting, as at the start, and is not asked
    // again until the computer's zone changes once more.
    domanda.mentre = nullptr;
    domanda.answers = {platform::vbNo};
    clock().reset();
    corri(3, 29, QTime(0, 59, 59), 4);
    EXPECT_EQ(domanda.calls.size(), 3);
    EXPECT_EQ(gbytOraLegale, 0);
    EXPECT_EQ(mostrate, (QStringList{"01:59:59 ", "02:00:00 ", "02:00:01 ", "02:00:02 "}));

    // A simulation running through the change asks nothing; back on the
    // computer's clock the change is asked about at the first tick.
    clock().reset();
    corri(3, 29, QTime(0, 59, 58), 1);
    clock().Avvia_Simulazione(core::Data_Orologio(QDate(2026, 6, 21), QTime(12, 0, 0)));
    corri(3, 29, QTime(0, 59, 59), 3);
    EXPECT_EQ(domanda.calls.size(), 3);
    domanda.answers = {platform::vbYes};
    clock().Usa_Ora_Pc();
    corri(3, 29, QTime(1, 0, 2), 1);
    EXPECT_EQ(domanda.calls.size(), 4);
    EXPECT_EQ(mostrate, QStringList{"03:00:02 *"});

    // Nothing is asked where the start would not ask: the check switched
    // off; a computer in another country's zone (New York's change, 8 March
    // 2026 07:00 UT), or kept in universal time.
    clock().reset();
    gblnVerificaOraLegale = false;
    gbytOraLegale = 0;
    corri(3, 29, QTime(0, 59, 59), 2);
    gblnVerificaOraLegale = true;
    for (const char* altrove : {"America/New_York", "UTC"}) {
        clock().reset();
        zona = QTimeZone(altrove);
        corri(3, 8, QTime(6, 59, 59), 2);
        corri(3, 29, QTime(0, 59, 59), 2);
    }
    EXPECT_EQ(domanda.calls.size(), 4);
    EXPECT_EQ(gbytOraLegale, 0);
    EXPECT_EQ(mostrate, (QStringList{"01:59:59 ", "02:00:00 "}));

    // The start's question (observer in Rome with last summer's setting,
    // or none in the summer) left open while the computer's zone changes,
    // the timer firing under it: the answer takes the computer's state when
    // it is given, and the status bar runs on a second at a time, with no
    // hour shown that Rome skips or twice one it repeats, and nothing asked
    // again.
    zona = QTimeZone("Europe/Rome");
    const auto secondi = [](const QString& ora) {
        return QTime::fromString(ora.left(8), QStringLiteral("hh:mm:ss")).msecsSinceStartOfDay() / 1000;
    };
    struct Caso {
        int mese, giorno;
        std::uint8_t legale;  // the observer's setting at the start
        int risposta;
        std::uint8_t dopo;     // the computer's state when the answer comes
        const char* ultima;
    };
    for (const Caso& c : {Caso{3, 29, 1, platform::vbYes, 1, "03:00:10 *"}, Caso{3, 29, 1, platform::vbNo, 1, "03:00:10 *"},
                          Caso{10, 25, 0, platform::vbYes, 0, "02:00:10 "}, Caso{10, 25, 0, platform::vbNo, 0, "02:00:10 "}}) {
        SCOPED_TRACE(QStringLiteral("%1/%2, answer %3").arg(c.giorno).arg(c.mese).arg(c.risposta).toStdString());
        clock().reset();
        gbytOraLegale = c.legale;
        ASSERT_TRUE(fakes.settings.setValue("Osservatore", "Ora legale", QString::number(c.legale)));
        const qsizetype chieste = domanda.calls.size();
        domanda.answers = {c.risposta};
        mostrate.clear();
        // 00:59:52 UT: the start's first tick, then its question, read for
        // sixteen seconds.
        ut = QDateTime(QDate(2026, c.mese, c.giorno), QTime(0, 59, 52), Qt::UTC);
        fakes.timeZone.state = platform::QtTimeZoneInfo::stateOf(zona, ut);
        clock().Aggiorna();
        mostrate << status.last.mid(status.last.indexOf("  ") + 2);
        domanda.mentre = [&] {
            for (int i = 0; i < 16; ++i, tick())
                ut = ut.addSecs(1);
        };
        core::Verifica_Ora_Legale();
        domanda.mentre = nullptr;
        for (int i = 0; i < 2; ++i, tick())
            ut = ut.addSecs(1);
        EXPECT_EQ(domanda.calls.size(), chieste + 1);
        EXPECT_EQ(mostrate.size(), 19);
        EXPECT_EQ(mostrate.value(mostrate.size() - 1).toStdString(), c.ultima) << mostrate.join(", ").toStdString();
        for (int i = 1; i < mostrate.size(); ++i)
            EXPECT_EQ(secondi(mostrate[i]) - secondi(mostrate[i - 1]), 1) << mostrate.join(", ").toStdString();
        EXPECT_EQ(int(gbytOraLegale), int(c.dopo));
        EXPECT_EQ(fakes.settings.value("Osservatore", "Ora legale").value_or("none").toStdString(), std::to_string(c.dopo));
    }
    gblnVerificaOraLegale = verifica;
    mLang::Usa_File_Lingua({});
}
