// The pass prediction window: refusals, a whole run over the working list
// counted against Skyfield (tests/data/ref_passes.csv), the flags given back,
// Stop, the choice of a pass, sorting, the listing of every pass, adding a
// catalogue satellite to the working list, saving and printing; the keyboard
// at the end of a search, on an X display.
#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/database.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "database/database_window.h"
#include "common/progress_window.h"
#include "platform/fakes.h"
#include "platform/prompt.h"
#include "platform/vb.h"
#include "listings/listing_window.h"
#include "core/mastro.h"
#include "listings/relative_dialog.h"
#include "common/window_links.h"
#include "passes/pass_map_window.h"
#include "passes/pass_window.h"
#include "shell/main_window.h"
#include "support/pass_filters.h"
#include "support/observer.h"
#include "support/csv_fields.h"
#include "support/date_field.h"
#include "support/ordinary_user.h"
#include "support/x_input.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QPointer>
#include <QFile>
#include <QListView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTest>
#include <QProcess>
#include <QTemporaryDir>
#include <QFontMetrics>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

const RigaDati kIss{"ISS (ZARYA)", "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                    "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894"};
const RigaDati kCbers{"CBERS 2", "1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 0  1836",
                      "2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550"};
// Another geostationary satellite (its catalogue number and checksums changed).
const RigaDati kGeo2{"GEO 2", "1 24209U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1601",
                     "2 24209   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36110"};
const RigaDati kGeo{"GEO", "1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600",
                    "2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119"};
// The reference span of the ISS passes (tools/ref_passes.py).
constexpr double kInizioIss = 2456623.33127943;

// The listing windows shown on screen, newest last.
QList<frmDetails*> Elenchi_Mostrati()
{
    QList<frmDetails*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<frmDetails*>(w); d && d->isVisible())
            out << d;
    return out;
}

// Skyfield's ISS culminations over Rome, limit 10 degrees, within [a, b].
int Culmini_Riferimento(double a, double b)
{
    std::ifstream in(ASTROVELA_TEST_DATA "/ref_passes.csv");
    std::string riga;
    int n = 0;
    while (std::getline(in, riga)) {
        std::vector<std::string> c = testsupport::Campi(riga);
        if (c.size() == 15 && c[0] == "ISS (ZARYA)" && c[1] == "41.9028" && c[4] == "10.0" && c[7] == "culmination") {
            const double jd = std::stod(c[8]);
            n += jd > a && jd < b;
        }
    }
    return n;
}

class PassWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        vb::setDisplayLocale(QLocale::c());
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        core::Carica_Parole_Stato();
        core::WorkingList::instance().setFile(QString());
        core::WorkingList::instance().Rimuovi_Tutti();
        gudtDatabasePrimario.clear();
        gstrDatabasePrimario.clear();
        testsupport::Osservatore(41.9028f, 12.4964f, 50.0f);
        gintSogliaSole = -6;
        testsupport::Filtri_Aperti();
        gblnInTransito = false;
        pflgCentrale = true;
        pflgSatellite = true;
        pflgRicerca = false;
        pflgArresta = false;
        gdatDataCorrente = QDateTime(QDate(2013, 11, 26), QTime(20, 57, 2), Qt::UTC);
        f = frmVisibleSatellites::instance();
    }

    void TearDown() override
    {
        if (auto* g = frmVisibleSatellites::instance(false))
            delete g;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmDetails*>(w))
                w->close();
        frmDatabase::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::WorkingList::instance().Rimuovi_Tutti();
        gudtDatabasePrimario.clear();
        mLang::Usa_File_Lingua(QString());
    }

    void elenca(std::initializer_list<RigaDati> sets)
    {
        for (const RigaDati& s : sets)
            ASSERT_EQ(core::WorkingList::instance().Aggiungi(s).esito, core::WorkingList::Esito::Aggiunto);
    }

    // Start at the reference span's start, local time (zone +1), span `giorni`.
    void imposta(int tab, int giorni)
    {
        const QDateTime ut = QDateTime(QDate(2013, 11, 26), QTime(0, 0), Qt::UTC)
                                 .addMSecs(qint64(std::llround((kInizioIss - 2456622.5) * 86400.0)) * 1000);
        f->DTPicker1[size_t(tab)]->setDateTime(ut.addSecs(3600));
        f->cmbDurata[size_t(tab)]->setCurrentIndex(giorni - 1);
    }

    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir m_dir;
    frmVisibleSatellites* f = nullptr;
};

