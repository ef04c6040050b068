// The ephemeris and relative-motion listings of the listing window: the
// figures against Skyfield and python3-sgp4 (tests/data/ref_listings.csv,
// tools/ref_listings.py), the instants listed, the early ends, the clock left
// as it was, and the saved and printed listing.
#include "listing_fixture.h"

#include "listings/listing_window.h"
#include "listings/listing_lines.h"
#include "listings/listing_model.h"
#include "common/progress_window.h"
#include "astro/mate.h"
#include "astro/satellite.h"
#include "astro/time.h"
#include "core/msat.h"
#include "support/ordinary_user.h"
#include "support/vector_state.h"

#include <QDir>
#include <QListView>
#include <QSaveFile>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>

namespace {

using listtest::Listings;
using namespace listtest;

// The data lines of a listing (those that start with a date).
QStringList dati(const frmDetails& d)
{
    QStringList out;
    for (const QString& r : d.righe())
        if (!r.isEmpty() && r.at(0).isDigit())
            out << r;
    return out;
}

QString ora(const QString& riga)
{
    return riga.mid(13, 8);
}

TEST_F(Listings, EphemerisFiguresMatchSkyfield)
{
    // The 20 minutes from 14:00 UT and the ISS pass after 22:58 UT.
    for (int inizio : {0, 538}) {
        const int n = inizio == 0 ? 20 : 13;
        for (int tipo = 1; tipo <= 4; ++tipo) {
            SCOPED_TRACE("type " + std::to_string(tipo) + " from minute " + std::to_string(inizio));
            frmDetails d;
            double passo = 60;
            const Valori prima = gudtValori[kSlotScratch];
            ASSERT_TRUE(d.Genera_elenco(kSlotScratch, locale(inizio), locale(inizio + n), passo, tipo));
            // The listing computes into values of its own: the slot's state is left alone.
            EXPECT_TRUE(gudtValori[kSlotScratch] == prima);
            const QStringList righe = dati(d);
            ASSERT_EQ(righe.size(), n + 1);
            for (int k = 0; k <= n; ++k) {
                const QString& L = righe[k];
                const auto& r = ref.sat.at({"A", inizio + k});
                ASSERT_EQ(L.left(21), vb::Format(locale(inizio + k), u"dd mmm yyyy  hh:mm:ss"));
                switch (tipo) {
                case 1:
                    EXPECT_NEAR(campo(L, 24, 6), r[EL], 0.1) << L.toStdString();
                    EXPECT_LT(diffAngolo(campo(L, 33, 6), r[AZ]) * std::cos(r[EL] * M_PI / 180), 0.1);
                    EXPECT_NEAR(campo(L, 42, 8), r[RANGE], 1.0);
                    EXPECT_NEAR(campo(L, 53, 8), r[QUOTA], 1.0);
                    break;
                case 2:
                    EXPECT_NEAR(campo(L, 24, 10), r[X], 0.05) << L.toStdString();
                    EXPECT_NEAR(campo(L, 36, 10), r[Y], 0.05);
                    EXPECT_NEAR(campo(L, 48, 10), r[Z], 0.05);
                    EXPECT_NEAR(campo(L, 60, 10), std::hypot(r[X], r[Y], r[Z]), 0.05);
                    EXPECT_NEAR(campo(L, 72, 7), r[VX], 0.002);
                    EXPECT_NEAR(campo(L, 81, 7), r[VY], 0.002);
                    EXPECT_NEAR(campo(L, 90, 7), r[VZ], 0.002);
                    EXPECT_NEAR(campo(L, 99, 7), std::hypot(r[VX], r[VY], r[VZ]), 0.002);
                    break;
                case 3:
                    EXPECT_NEAR(campo(L, 24, 6), r[SUBLAT], 0.1) << L.toStdString();
                    EXPECT_LT(diffAngolo(campo(L, 33, 6), r[SUBLON]), 0.1);
                    EXPECT_NEAR(campo(L, 42, 8), r[QUOTA], 1.0);
                    break;
                default: {
                    // "  08h01m41s   +04°11'": parts truncated by the conversion.
                    const QString ar = L.mid(23, 10).trimmed();
                    const QString dec = L.mid(36, 7);
                    ASSERT_EQ(ar.size(), 9) << L.toStdString();
                    const double ore = ar.mid(0, 2).toDouble() + ar.mid(3, 2).toDouble() / 60
                                       + ar.mid(6, 2).toDouble() / 3600;
                    double gradi = dec.mid(1, 2).toDouble() + dec.mid(4, 2).toDouble() / 60;
                    if (dec.at(0) == u'-')
                        gradi = -gradi;
                    EXPECT_LT(diffAngolo(ore * 15, r[RA] * 15) * std::cos(r[DEC] * M_PI / 180), 0.1)
                        << L.toStdString();
                    EXPECT_NEAR(gradi, r[DEC], 0.1) << L.toStdString();
                }
                }
            }
        }
    }
}

TEST_F(Listings, RelativeFiguresMatchSkyfield)
{
    for (int tipo : {1, 2}) {
        frmDetails d;
        // The listing computes into values of its own: the two slots' states
        // and the clock's time quantities are left as they were.
        const Valori primaA = gudtValori[kSlotScratch], primaB = gudtValori[kSlotSecondo];
        const double jd = gdblGiornoGiuliano, siderale = gdblTempoSiderale;
        ASSERT_TRUE(d.Genera_relativo(locale(0), locale(20), 60, tipo));
        EXPECT_TRUE(gudtValori[kSlotScratch] == primaA);
        EXPECT_TRUE(gudtValori[kSlotSecondo] == primaB);
        EXPECT_EQ(gdblGiornoGiuliano, jd);
        EXPECT_EQ(gdblTempoSiderale, siderale);
        const QStringList righe = dati(d);
        ASSERT_EQ(righe.size(), 21);
        for (int k = 0; k <= 20; ++k) {
            const QString& L = righe[k];
            const auto& rel = ref.rel.at(k);
            const auto& a = ref.sat.at({"A", k});
            const auto& b = ref.sat.at({"B", k});
            if (tipo == 1) {
                EXPECT_NEAR(campo(L, 25, 6), rel[1], 0.02) << L.toStdString();
                EXPECT_NEAR(campo(L, 34, 6), rel[2], 0.05);
                EXPECT_NEAR(campo(L, 42, 8), rel[0], 0.3);
                EXPECT_NEAR(campo(L, 54, 6), a[EL], 0.1);
                EXPECT_NEAR(campo(L, 70, 8), a[QUOTA], 1.0);
                EXPECT_NEAR(campo(L, 82, 6), b[EL], 0.1);
                EXPECT_NEAR(campo(L, 98, 8), b[QUOTA], 1.0);
            } else {
                EXPECT_NEAR(campo(L, 24, 10), a[X], 0.05) << L.toStdString();
                EXPECT_NEAR(campo(L, 84, 10), b[Z], 0.05);
                EXPECT_NEAR(campo(L, 96, 8), rel[0], 0.3);
            }
        }
    }
}

// One instant of a listing worked out the plain way: the local date-time
// through the whole calendar conversion, the satellite's whole state from a
// fresh set-up. False when it cannot be computed.
bool istanteDiretto(const Satelement& e, int tipo, const QDateTime& t, listings::Istante& s)
{
    mAstro::Tempi tempi;
    try {
        tempi = mAstro::Calcola_Tempi(mAstro::Da_QDateTime(t), gsngFusoOrario, gbytOraLegale, gsngLongitudine);
    } catch (const mAstro::ErroreData&) {
        return false;
    }
    astro::UsciteSatellite u;
    if (!astro::Calcola_Satellite(e, mSat::Osservatore_Corrente(), mSat::Opzioni_Correnti(), tempi.GiornoGiuliano,
                                  s.v, u))
        return false;
    s.posizione = u.stato.posizione;
    s.velocita = u.stato.velocita;
    s.altezzaSole = u.altezzaSole;
    if (tipo == listings::TipoRAD) {
        const auto c = mAstro::Orizzontali_Equatoriali(s.v.Azimuth * 0.0174532925, s.v.Altezza * 0.0174532925,
                                                       gsngLatitudine, tempi.TempoSiderale);
        s.eq.ore = c.oreAR;
        s.eq.minuti = c.minutiAR;
        s.eq.secondi = c.secondiAR;
        s.eq.gradi = c.gradiDec;
        s.eq.primi = c.minutiDec;
        s.eq.segno = QString::fromStdString(c.segno);
    }
    return true;
}

// The data lines of a listing from inizio to fine at passoMs a step, each
// instant computed on its own (relative when relativo, of satellites A and B).
QStringList righeDirette(bool relativo, int tipo, const QDateTime& inizio, const QDateTime& fine, qint64 passoMs)
{
    const Satelement& a = gudtSatelementi[kSlotScratch];
    const Satelement& b = gudtSatelementi[kSlotSecondo];
    const QDateTime t0 = inizio.addMSecs(-passoMs);
    QStringList out;
    for (qint64 n = 1; t0.addMSecs((n - 1) * passoMs) < fine; ++n) {
        const QDateTime t = t0.addMSecs(n * passoMs);
        listings::Istante sa, sb;
        if (!istanteDiretto(a, tipo, t, sa) || (relativo && !istanteDiretto(b, tipo, t, sb)))
            break;
        std::vector<qint32> c(relativo ? listings::Celle_Relativo(tipo) : listings::Celle_Effemeride(tipo));
        if (relativo) {
            listings::Riempi_Relativo(tipo, sa, sb, c.data());
            out << listings::Testo_Relativo(tipo, t, c.data());
        } else {
            listings::Riempi_Effemeride(tipo, sa, c.data());
            out << listings::Testo_Effemeride(tipo, t, c.data());
        }
        if (sa.v.Quota < 138 || (relativo && sb.v.Quota < 138))
            break;
    }
    return out;
}

TEST_F(Listings, LinesEqualThoseOfEachInstantComputedOnItsOwn)
{
    // The instants follow one another from the first; each line must be the
    // one its instant gives on its own, through the turn of a local day and
    // year and of the universal one, for observers with whole, fractional and
    // negative zones and daylight saving, and steps that are no whole number
    // of seconds.
    struct Caso {
        float fuso;
        int legale;
        float longitudine;
        double passo;
        int offset; // seconds east of UTC of the start's time spec, or none
    };
    const Caso casi[] = {{1.0f, 0, 9.19f, 1.7, -1}, {-3.5f, 1, -52.7f, 7.25, -1}, {5.75f, 0, 85.3f, 60, -1},
                         {1.0f, 0, 9.19f, 0.35, 1800}};
    for (const Caso& caso : casi) {
        gsngFusoOrario = caso.fuso;
        gbytOraLegale = std::uint8_t(caso.legale);
        gsngLongitudine = caso.longitudine;
        QDateTime inizio(QDate(2013, 12, 31), QTime(21, 20), Qt::UTC);
        QDateTime fine(QDate(2014, 1, 1), QTime(1, 10), Qt::UTC);
        if (caso.offset >= 0) {
            // A time spec with an offset of its own: its fields are what count.
            inizio = QDateTime(QDate(2013, 12, 31), QTime(23, 58, 30, 400), Qt::OffsetFromUTC, caso.offset);
            fine = QDateTime(QDate(2014, 1, 1), QTime(0, 1, 30), Qt::OffsetFromUTC, caso.offset);
        }
        const qint64 passoMs = std::llround(caso.passo * 1000);
        for (bool relativo : {false, true}) {
            for (int tipo = listings::TipoOBS; tipo <= listings::TipoRAD; ++tipo) {
                SCOPED_TRACE(std::string(relativo ? "relative" : "ephemeris") + " type " + std::to_string(tipo)
                             + " zone " + std::to_string(caso.fuso) + " step " + std::to_string(caso.passo));
                frmDetails d;
                double passo = caso.passo;
                if (relativo)
                    ASSERT_TRUE(d.Genera_relativo(inizio, fine, passo, tipo));
                else
                    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, inizio, fine, passo, tipo));
                const QStringList attese = righeDirette(relativo, tipo, inizio, fine, passoMs);
                const QStringList righe = dati(d);
                ASSERT_GT(attese.size(), 100);
                // The span crosses the year.
                EXPECT_TRUE(attese.first().startsWith(QStringLiteral("31 Dec 2013"))) << attese.first().toStdString();
                EXPECT_TRUE(attese.last().startsWith(QStringLiteral("01 Jan 2014"))) << attese.last().toStdString();
                ASSERT_EQ(righe.size(), attese.size());
                int diverse = 0;
                for (qsizetype i = 0; i < righe.size(); ++i)
                    if (righe[i] != attese[i] && ++diverse <= 3)
                        ADD_FAILURE() << "line " << i << "\n" << righe[i].toStdString() << "\n"
                                      << attese[i].toStdString();
                EXPECT_EQ(diverse, 0);
            }
        }
    }
}