TEST_F(PassWindow, RefusalsChangeNothing)
{
    // Enter acts on the OK of the tab shown, wherever the focus is on it;
    // the first two refusals come from the keyboard.
    f->show();
    auto invio = [this](int tab, QWidget* dove) {
        f->SSTab1->setCurrentIndex(tab);
        dove->setFocus();
        QTest::keyClick(dove, Qt::Key_Return);
    };
    invio(1, f->DTPicker1[1]);
    elenca({kIss});
    invio(2, f->lvwPass[2]);
    f->chkAM[1]->setChecked(false);
    f->chkPM[1]->setChecked(false);
    f->chkNessunFiltro[1]->setChecked(true);
    f->cmdOK_Click(1);
    f->chkAM[1]->setChecked(true);
    gdblAzimuthMin[1] = 200;
    gdblAzimuthMax[1] = 100;
    f->cmdOK_Click(1);
    const QStringList attesi = {mLang::Testo_Lingua("frmVisibleSatellites", "nessunsatelliteprimario"),
                                mLang::Testo_Lingua("frmVisibleSatellites", "nessunsatellitesecondario"),
                                mLang::Testo_Lingua("frmVisibleSatellites", "selezionareampm"),
                                mLang::Testo_Lingua("frmVisibleSatellites", "intervalloazimutherrato")};
    EXPECT_EQ(fakes.prompt.texts(), attesi);
    for (const QString& t : attesi)
        EXPECT_FALSE(t.isEmpty());
    EXPECT_EQ(fakes.prompt.calls[3].flags, platform::vbExclamation);
    EXPECT_EQ(f->lvwPass[1]->topLevelItemCount(), 0);
    EXPECT_TRUE(pflgCentrale);
    EXPECT_FALSE(pflgRicerca);

    // On the catalogue tab Enter asks for the principal file; Escape then
    // closes the window from any tab.
    fakes.prompt.calls.clear();
    fakes.prompt.answers = {platform::vbCancel};
    invio(0, f->cmbDurata[0]);
    EXPECT_EQ(fakes.prompt.texts(), QStringList{mLang::Testo_Lingua("MDIForm1", "necessariodb")});
    f->SSTab1->setCurrentIndex(2);
    f->chkAM[2]->setFocus();
    QTest::keyClick(f->chkAM[2], Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
}

TEST_F(PassWindow, PrincipalRunListsTheReferencePassesAndGivesTheClockBack)
{
    // The ISS's name line as a damaged file may hold it, with a
    // right-to-left override and a NUL byte: its rows show blanks there.
    RigaDati iss = kIss;
    iss.Riga0 = std::string("ISS\xE2\x80\xAE(ZARYA)") + '\0';
    elenca({iss, kCbers});
    imposta(1, 2);
    // The tick must see the search flags while the run goes on.
    bool vistoDurante = false;
    QTimer spia;
    QObject::connect(&spia, &QTimer::timeout, [&] {
        if (pflgRicerca && !pflgCentrale && !pflgSatellite)
            vistoDurante = true;
    });
    spia.start(0);
    f->cmdOK_Click(1);
    spia.stop();
    EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << fakes.prompt.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(f->lvwPass[1]->topLevelItemCount(), Culmini_Riferimento(kInizioIss + 1e-4, kInizioIss + 2 - 1e-4));
    EXPECT_GT(f->lvwPass[1]->topLevelItemCount(), 5);
    EXPECT_TRUE(vistoDurante);
    EXPECT_TRUE(pflgCentrale);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_FALSE(pflgRicerca);
    EXPECT_EQ(gintSatelliteCalcolo, 1);  // the chosen pass's slot

    // The first row is chosen: three event lines, the culmination selected.
    QListWidget* det = f->lstPass[1];
    ASSERT_EQ(det->count(), 3);
    EXPECT_EQ(det->currentRow(), 1);
    EXPECT_EQ(det->item(1)->text().left(21), f->mvarTempoCulmine);
    EXPECT_EQ(f->mvarTempoMappa, f->mvarTempoCulmine);
    EXPECT_EQ(det->item(0)->text().mid(39, 4), QStringLiteral("10.0"));  // rise at the minimum height
    EXPECT_EQ(f->lvwPass[1]->topLevelItem(0)->text(1).trimmed(), QStringLiteral("Iss (zarya)"));
    // Each row's state is the culmination's state whole, as its detail line
    // says it, and the column is wide enough for it.
    for (int i = 0; i < f->lvwPass[1]->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* riga = f->lvwPass[1]->topLevelItem(i);
        const QString culmine = riga->data(0, Qt::UserRole).toString().section(';', 2, 2);
        EXPECT_TRUE(riga->text(4) == core::Stato2Stringa(1) || riga->text(4) == core::Stato2Stringa(2)
                    || riga->text(4) == core::Stato2Stringa(3))
            << riga->text(4).toStdString();
        EXPECT_TRUE(culmine.contains(QStringLiteral("   ") + riga->text(4) + QLatin1Char(' '))) << culmine.toStdString();
        EXPECT_LE(QFontMetrics(f->lvwPass[1]->font()).horizontalAdvance(riga->text(4)), f->lvwPass[1]->columnWidth(4));
    }
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOT")) {
        f->SSTab1->setCurrentIndex(1);
        f->show();
        f->grab().save(qEnvironmentVariable("ASTROVELA_SHOT"));
    }

    // Choosing the rise line makes it the map's time.
    det->setCurrentRow(0);
    EXPECT_EQ(f->mvarTempoMappa, f->mvarTempoInizio);

    // Sorting: the date heading sorts by the hidden key, again reverses it;
    // the altitude heading by the right-aligned text, that is by number.
    QTreeWidget* r = f->lvwPass[1];
    f->lvwPass_ColumnClick(1, 1);
    f->lvwPass_ColumnClick(1, 1);
    EXPECT_EQ(f->mintColonnaOrdinata, 7);
    EXPECT_EQ(f->mintVersoOrdinamento, 1);
    for (int i = 1; i < r->topLevelItemCount(); ++i)
        EXPECT_GE(r->topLevelItem(i - 1)->text(7), r->topLevelItem(i)->text(7));
    f->lvwPass_ColumnClick(1, 3);
    EXPECT_EQ(f->mintVersoOrdinamento, 0);
    for (int i = 1; i < r->topLevelItemCount(); ++i)
        EXPECT_LE(r->topLevelItem(i - 1)->text(2).trimmed().toDouble(), r->topLevelItem(i)->text(2).trimmed().toDouble());

    // A right click on the list (the real press, as the user makes it)
    // shows a listing of every pass of the tab: legend, 3 lines a pass, one
    // empty line.
    ASSERT_TRUE(Elenchi_Mostrati().isEmpty());
    f->show();
    QTest::mousePress(r->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    ASSERT_EQ(Elenchi_Mostrati().size(), 1);
    frmDetails* elenco = Elenchi_Mostrati().first();
    ASSERT_EQ(elenco->numeroRighe(), 3 * r->topLevelItemCount() + 2);
    EXPECT_EQ(elenco->List1->model()->rowCount(), elenco->numeroRighe());
    EXPECT_EQ(elenco->riga(0), f->lblLegenda[1]->text());
    EXPECT_EQ(elenco->riga(2), r->topLevelItem(0)->data(0, Qt::UserRole).toString().section(';', 2, 2));
    EXPECT_TRUE(elenco->riga(elenco->numeroRighe() - 1).isEmpty());
    EXPECT_TRUE(elenco->List1->isVisible());
    elenco->close();
}

TEST_F(PassWindow, SortAndArrowKeysFollowTheUser)
{
    elenca({kIss});
    imposta(1, 2);
    f->show();
    f->SSTab1->setCurrentIndex(1);
    f->cmdOK_Click(1);
    QTreeWidget* r = f->lvwPass[1];
    ASSERT_GT(r->topLevelItemCount(), 3);
    // The date heading twice: latest first.
    f->lvwPass_ColumnClick(1, 1);
    f->lvwPass_ColumnClick(1, 1);
    const QString ultimo = r->topLevelItem(0)->text(7);

    // The next run keeps that order for its own rows, and chooses the first
    // of them: the latest pass.
    f->cmdOK_Click(1);
    ASSERT_GT(r->topLevelItemCount(), 3);
    EXPECT_EQ(r->topLevelItem(0)->text(7), ultimo);
    for (int i = 1; i < r->topLevelItemCount(); ++i)
        EXPECT_GT(r->topLevelItem(i - 1)->text(7), r->topLevelItem(i)->text(7));
    const QString tag0 = r->topLevelItem(0)->data(0, Qt::UserRole).toString();
    EXPECT_EQ(f->lstPass[1]->item(1)->text(), tag0.section(';', 2, 2));

    // The arrow keys move to the next pass: its three event lines show.
    r->setFocus();
    r->setCurrentItem(r->topLevelItem(0));
    QTest::keyClick(r, Qt::Key_Down);
    ASSERT_EQ(r->currentItem(), r->topLevelItem(1));
    const QStringList tag1 = r->topLevelItem(1)->data(0, Qt::UserRole).toString().split(';');
    ASSERT_EQ(f->lstPass[1]->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(f->lstPass[1]->item(i)->text(), tag1[i + 1]);
    EXPECT_EQ(f->mvarTempoCulmine, tag1[2].left(21));

    // The start: a click at the left edge of a part, coming from the right,
    // selects that part; one in the blanks before the hours the part it is
    // nearer, whichever part held the cursor; digits typed replace it.
    QDateTimeEdit* inizio = f->DTPicker1[1];
    QApplication::setActiveWindow(f);
    const QString testo = inizio->findChild<QLineEdit*>()->text(); // "dd/MM/yyyy  HH:mm:ss"
    QStringList parti;
    for (const int k : {0, 3, 6, 12, 15, 18})
        parti << testo.mid(k, k == 6 ? 4 : 2) + QLatin1Char('@') + QString::number(k);
    EXPECT_EQ(testsupport::ClicSuiBordiSinistri(inizio).join(' ').toStdString(), parti.join(' ').toStdString());
    EXPECT_EQ(testsupport::ClicNelBianco(inizio, 3).join("; ").toStdString(), "");
    const QDateTime prima = inizio->dateTime();
    testsupport::CliccaX(inizio, testsupport::XPrima(inizio, 19));
    testsupport::CliccaX(inizio, testsupport::XAccanto(inizio, 3));
    testsupport::Digita(inizio, "07");
    EXPECT_EQ(inizio->dateTime().toString(Qt::ISODate).toStdString(),
              QDateTime(prima.date(), QTime(7, prima.time().minute(), prima.time().second()), Qt::UTC)
                  .toString(Qt::ISODate)
                  .toStdString());
}

TEST_F(PassWindow, SecondaryRunSkipsGeostationaryAndStopEmptiesTheLists)
{
    elenca({kIss, kCbers, kGeo});
    imposta(2, 1);
    f->cmbLimite->setCurrentIndex(5);  // all: slots 2 to 3
    f->chkNessunFiltro[2]->setChecked(true);
    f->chkNessunFiltro_Click(2);
    EXPECT_EQ(gdblAltezzaMinima, 0);
    f->cmdOK_Click(2);
    ASSERT_GT(f->lvwPass[2]->topLevelItemCount(), 0);
    for (int i = 0; i < f->lvwPass[2]->topLevelItemCount(); ++i)
        EXPECT_EQ(f->lvwPass[2]->topLevelItem(i)->text(1), QStringLiteral("Cbers 2"));

    // Stop pressed while the run goes on: the lists end empty, no message.
    fakes.prompt.calls.clear();
    imposta(2, 5);
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, [] {
        if (frmProgress* p = frmProgress::instance(false))
            p->cmdCancel_Click();
    });
    stop.start(0);
    f->cmdOK_Click(2);
    stop.stop();
    EXPECT_EQ(f->lvwPass[2]->topLevelItemCount(), 0);
    EXPECT_EQ(f->lstPass[2]->count(), 0);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_TRUE(pflgCentrale);
    EXPECT_FALSE(pflgRicerca);
    EXPECT_FALSE(pflgArresta);
}

// "No filter" and "Visible passes only" on the principal tab, the ISS over
// Rome for the three days of its reference (Skyfield's passes, PyEphem's
// shadow and Sun, tests/data/ref_passes.csv): every pass seen at its rise,
// its culmination or its set is listed, and only those. A rise or a set lies
// on the horizon: what counts there is the satellite just inside the pass
// (the shadow flag 30 s after the rise or before the set), whichever side
// of the horizon the crossing found falls. Passes at the edge of the shadow
// or of the Sun's threshold are left out.
TEST_F(PassWindow, VisiblePassesOnlyListsThePassesSeenAtTheirRiseCulminationOrSet)
{
    struct Evento {
        double jd, sole;
        int eclisse, prima, dopo;
    };
    std::vector<std::array<Evento, 3>> passaggi;
    double inizio = 0, fine = 0;
    {
        std::ifstream in(ASTROVELA_TEST_DATA "/ref_passes.csv");
        std::string riga;
        std::vector<std::pair<std::string, Evento>> eventi;
        while (std::getline(in, riga)) {
            const std::vector<std::string> c = testsupport::Campi(riga);
            if (c.size() != 15 || c[0] != "ISS (ZARYA)" || c[1] != "41.9028" || c[4] != "0.0")
                continue;
            inizio = std::stod(c[5]);
            fine = std::stod(c[6]);
            eventi.push_back({c[7], {std::stod(c[8]), std::stod(c[11]), std::stoi(c[12]), std::stoi(c[13]),
                                     std::stoi(c[14])}});
        }
        for (size_t i = 0; i + 2 < eventi.size(); ++i)
            if (eventi[i].first == "rise" && eventi[i + 1].first == "culmination" && eventi[i + 2].first == "set")
                passaggi.push_back({eventi[i].second, eventi[i + 1].second, eventi[i + 2].second});
    }
    ASSERT_GE(passaggi.size(), 20u);
    // 1 seen, 0 not seen, -1 at an edge; inside the pass at the rise and the set.
    auto visto = [](const Evento& e, int dentro) {
        if (e.eclisse != dentro || std::fabs(e.sole + 6) < 0.3)
            return -1;
        return !e.eclisse && e.sole < -6 ? 1 : 0;
    };

    ASSERT_EQ(inizio, kInizioIss);
    elenca({kIss});
    imposta(1, 3);
    f->chkNessunFiltro[1]->setChecked(true);
    f->chkNessunFiltro_Click(1);
    f->chkSoloVisibili[1]->setChecked(true);
    f->cmdOK_Click(1);
    QStringList elencati;
    for (int i = 0; i < f->lvwPass[1]->topLevelItemCount(); ++i)
        elencati << f->lvwPass[1]->topLevelItem(i)->text(7);

    int visti = 0, nonVisti = 0, sorgereOTramonto = 0;
    for (const auto& p : passaggi) {
        if (p[0].jd < inizio + 0.01 || p[2].jd > fine - 0.01)
            continue;
        const int r = visto(p[0], p[0].dopo), c = p[1].eclisse == p[1].prima && p[1].eclisse == p[1].dopo
                                                          ? visto(p[1], p[1].eclisse) : -1,
                  s = visto(p[2], p[2].prima);
        const bool si = r == 1 || c == 1 || s == 1;
        if (!si && (r < 0 || c < 0 || s < 0))
            continue;
        // The culmination's local time, as the hidden sort column gives it.
        const QDateTime culmine = QDateTime(QDate(1858, 11, 17), QTime(0, 0), Qt::UTC)
                                      .addMSecs(qint64(std::llround((p[1].jd - 2400000.5) * 86400000.0)));
        bool trovato = false;
        for (const QString& e : elencati) {
            // A calendar date and time of the observer's, in no zone of the computer's.
            const QDateTime t(QDate::fromString(e.left(8), QStringLiteral("yyyyMMdd")),
                              QTime::fromString(e.mid(9), QStringLiteral("HH:mm:ss")), Qt::UTC);
            EXPECT_TRUE(t.isValid()) << e.toStdString();
            trovato = trovato || std::abs(t.toSecsSinceEpoch() - culmine.addSecs(3600).toSecsSinceEpoch()) < 30;
        }
        EXPECT_EQ(trovato, si) << "culmination at JD " << p[1].jd;
        (si ? visti : nonVisti)++;
        sorgereOTramonto += si && c != 1;
    }
    EXPECT_GT(visti, 5);
    EXPECT_GT(nonVisti, 5);
    EXPECT_GT(sorgereOTramonto, 0);
}

TEST_F(PassWindow, RunWithoutPassesSaysSoAndGivesTheClockBack)
{
    elenca({kGeo});  // geostationary: never searched
    imposta(1, 3);
    f->cmdOK_Click(1);
    EXPECT_EQ(fakes.prompt.texts(), QStringList{mLang::Testo_Lingua("frmVisibleSatellites", "nessunpassaggio")});
    EXPECT_EQ(f->lvwPass[1]->topLevelItemCount(), 0);
    EXPECT_TRUE(pflgCentrale);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_FALSE(pflgRicerca);
    EXPECT_FALSE(core::LavoroLungo::inCorso());
    EXPECT_FALSE(f->inCorso());
}

TEST_F(PassWindow, CatalogueTabAsksForThePrincipalFile)
{
    fakes.prompt.answers = {platform::vbCancel};
    f->cmdOK_Click(0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("MDIForm1", "necessariodb"));
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbOKCancel);
    EXPECT_EQ(core::Numero_Voci(gudtDatabasePrimario), 0);

    // OK loads the file named in the settings, then the search runs.
    fakes.prompt.calls.clear();
    fakes.prompt.answers = {platform::vbOK, platform::vbOK};
    gstrDatabasePrimario = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
    imposta(0, 24);
    f->chkTransito->setChecked(false);
    f->cmdOK_Click(0);
    EXPECT_EQ(core::Numero_Voci(gudtDatabasePrimario), 34);
    EXPECT_FALSE(fakes.prompt.texts().contains(mLang::Testo_Lingua("Dialogs", "lavoroincorso")));
    EXPECT_GT(f->lvwPass[0]->topLevelItemCount(), 0);
}

TEST_F(PassWindow, CatalogueRunAddsTheChosenSatelliteOnce)
{
    gudtDatabasePrimario = {RigaDati{}, kGeo, kIss};
    imposta(0, 24);  // 24 hours
    f->chkTransito->setChecked(false);
    f->cmdOK_Click(0);
    ASSERT_GT(f->lvwPass[0]->topLevelItemCount(), 0);
    // The tag begins with the entry of the principal file.
    EXPECT_TRUE(f->lvwPass[0]->topLevelItem(0)->data(0, Qt::UserRole).toString().startsWith(QStringLiteral("2;")));
    EXPECT_EQ(f->lstPass[0]->item(0)->data(Qt::UserRole).toInt(), 2);
    EXPECT_EQ(gintSatelliteCalcolo, kSlotScratch);
    // The chosen pass carries its satellite: the ISS, with its element lines.
    ASSERT_NE(f->passaggioScelto(0), nullptr);
    EXPECT_EQ(f->passaggioScelto(0)->numero, QStringLiteral("25544"));
    EXPECT_EQ(f->passaggioScelto(0)->righe, kIss);

    elenca({kCbers});
    fakes.prompt.answers = {platform::vbCancel};
    f->cmdAttiva_Click();
    EXPECT_EQ(gintNumSatelliti, 1);
    fakes.prompt.answers = {platform::vbNo};
    f->cmdAttiva_Click();
    ASSERT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(gudtSatelementi[1].NumeroCatalogo, "28057");  // the principal is unchanged
    EXPECT_EQ(gudtSatelementi[2].NumeroCatalogo, "25544");
    fakes.prompt.calls.clear();
    f->cmdAttiva_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmDatabase", "satellitegiainelenco"));
    EXPECT_EQ(fakes.prompt.calls[0].title, QStringLiteral("Iss (zarya)"));
    EXPECT_EQ(gintNumSatelliti, 2);

    // The principal file reloaded since the search holds another satellite
    // at that entry: the pass's own satellite is added, not that one.
    core::WorkingList::instance().Rimuovi(2);
    gudtDatabasePrimario = {RigaDati{}, kIss, kGeo};
    fakes.prompt.calls.clear();
    fakes.prompt.answers = {platform::vbNo};
    f->cmdAttiva_Click();
    ASSERT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(gudtSatelementi[2].NumeroCatalogo, "25544");
    EXPECT_EQ(gudtRigheAttive[2], kIss);
}