TEST_F(Listings, RelativeHeaderAndTrailer)
{
    frmDetails d;
    ASSERT_TRUE(d.Genera_relativo(locale(0), locale(2), 60, 3));
    const QStringList r = d.righe();
    EXPECT_EQ(d.windowTitle(), "Relative motion of two satellites");
    ASSERT_GE(r.size(), 13);
    EXPECT_EQ(r[0], "");
    EXPECT_EQ(r[1], "Satellite A: Iss (zarya)");
    EXPECT_EQ(r[2], "Norad #    : 25544");
    EXPECT_EQ(r[3], "ID #       : 98067A");
    EXPECT_EQ(r[4], "Elements   : 26 Nov 2013 - 13:57:03 UTC");
    // B follows A without an empty line.
    EXPECT_EQ(r[5], "Satellite B: Delta 1 Deb");
    EXPECT_EQ(r[9], "");
    EXPECT_TRUE(r[10].startsWith(QString(54, u' ') + "-------Satellite A------"));
    EXPECT_EQ(r.last(), "");

    // A name read with a NUL byte and bidirectional controls (an override,
    // an isolate) heads the listing with blanks in their places.
    const std::string nome = gudtSatelementi[kSlotScratch].Nome;
    gudtSatelementi[kSlotScratch].Nome = std::string("Iss\xE2\x80\xAE(zarya)") + '\0' + "\xE2\x81\xA6x";
    frmDetails e;
    ASSERT_TRUE(e.Genera_relativo(locale(0), locale(2), 60, 3));
    gudtSatelementi[kSlotScratch].Nome = nome;
    ASSERT_GE(e.righe().size(), 13);
    EXPECT_EQ(e.righe()[1], "Satellite A: Iss (zarya)  x");
}

TEST_F(Listings, GivenStepListsTheFirstInstantAtOrAfterTheEnd)
{
    frmDetails d;
    double passo = 60;
    const QDateTime da(QDate(2013, 11, 26), QTime(10, 0), Qt::UTC);
    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, da, da.addSecs(150), passo, 3));
    QStringList ore;
    for (const QString& r : dati(d))
        ore << ora(r);
    EXPECT_EQ(ore, (QStringList{"10:00:00", "10:01:00", "10:02:00", "10:03:00"}));
    EXPECT_EQ(d.windowTitle(), "Details: Iss (zarya) - 26 Nov 2013  10:00:00");

    frmDetails rel;
    ASSERT_TRUE(rel.Genera_relativo(da, da.addSecs(150), 60, 4));
    ore.clear();
    for (const QString& r : dati(rel))
        ore << ora(r);
    EXPECT_EQ(ore, (QStringList{"10:00:00", "10:01:00", "10:02:00", "10:03:00"}));
}

TEST_F(Listings, AutomaticStepStartsOnAQuarterMinute)
{
    frmDetails d;
    double passo = 0;
    const QDateTime da(QDate(2013, 11, 26), QTime(12, 0, 40), Qt::UTC);
    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, da, da.addSecs(300), passo, 1));
    EXPECT_EQ(passo, 15.0);
    const QStringList righe = dati(d);
    ASSERT_FALSE(righe.isEmpty());
    EXPECT_EQ(ora(righe.first()), "12:00:30");
    EXPECT_EQ(ora(righe.last()), "12:05:45");
}