TEST_F(PassWindow, MapAndListingWorkOnACopyOfTheChosenSatellite)
{
    elenca({kCbers, kIss});
    imposta(2, 1);
    f->cmdOK_Click(2);
    ASSERT_EQ(f->lstPass[2]->count(), 3);
    EXPECT_FALSE(f->cmdMappa[2]->isEnabled());  // no map opener: the map stays off
    f->show();
    f->SSTab1->setCurrentIndex(2);

    struct Aperta {
        Satelement sat;
        QString mappa, inizio, culmine, fine, riga2;
    };
    QList<Aperta> mappe;
    QList<double> istanti;
    frmVisibleSatellites::setApriMappa([&](frmVisibleSatellites& w, const core::RecordPassaggio& p, double jd) {
        mappe.append({p.elementi, w.mvarTempoMappa, w.mvarTempoInizio, w.mvarTempoCulmine, w.mvarTempoFine,
                      w.mstrRiga2});
        istanti << jd << p.jdSorgere << p.jdCulmine << p.jdTramonto;
    });
    f->lstPass[2]->setCurrentRow(0);  // the rise line
    EXPECT_TRUE(f->cmdMappa[2]->isEnabled());
    EXPECT_TRUE(f->cmdDettagli[2]->isEnabled());
    const Satelement lista2 = gudtSatelementi[2];
    f->cmdMappa_Click(2);
    ASSERT_EQ(mappe.size(), 1);
    EXPECT_EQ(mappe[0].sat, lista2);  // a copy of slot 2
    EXPECT_EQ(gudtSatelementi[2], lista2);
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(mappe[0].mappa, mappe[0].inizio);  // opens at the chosen rise
    ASSERT_EQ(istanti.size(), 4);
    EXPECT_EQ(istanti[0], istanti[1]);
    EXPECT_LT(istanti[1], istanti[2]);
    EXPECT_LT(istanti[2], istanti[3]);
    // The event line's time is the Julian date's, to the second.
    EXPECT_EQ(mAstro::Data_Da_Giuliano(istanti[2]).toString(QStringLiteral("yyyyMMdd hhmmss")),
              vb::CDate(mappe[0].culmine)->toString(QStringLiteral("yyyyMMdd hhmmss")));
    EXPECT_EQ(mappe[0].riga2, f->lstPass[2]->item(1)->text().trimmed());

    // The Details button shows a new listing of the pass: automatic step,
    // the observer's view, from before the rise to the first instant at or
    // after the set.
    emit f->cmdDettagli[2]->Click();
    ASSERT_EQ(Elenchi_Mostrati().size(), 1);
    frmDetails* d = Elenchi_Mostrati().first();
    EXPECT_TRUE(d->windowTitle().startsWith(QStringLiteral("Details: Iss (zarya) - ") + f->mvarTempoInizio))
        << d->windowTitle().toStdString();
    QStringList dati;
    for (const QString& l : d->righe())
        if (!l.isEmpty() && l.at(0).isDigit())
            dati << l;
    ASSERT_GT(dati.size(), 5);
    const QDateTime sorge = *vb::CDate(f->mvarTempoInizio);
    const QDateTime tramonta = *vb::CDate(f->mvarTempoFine);
    const QDateTime primo = *vb::CDate(dati.first().left(21));
    const QDateTime ultimo = *vb::CDate(dati.last().left(21));
    EXPECT_LE(primo, sorge);
    EXPECT_GT(primo.secsTo(sorge), -1);
    EXPECT_LT(primo.secsTo(sorge), 31);  // the step of a pass under 10 minutes is 15 s or 30 s
    EXPECT_GE(ultimo, tramonta);
    EXPECT_LT(tramonta.secsTo(ultimo), 31);
    EXPECT_EQ(primo.time().second() % 15, 0);

    // A double click on an event line (the real double click) opens one more.
    const QRect riga = f->lstPass[2]->visualItemRect(f->lstPass[2]->item(1));
    QTest::mouseClick(f->lstPass[2]->viewport(), Qt::LeftButton, {}, riga.center());
    QTest::mouseDClick(f->lstPass[2]->viewport(), Qt::LeftButton, {}, riga.center());
    EXPECT_EQ(Elenchi_Mostrati().size(), 2);
    frmVisibleSatellites::setApriMappa({});

    // While another long task runs the listing is refused with a word, and
    // no empty window is left.
    {
        core::LavoroLungo altro;
        ASSERT_TRUE(altro.acquisito());
        fakes.prompt.calls.clear();
        f->cmdDettagli_Click(2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(Elenchi_Mostrati().size(), 2);
        EXPECT_EQ(fakes.prompt.texts(), QStringList{mLang::Testo_Lingua("Dialogs", "lavoroincorso")});
    }

    // With no line selected the commands go off again.
    f->lstPass[2]->clearSelection();
    EXPECT_FALSE(f->cmdMappa[2]->isEnabled());
    EXPECT_FALSE(f->cmdDettagli[2]->isEnabled());
}

TEST_F(PassWindow, ChosenPassKeepsItsOwnSatelliteWhateverTheWorkingListBecomes)
{
    // Two sets of the same name: the ISS and another object listed under
    // its name, half an orbit behind it.
    const RigaDati gemello{"ISS (ZARYA)", "1 28057U 03049A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                           "2 28057  51.6484  23.7537 0001246  74.1647 198.7420 15.50540527859894"};
    elenca({kIss, gemello});
    imposta(2, 1);
    f->cmdOK_Click(2);
    ASSERT_GT(f->lvwPass[2]->topLevelItemCount(), 0);
    f->lstPass[2]->setCurrentRow(0);
    const QString nome = f->lstPass[2]->item(0)->data(Qt::UserRole + 1).toString();
    EXPECT_EQ(nome, QStringLiteral("Iss (zarya)"));

    auto elencato = [](frmDetails* d) {
        QStringList testata;
        for (const QString& l : d->righe())
            if (l.startsWith(QStringLiteral("Norad #")) || l.startsWith(QStringLiteral("ID #")))
                testata << l.simplified();
        return testata;
    };
    const QStringList atteso{QStringLiteral("Norad # : 28057"), QStringLiteral("ID # : 03049A")};

    // The pass's satellite becomes principal, the ISS moves to slot 2: the
    // listing is still the pass's own satellite's.
    core::WorkingList::instance().Scambia(1, 2);
    f->cmdDettagli_Click(2);
    ASSERT_EQ(Elenchi_Mostrati().size(), 1);
    EXPECT_EQ(elencato(Elenchi_Mostrati()[0]), atteso);
    // Its first step lies on the pass: at most one step before the rise, the
    // satellite is near the horizon (the rise is at 10 degrees).
    QStringList dati;
    for (const QString& l : Elenchi_Mostrati()[0]->righe())
        if (!l.isEmpty() && l.at(0).isDigit())
            dati << l;
    ASSERT_GT(dati.size(), 5);
    const double altezza = dati.first().mid(21).simplified().section(QLatin1Char(' '), 0, 0).toDouble();
    EXPECT_GT(altezza, 5.0) << dati.first().toStdString();
    EXPECT_LT(altezza, 11.0) << dati.first().toStdString();

    // The satellite leaves the list: its pass still lists it, nobody else.
    core::WorkingList::instance().Rimuovi(1);
    ASSERT_EQ(gintNumSatelliti, 1);
    f->lstPass[2]->setCurrentRow(1);
    EXPECT_TRUE(f->cmdDettagli[2]->isEnabled());
    f->cmdDettagli_Click(2);
    ASSERT_EQ(Elenchi_Mostrati().size(), 2);
    EXPECT_EQ(elencato(Elenchi_Mostrati()[1]), atteso);
}

TEST_F(PassWindow, MapOfAPrincipalPassChartsThatSatelliteWhateverSlot201Holds)
{
    MDIForm1 w;
    passes::Collega_Previsioni(w);
    // A relative-motion listing leaves CBERS 2 and the ISS in slots 201 and 202.
    gudtDatabasePrimario = {RigaDati{}, kCbers, kIss};
    frmRelative* r = frmRelative::instance();
    r->Form_Load();
    r->cmbDatabase[0]->setCurrentIndex(0);
    r->cmbDatabase[1]->setCurrentIndex(1);
    r->c.cmbDurata->setCurrentIndex(58);  // 2 minutes
    ASSERT_NE(r->cmdOK_Click(), nullptr);
    ASSERT_EQ(gudtSatelementi[kSlotScratch].NumeroCatalogo, "28057");

    // A pass of the ISS from the Principal tab, Map.
    elenca({kIss});
    imposta(1, 1);
    f->cmdOK_Click(1);
    ASSERT_GT(f->lvwPass[1]->topLevelItemCount(), 0);
    f->lstPass[1]->setCurrentRow(1);
    ASSERT_TRUE(f->cmdMappa[1]->isEnabled());
    f->cmdMappa_Click(1);
    frmSkySat* mappa = nullptr;
    for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
        if (auto* m = qobject_cast<frmSkySat*>(s->widget()))
            mappa = m;
    ASSERT_NE(mappa, nullptr);
    EXPECT_EQ(mappa->satellite().NumeroCatalogo, "25544");
    EXPECT_EQ(mappa->righe(), kIss);
    EXPECT_EQ(vb::Mid(QString::fromStdString(mappa->righe().Riga1), 10, 6), QStringLiteral("98067A"));
    // It charts the culmination chosen, at the times of the event lines.
    auto ora = [](const QDateTime& t) { return t.toString(QStringLiteral("yyyyMMdd hhmmss")); };
    EXPECT_EQ(ora(mappa->gvarTempoMappa), ora(*vb::CDate(f->mvarTempoCulmine)));
    EXPECT_EQ(ora(mappa->gvarTempoInizio), ora(*vb::CDate(f->mvarTempoInizio)));
    EXPECT_EQ(ora(mappa->gvarTempoFine), ora(*vb::CDate(f->mvarTempoFine)));
    frmVisibleSatellites::setApriMappa({});
    if (frmRelative* d = frmRelative::instance(false))
        delete d;
}

// The end of a search takes no program's keyboard. With another program
// beside the main window, the user starts a search of the working list (every
// set of a file, 28 days) with OK, goes to type in the other program while it
// runs, and goes on typing once it has ended: every key reaches that program,
// and the pass window waits in front of the workspace. A search that finds
// nothing says so once the user is back in the program, not while the keys
// go elsewhere. A search the user waited for leaves the pass window in front
// with the keys: Escape closes it. Run again by itself on a display without a
// window manager and with openbox.
TEST_F(PassWindow, ASearchThatEndsLeavesTheKeyboardWhereTheUserIs)
{
    const QByteArray modo = qgetenv("ASTROVELA_FINE_RICERCA");
    if (modo.isEmpty()) {
        for (auto gestore : {testsupport::Gestore::Nessuno, testsupport::Gestore::Openbox})
            testsupport::Riesegui_Per_Ogni("ASTROVELA_FINE_RICERCA", {"altroprogramma", "senzapassaggi", "attesa"},
                                           gestore);
        return;
    }
    using testsupport::InputX;
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    std::optional<testsupport::AltroProgramma> altro;
    if (modo != "attesa") {
        altro.emplace(QPoint(960, 900));
        ASSERT_TRUE(QTest::qWaitFor([&] { return altro->pronto(); }, 20000)) << "the other program did not show";
    }
    // The messages are the real ones.
    platform::QtPrompt scatole;
    platform::Services servizi = fakes.services();
    servizi.prompt = &scatole;
    platform::ScopedServices scope2(servizi);
    const bool senzaPassaggi = modo == "senzapassaggi";
    if (senzaPassaggi) {
        // Geostationary satellites only: none is searched.
        elenca({kGeo, kGeo2});
    } else {
        QString percorso = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
        ASSERT_TRUE(frmDatabase::instance()->Database_satelliti(percorso));
        for (int i = 1; i <= core::Numero_Voci(gudtDatabasePrimario); ++i)
            core::WorkingList::instance().Aggiungi(gudtDatabasePrimario[size_t(i)]);
        ASSERT_GT(gintNumSatelliti, 10);
    }

    MDIForm1 w;
    passes::Collega_Previsioni(w);
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {940, 860}));
    w.menuItem("mnuSatellitiPrevisioniPassaggi")->trigger();
    auto* cornice = qobject_cast<QMdiSubWindow*>(f->parentWidget());
    ASSERT_NE(cornice, nullptr);
    f->SSTab1->setCurrentIndex(2);
    imposta(2, 28);
    f->chkNessunFiltro[2]->setChecked(true);
    f->cmbLimite->setCurrentIndex(f->cmbLimite->count() - 1);  // every satellite
    ASSERT_TRUE(QTest::qWaitFor([&] { return f->cmdOK[2]->isVisible() && QApplication::activeWindow() == &w; }, 5000));
    QTest::qWait(300);

    // While the search runs (its progress window up), the user clicks the
    // other program and types there.
    bool altrove = false;
    QTimer utente;
    utente.setInterval(0);
    QObject::connect(&utente, &QTimer::timeout, [&] {
        const frmProgress* p = frmProgress::instance(false);
        if (!f->inCorso() || !p || !p->isVisible())
            return;
        utente.stop();
        x.clic(altro->campo());
        if (!QTest::qWaitFor([&] { return altro->attivo() && !QApplication::activeWindow(); }, 5000))
            return;
        for (char c : {'a', 'b'})
            x.premi(static_cast<unsigned long>(c));
        altrove = QTest::qWaitFor([&] { return altro->testo() == "ab"; }, 3000) && f->inCorso();
    });
    if (altro)
        utente.start();
    // A message that comes up while the user types elsewhere takes the keys:
    // told, and closed.
    testsupport::MessaggiPresi messaggi;
    if (altro)
        messaggi.start();
    // (The search runs inside the click's handling: seen from a timer.)
    bool avviata = false;
    QTimer guarda;
    guarda.setInterval(10);
    QObject::connect(&guarda, &QTimer::timeout, [&] { avviata = avviata || f->inCorso(); });
    guarda.start();
    x.clic(f->cmdOK[2]->mapToGlobal(f->cmdOK[2]->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return avviata && !f->inCorso(); }, 90000))
        << (avviata ? "the search did not end" : "OK did not start the search");
    EXPECT_EQ(f->lvwPass[2]->topLevelItemCount() == 0, senzaPassaggi);

    if (altro) {
        messaggi.stop();
        EXPECT_TRUE(messaggi.preso.isEmpty()) << "a message took the keyboard from the other program: "
                                     << messaggi.preso.toStdString();
        ASSERT_TRUE(altrove) << "the other program did not take the keys while the search ran (it has \""
                             << altro->testo().toStdString() << "\")";
        QTest::qWait(500); // the user goes on typing
        for (char c : {'c', 'd'})
            x.premi(static_cast<unsigned long>(c));
        EXPECT_TRUE(QTest::qWaitFor([&] { return altro->testo() == "abcd"; }, 3000))
            << "the keys typed after the search went elsewhere (the other program has \""
            << altro->testo().toStdString() << "\")";
        EXPECT_TRUE(altro->attivo());
        EXPECT_EQ(QApplication::activeWindow(), nullptr);
        // The pass window waits in front of the workspace.
        EXPECT_EQ(w.mdiArea()->activeSubWindow(), cornice);
        EXPECT_EQ(w.mdiArea()->subWindowList(QMdiArea::StackingOrder).last(), cornice);
        if (senzaPassaggi) {
            // Back in the program: the message that nothing was found.
            QTest::qWait(300);
            x.clic(f->lvwPass[2]->viewport()->mapToGlobal(f->lvwPass[2]->viewport()->rect().center()));
            QString detto;
            QTimer risposta;
            QObject::connect(&risposta, &QTimer::timeout, [&] {
                if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); m && m->isVisible()) {
                    detto = m->text();
                    m->close();
                }
            });
            risposta.start(50);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !detto.isEmpty(); }, 5000))
                << "no message once the user came back";
            EXPECT_EQ(detto, mLang::Testo_Lingua("frmVisibleSatellites", "nessunpassaggio"));
        }
        return;
    }
    QTest::qWait(300); // as long as a user takes to reach for a key
    EXPECT_EQ(QApplication::activeWindow(), &w);
    EXPECT_TRUE(testsupport::Davanti_Nell_Area(w.mdiArea(), cornice));
    // Escape unloads the window: it may be gone by the time it is looked at.
    const QPointer<frmVisibleSatellites> finestra(f);
    x.premi(InputX::kEscape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finestra || !finestra->isVisible(); }, 3000))
        << "Escape did not reach the pass window";
}