TEST_F(Listings, AboveHorizonOnlyKeepsThePassForObsOnly)
{
    frmDetails d;
    d.blnSoloAltPositiva = true;
    double passo = 60;
    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, locale(535), locale(555), passo, 1));
    const QStringList righe = dati(d);
    // Skyfield: above the horizon from 22:59:29 to 23:09:56 UT.
    ASSERT_EQ(righe.size(), 10);
    EXPECT_TRUE(righe.first().startsWith("27 Nov 2013  00:00:00"));
    for (const QString& r : righe)
        EXPECT_GT(campo(r, 24, 6), 0.0);
    // The header is whole all the same.
    EXPECT_EQ(d.righe().at(6), "Location : Italy: Milano (Lat. 45.464° Lon. 9.190°)");

    frmDetails eci;
    eci.blnSoloAltPositiva = true;
    passo = 60;
    ASSERT_TRUE(eci.Genera_elenco(kSlotScratch, locale(535), locale(555), passo, 2));
    EXPECT_EQ(dati(eci).size(), 21);
}

// The ISS set with a perigee of about 100 km above the ellipsoid at its epoch
// (13:57:03 UT, 14:57:03 on the program clock).
RigaDati rientro(const RigaDati& iss)
{
    RigaDati r = iss;
    r.Riga2.replace(26, 7, "0648000");
    r.Riga2.replace(43, 8, "  0.0000");
    r.Riga2.replace(52, 11, "15.05160000");
    return r;
}

TEST_F(Listings, DecayEndsTheListingAfterThatInstant)
{
    carica(kSlotScratch, rientro(ref.sets["A"]));
    const QDateTime da(QDate(2013, 11, 26), QTime(14, 40), Qt::UTC);
    frmDetails d;
    double passo = 60;
    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, da, da.addSecs(3600), passo, 3));
    const QStringList righe = dati(d);
    ASSERT_FALSE(righe.isEmpty());
    ASSERT_LT(righe.size(), 61);
    for (int k = 0; k + 1 < righe.size(); ++k)
        EXPECT_GE(campo(righe[k], 42, 8), 138.0) << righe[k].toStdString();
    EXPECT_LT(campo(righe.last(), 42, 8), 138.0);
    EXPECT_EQ(d.righe().last(), "");

    // B alone decaying ends a relative listing at the same instant.
    carica(kSlotScratch, ref.sets["A"]);
    carica(kSlotSecondo, rientro(ref.sets["A"]));
    frmDetails rel;
    ASSERT_TRUE(rel.Genera_relativo(da, da.addSecs(3600), 60, 1));
    const QStringList r2 = dati(rel);
    ASSERT_EQ(r2.size(), righe.size());
    EXPECT_EQ(ora(r2.last()), ora(righe.last()));
}

TEST_F(Listings, StopEndsTheRunAndTheClockIsLeftAsItWas)
{
    // A stopped simulation stays stopped after the listing.
    pflgCentrale = false;
    pflgSatellite = true;
    const double jd = gdblGiornoGiuliano;
    frmDetails d;
    QTimer::singleShot(0, [] { pflgArresta = true; });
    double passo = 1;
    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, locale(0), locale(24 * 60), passo, 1));
    EXPECT_LT(dati(d).size(), 1000);
    EXPECT_EQ(d.righe().last(), "");
    EXPECT_FALSE(pflgArresta);
    EXPECT_FALSE(pflgCentrale);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_EQ(gdblGiornoGiuliano, jd);
    EXPECT_TRUE(d.List1->isVisibleTo(&d));
    EXPECT_FALSE(d.ListView1->isVisibleTo(&d));
}