TEST_F(PassWindow, SaveAndPrintTheChosenPass)
{
    elenca({kIss});
    imposta(1, 1);
    f->SSTab1->setCurrentIndex(1);
    // Nothing chosen: no dialog, no file.
    f->mnuSalva_Click();
    EXPECT_TRUE(fakes.files.calls.isEmpty());

    f->cmdOK_Click(1);
    ASSERT_EQ(f->lstPass[1]->count(), 3);
    const QString testo = m_dir.filePath(QStringLiteral("pass.txt"));
    fakes.files.fileAnswers = {testo};
    f->mnuSalva_Click();
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_EQ(fakes.files.calls[0].request.flags, platform::fileOverwritePrompt);
    // Named after the pass, in the documents folder or, without one, home.
    const QString nomeProposto = fakes.files.calls[0].request.fileName;
    EXPECT_TRUE(nomeProposto.startsWith(QStringLiteral("Iss (zarya) "))) << nomeProposto.toStdString();
    EXPECT_TRUE(nomeProposto.endsWith(QStringLiteral(".txt")));
    EXPECT_FALSE(nomeProposto.contains(QLatin1Char(':')));
    EXPECT_TRUE(QDir(fakes.files.calls[0].request.initialFolder).exists());
    {
        const QByteArray casa = qgetenv("HOME");
        QTemporaryDir altra;
        qputenv("HOME", altra.path().toLocal8Bit());
        fakes.files.fileAnswers = {};
        f->mnuSalva_Click();
        ASSERT_EQ(fakes.files.calls.size(), 2);
        EXPECT_EQ(fakes.files.calls[1].request.initialFolder, altra.path());
        ASSERT_TRUE(QDir(altra.path()).mkpath(QStringLiteral("Documents")));
        f->mnuSalva_Click();
        ASSERT_EQ(fakes.files.calls.size(), 3);
        EXPECT_EQ(fakes.files.calls[2].request.initialFolder, altra.filePath(QStringLiteral("Documents")));
        qputenv("HOME", casa);
        fakes.files.calls.clear();
    }
    QFile letto(testo);
    ASSERT_TRUE(letto.open(QIODevice::ReadOnly));
    const QByteArray atteso = (f->lstPass[1]->item(0)->text() + "\r\n" + f->lstPass[1]->item(1)->text() + "\r\n"
                               + f->lstPass[1]->item(2)->text() + "\r\n")
                                  .toLatin1();
    EXPECT_EQ(letto.readAll(), atteso);

    // A save that cannot be written says so, naming the file and why: a
    // folder that is not there, and (as an ordinary user) one the user may
    // not write, named, in the user's language.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("locked")));
    const QString chiusa = m_dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QFile::setPermissions(chiusa, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther));
    ASSERT_TRUE(UtenteOrdinario::Passabile(m_dir.path()));
    const QString assente = m_dir.filePath(QStringLiteral("nessuna/cartella/pass.txt"));
    const QString dentro = chiusa + QStringLiteral("/pass.txt");
    const struct {
        QString file;
        const char* lingua;
        QString testo;
    } casi[] = {
        {assente, "english.ini",
         "The pass list could not be saved in the file " + assente + ".\rThe folder "
             + m_dir.filePath(QStringLiteral("nessuna/cartella")) + " does not exist."},
        {dentro, "english.ini",
         "The pass list could not be saved in the file " + dentro + ".\rPermission denied in the folder " + chiusa
             + ", where no new file may be made (a file is saved by writing its new copy beside it, which then "
               "takes its place)"},
        {dentro, "italiano.ini",
         "Non è stato possibile salvare l'elenco dei passaggi nel file " + dentro + ".\rPermesso negato nella cartella "
             + chiusa + ", dove non si possono creare nuovi file (un file si salva scrivendone la nuova copia accanto, "
                        "che poi prende il suo posto)"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.testo.toStdString());
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        fakes.prompt.calls.clear();
        fakes.files.fileAnswers = {c.file};
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            f->mnuSalva_Click();
        }
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.testo.toStdString());
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    }
    EXPECT_EQ(QDir(chiusa).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    ASSERT_TRUE(QFile::setPermissions(chiusa, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));

    const QString pdf = m_dir.filePath(QStringLiteral("pass.pdf"));
    fakes.files.printerAnswers = {pdf};
    f->mnuStampa_Click();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString stampato = QString::fromUtf8(p.readAllStandardOutput());
    // The three lines, one a printed line, in order (the text reader
    // squeezes the runs of blanks).
    QStringList righe;
    for (const QString& r : stampato.split(QLatin1Char('\n')))
        if (!r.trimmed().isEmpty())
            righe << r.trimmed();
    ASSERT_EQ(righe.size(), 3) << stampato.toStdString();
    for (int i = 0; i < 3; ++i) {
        const QStringList attese = f->lstPass[1]->item(i)->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        EXPECT_EQ(righe[i].split(QLatin1Char(' '), Qt::SkipEmptyParts), attese) << righe[i].toStdString();
    }
    if (qEnvironmentVariableIsSet("ASTROVELA_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("ASTROVELA_KEEP_PDF"));
}

} // namespace