TEST_F(Listings, TwoWindowsKeepTheirOwnListings)
{
    frmDetails a, b;
    b.blnSoloAltPositiva = true;
    double passo = 60;
    ASSERT_TRUE(a.Genera_elenco(kSlotScratch, locale(535), locale(555), passo, 1));
    ASSERT_TRUE(b.Genera_elenco(kSlotScratch, locale(535), locale(555), passo, 1));
    EXPECT_FALSE(a.blnSoloAltPositiva);
    EXPECT_EQ(dati(a).size(), 21);
    EXPECT_EQ(dati(b).size(), 10);
}

TEST_F(Listings, RefusesARunWhileAnotherLongTaskHolds)
{
    core::LavoroLungo altro;
    ASSERT_TRUE(altro.acquisito());
    frmDetails d;
    double passo = 60;
    EXPECT_FALSE(d.Genera_elenco(kSlotScratch, locale(0), locale(5), passo, 1));
    EXPECT_FALSE(d.Genera_relativo(locale(0), locale(5), 60, 1));
    EXPECT_EQ(d.numeroRighe(), 0);
    EXPECT_EQ(fakes.prompt.calls.size(), 2);
    EXPECT_TRUE(pflgCentrale);
}

TEST_F(Listings, FileViewReadsWithinTheBoundOfEveryReader)
{
    // File > View of a file larger than any element file: refused before
    // it is read, with the message every reader gives; the summary of a
    // file (Leggi) the same, and its window goes. A file not there is still
    // not found.
    const QString grande = m_dir.filePath(QStringLiteral("big.txt"));
    {
        QFile g(grande);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        ASSERT_TRUE(g.resize(vb::kMaxTextFileBytes + 1));   // sparse
    }
    const QString troppo =
        mLang::Testo_Lingua("frmFile", "filetroppogrande").arg(QDir::toNativeSeparators(grande)).arg(64);
    {
        frmDetails d;
        EXPECT_FALSE(d.LeggiDiretto(grande));
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text, troppo);
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        EXPECT_EQ(d.ListView1->topLevelItemCount(), 0);
    }
    fakes.prompt.calls.clear();
    QPointer<frmDetails> l = new frmDetails;
    l->show();
    l->Leggi(grande);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, troppo);
    EXPECT_TRUE(!l || !l->isVisible());
    delete l;

    fakes.prompt.calls.clear();
    frmDetails d;
    const QString assente = m_dir.filePath(QStringLiteral("missing.txt"));
    EXPECT_FALSE(d.LeggiDiretto(assente));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "The file " + assente + " was not found.");
}

// A line's text is made with the vector registers' upper halves clear,
// whatever the window painted before (astro/vector_state.h): saving or
// printing millions of lines between the progress window's repaints would
// otherwise run several times slower.
TEST_F(Listings, LinesAreMadeWithTheUpperHalvesClear)
{
    if (!testsupport::Stato_Visibile())
        GTEST_SKIP() << "this processor has no upper halves to leave in use, or does not show their state";
    // The state read first thing in the line's formatting.
    listings::ListingModel modello;
    std::optional<bool> inUso;
    modello.Azzera(1, [&](const qint32* celle) {
        inUso = testsupport::Meta_Alte_In_Uso();
        return QString::number(celle[0]);
    });
    modello.Aggiungi_Testo(QStringLiteral("Satellite"));
    modello.Nuova_Riga()[0] = 7;
    modello.Pubblica();
    testsupport::Occupa_Meta_Alte();
    const QString riga = modello.Riga(1);
    EXPECT_EQ(inUso, std::optional<bool>(false));
    EXPECT_EQ(riga, QStringLiteral("7"));
}

TEST_F(Listings, SaveWritesEveryLineWithCrLf)
{
    frmDetails d;
    double passo = 60;
    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, locale(0), locale(3), passo, 1));
    const QStringList righe = d.righe();
    const QString file = m_dir.filePath("listing.txt");
    fakes.files.fileAnswers = {file};
    ASSERT_TRUE(d.Salva());
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_EQ(fakes.files.calls[0].request.flags, platform::fileOverwritePrompt);
    // A name the listing's caption gives, in a folder that exists.
    EXPECT_EQ(fakes.files.calls[0].request.fileName, "Iss (zarya) - 26 Nov 2013 15 00 00.txt");
    EXPECT_TRUE(QDir(fakes.files.calls[0].request.initialFolder).exists());
    EXPECT_EQ(fakes.files.calls[0].request.filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray testo = f.readAll();
    EXPECT_EQ(testo.count("\r\n"), righe.size());
    EXPECT_TRUE(testo.startsWith("\r\nSatellite: Iss (zarya)\r\n"));
    EXPECT_TRUE(testo.endsWith("\r\n\r\n"));
    // The degree sign in the ANSI code page.
    EXPECT_TRUE(testo.contains("45.464\xB0"));

    // Cancelled: nothing written, nothing said.
    fakes.files.fileAnswers.clear();
    EXPECT_FALSE(d.Salva());
    // A folder that does not exist: the user is told, nothing is left.
    const QString cattivo = m_dir.filePath("missing/listing.txt");
    fakes.files.fileAnswers = {cattivo};
    EXPECT_FALSE(d.Salva());
    EXPECT_FALSE(QFile::exists(cattivo));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("The listing could not be saved in the file " + cattivo + ".\r"))
        << fakes.prompt.calls[0].text.toStdString();

    // A listing, and an element file's summary, saved by an ordinary user
    // into a folder that user may not write: the text names the file (the
    // title, which a window manager cuts short, is not enough) and the
    // folder that refused it with the system's reason, in the user's
    // language; nothing is left there.
    frmDetails sommario;
    ASSERT_TRUE(sommario.LeggiDiretto(ASTROVELA_TEST_DATA "/elements_sample.txt"));
    ASSERT_GT(sommario.ListView1->topLevelItemCount(), 0);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("locked"));
    const QString chiusa = m_dir.filePath("locked");
    ASSERT_TRUE(QFile::setPermissions(chiusa, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther));
    ASSERT_TRUE(UtenteOrdinario::Passabile(m_dir.path()));
    const QString dentro = chiusa + "/listing.txt";
    const struct {
        frmDetails* finestra;
        const char* lingua;
        QString testo;
    } casi[] = {
        {&d, "english.ini",
         "The listing could not be saved in the file " + dentro + ".\rPermission denied in the folder " + chiusa
             + ", where no new file may be made (a file is saved by writing its new copy beside it, which then "
               "takes its place)"},
        {&sommario, "italiano.ini",
         "Impossibile salvare l'elenco nel file " + dentro + ".\rPermesso negato nella cartella " + chiusa
             + ", dove non si possono creare nuovi file (un file si salva scrivendone la nuova copia accanto, che "
               "poi prende il suo posto)"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(std::string(c.lingua) + (c.finestra == &d ? " listing" : " summary"));
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        fakes.prompt.calls.clear();
        fakes.files.fileAnswers = {dentro};
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            EXPECT_FALSE(c.finestra->Salva());
        }
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.testo.toStdString());
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    }
    EXPECT_EQ(QDir(chiusa).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    ASSERT_TRUE(QFile::setPermissions(chiusa, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

TEST_F(Listings, PrintPutsEveryLineOnPaper)
{
    frmDetails vuota;
    EXPECT_FALSE(vuota.Stampa());
    EXPECT_TRUE(fakes.files.calls.isEmpty());

    frmDetails d;
    ASSERT_TRUE(d.Genera_relativo(locale(0), locale(100), 60, 2));
    const QString pdf = m_dir.filePath("listing.pdf");
    fakes.files.printerAnswers = {pdf};
    ASSERT_TRUE(d.Stampa());
    ASSERT_TRUE(QFile::exists(pdf));
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString testo = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    // Two pages (about 115 lines), every data line there whole and once:
    // none lost or printed twice at the page break.
    for (const QString& r : dati(d))
        EXPECT_EQ(testo.count(r.simplified()), 1) << r.toStdString();
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages: +2\\b")));

    fakes.files.printerAnswers.clear();
    QFile::remove(pdf);
    EXPECT_FALSE(d.Stampa());
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(Listings, LongListingKeepsFiguresAndSavesAsItGoes)
{
    // A day at a 1 s step: 86400 lines kept as a few cells each, formatted
    // only when asked for.
    frmDetails d;
    double passo = 1;
    ASSERT_TRUE(d.Genera_elenco(kSlotScratch, locale(0), locale(24 * 60), passo, 1));
    const listings::ListingModel* m = d.Elenco();
    ASSERT_EQ(m->Righe_Dati(), 24 * 3600 + 1);
    EXPECT_LT(double(m->Memoria()) / double(m->Righe_Dati()), 48.0);
    // The lines at every minute are those of the same listing at a 60 s step.
    frmDetails minuti;
    passo = 60;
    ASSERT_TRUE(minuti.Genera_elenco(kSlotScratch, locale(0), locale(24 * 60), passo, 1));
    const QStringList ogniMinuto = dati(minuti);
    ASSERT_EQ(ogniMinuto.size(), 24 * 60 + 1);
    const int testa = d.numeroRighe() - int(m->Righe_Dati()) - 1;
    for (int k : {0, 1, 777, 1440}) {
        EXPECT_EQ(d.riga(testa + 60 * k), ogniMinuto[k]) << k;
        EXPECT_EQ(m->data(m->index(testa + 60 * k), Qt::DisplayRole).toString(), ogniMinuto[k]);
    }

    // Saving it: an old file of that name stays whole until the new one is
    // complete; Stop leaves it as it was.
    const QString file = m_dir.filePath("day.txt");
    {
        QFile vecchio(file);
        ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("old listing\r\n");
    }
    fakes.files.fileAnswers = {file};
    bool vistoProgresso = false;
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (frmProgress* p = frmProgress::instance(false); p && p->isVisible()) {
            vistoProgresso = true;
            p->cmdCancel_Click();
        }
    });
    stop.start(0);
    EXPECT_FALSE(d.Salva());
    stop.stop();
    EXPECT_TRUE(vistoProgresso);
    {
        QFile letto(file);
        ASSERT_TRUE(letto.open(QIODevice::ReadOnly));
        EXPECT_EQ(letto.readAll(), "old listing\r\n");
    }
    EXPECT_FALSE(pflgArresta);
    EXPECT_FALSE(core::LavoroLungo::inCorso());

    // Printing it: the progress window's Stop throws the document away.
    const QString pdf = m_dir.filePath("day.pdf");
    fakes.files.printerAnswers = {pdf};
    vistoProgresso = false;
    stop.start(0);
    EXPECT_FALSE(d.Stampa());
    stop.stop();
    EXPECT_TRUE(vistoProgresso);
    EXPECT_FALSE(QFile::exists(pdf)) << "pages were printed after Stop";
    EXPECT_FALSE(pflgArresta);

    // Left to run, every line is there.
    fakes.files.fileAnswers = {file};
    ASSERT_TRUE(d.Salva());
    QFile letto(file);
    ASSERT_TRUE(letto.open(QIODevice::ReadOnly));
    const QByteArray testo = letto.readAll();
    EXPECT_EQ(testo.count("\r\n"), d.numeroRighe());
    EXPECT_TRUE(testo.contains(ogniMinuto[1440].toLatin1() + "\r\n\r\n"));
}

} // namespace
