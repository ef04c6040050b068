// The rise and set almanac: times and azimuths against PyEphem for Milan and
// a polar night at Tromso (tests/data/ref_tables.csv, tools/ref_tables.py),
// the date steps, the rows without an event, and the Moon's phase figure.
#include "tables/almanac.h"
#include "common/moon_phase.h"
#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/canvas.h"
#include "platform/canvas_widget.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "support/date_field.h"
#include "support/ref_rows.h"
#include "support/x_input.h"
#include "common/window_links.h"
#include "shell/main_window.h"
#include "tables/tracking_table.h"

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QFile>
#include <QLabel>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

struct Evento {
    QString minuti, azimuth;   // empty when the event does not happen
};
struct Giorno {
    Evento sorge, tramonta;
    bool sopra = false;
};
// (place, date, body) -> events.
std::map<QString, Giorno> g_rif;
QDateTime g_istante;
double g_fase = 0;

void Leggi()
{
    if (!g_rif.empty())
        return;
    testsupport::Righe_Riferimento("ref_tables.csv", g_istante, [](const QStringList& c) {
        if (c[0] == QLatin1String("riseset")) {
            const QString chiave = c[1] + QLatin1Char(' ') + c[5] + QLatin1Char('-') + c[6] + QLatin1Char('-') + c[7]
                + QLatin1Char(' ') + c[8];
            g_rif[chiave] = {{c[9], c[10]}, {c[11], c[12]}, c[13] == QLatin1String("1")};
        } else if (c[0] == QLatin1String("moonphase")) {
            g_fase = c[1].toDouble();
        }
    });
}

class AlmanacTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        vb::setDisplayLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
        Leggi();
        Milano();
        gdatDataCorrente = g_istante;
        mAstro::Aggiorna_Tempo(gdatDataCorrente);
    }
    void TearDown() override
    {
        delete frmRiseSet::instance();
        gdatDataCorrente = QDateTime();
        mLang::Usa_File_Lingua({});
        vb::setDisplayLocale(QLocale::system());
    }
    static void Milano()
    {
        gsngLatitudine = 45.4642f;
        gsngLongitudine = 9.19f;
        gsngFusoOrario = 1;
        gbytOraLegale = 0;
    }
    // The row against the reference: time within the model's minutes and
    // the rounding to the minute, azimuth within its degrees.
    static void Confronta(const QLabel* ora, const QLabel* az, const Evento& e, double tolMin, double tolAz,
                          const QString& chi)
    {
        ASSERT_FALSE(e.minuti.isEmpty()) << chi.toStdString();
        const QString t = ora->text();
        ASSERT_EQ(t.size(), 5) << chi.toStdString() << " " << t.toStdString();
        const double minuti = t.left(2).toInt() * 60 + t.mid(3).toInt();
        EXPECT_NEAR(minuti, e.minuti.toDouble(), tolMin + 0.5) << chi.toStdString();
        ASSERT_TRUE(az->text().endsWith(QStringLiteral("°"))) << chi.toStdString();
        EXPECT_EQ(az->text().size(), 6) << chi.toStdString();   // "087.3°"
        EXPECT_NEAR(vb::Val(az->text()), e.azimuth.toDouble(), tolAz) << chi.toStdString();
    }
    static void Giorno_Milano(frmRiseSet* w, const QString& data)
    {
        const Giorno& sole = g_rif.at(QStringLiteral("milano ") + data + QStringLiteral(" sole"));
        const Giorno& luna = g_rif.at(QStringLiteral("milano ") + data + QStringLiteral(" luna"));
        Confronta(w->lblSunRise, w->lblSunRiseAz, sole.sorge, 1, 0.3, data + " sunrise");
        Confronta(w->lblSunSet, w->lblSunSetAz, sole.tramonta, 1, 0.3, data + " sunset");
        Confronta(w->lblMoonRise, w->lblMoonRiseAz, luna.sorge, 3, 1, data + " moonrise");
        Confronta(w->lblMoonSet, w->lblMoonSetAz, luna.tramonta, 3, 1, data + " moonset");
        for (QLabel* h : w->lblAzimuth)
            EXPECT_FALSE(h->isHidden()) << data.toStdString();
    }
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(AlmanacTest, DaysStepsAndEventsAgreeWithPyEphem)
{
    frmRiseSet* w = frmRiseSet::Mostra();
    EXPECT_EQ(w->windowTitle(), mLang::Testo_Lingua("frmRiseSet", "almanacco"));
    EXPECT_EQ(w->valore(), g_istante);
    EXPECT_EQ(w->DTPicker1->date(), g_istante.date());
    Giorno_Milano(w, QStringLiteral("2013-11-26"));
    w->cmdGiornoDopo_Click();
    EXPECT_EQ(w->valore().date(), QDate(2013, 11, 27));
    EXPECT_EQ(w->valore().time(), g_istante.time());
    Giorno_Milano(w, QStringLiteral("2013-11-27"));
    w->cmdGiornoPrima_Click();
    w->cmdMeseDopo_Click();
    EXPECT_EQ(w->valore().date(), QDate(2013, 12, 26));
    Giorno_Milano(w, QStringLiteral("2013-12-26"));

    // A date typed in the picker recomputes the window at once. A click at
    // the left edge of a part, coming from the right, selects that part.
    w->cmdMesePrima_Click();
    QApplication::setActiveWindow(w->window());
    EXPECT_EQ(testsupport::ClicSuiBordiSinistri(w->DTPicker1).join(' ').toStdString(), "Tue@1 26@5 Nov@8 2013@12");
    testsupport::CliccaX(w->DTPicker1, testsupport::XPrima(w->DTPicker1, 16));
    testsupport::CliccaX(w->DTPicker1, testsupport::XPrima(w->DTPicker1, 5) + 1);
    testsupport::Digita(w->DTPicker1, "27");
    EXPECT_EQ(w->valore(), core::Data_Orologio(QDate(2013, 11, 27), g_istante.time()));
    Giorno_Milano(w, QStringLiteral("2013-11-27"));

    // Tromso in the polar night: both Sun rows and both Moon rows tell the
    // body stays below the horizon; the headings come back with the events.
    gsngLatitudine = 69.6492f;
    gsngLongitudine = 18.9553f;
    ASSERT_FALSE(g_rif.at(QStringLiteral("tromso 2025-12-21 sole")).sopra);
    ASSERT_TRUE(g_rif.at(QStringLiteral("tromso 2025-12-21 luna")).sorge.minuti.isEmpty());
    w->DTPicker1->setDate(QDate(2025, 12, 21));
    const QString sotto = mLang::Testo_Lingua("frmRiseSet", "sottoorizzonte");
    EXPECT_EQ(w->lblSunRise->text(), sotto);
    EXPECT_EQ(w->lblSunSet->text(), sotto);
    EXPECT_EQ(w->lblSunRiseAz->text(), "");
    EXPECT_TRUE(w->lblAzimuth[0]->isHidden());
    EXPECT_TRUE(w->lblAzimuth[1]->isHidden());
    EXPECT_EQ(w->lblMoonRise->text(), g_rif.at(QStringLiteral("tromso 2025-12-21 luna")).sopra
                                          ? mLang::Testo_Lingua("frmRiseSet", "sopraorizzonte")
                                          : sotto);

    // Tromso under the midnight Sun: both Sun rows tell the Sun stays above
    // the horizon, their azimuth headings hidden; the Moon rises and sets.
    const Giorno& estate = g_rif.at(QStringLiteral("tromso 2025-6-21 sole"));
    ASSERT_TRUE(estate.sopra);
    ASSERT_TRUE(estate.sorge.minuti.isEmpty() && estate.tramonta.minuti.isEmpty());
    w->DTPicker1->setDate(QDate(2025, 6, 21));
    const QString sopra = mLang::Testo_Lingua("frmRiseSet", "sopraorizzonte");
    ASSERT_FALSE(sopra.isEmpty());
    EXPECT_EQ(w->lblSunRise->text(), sopra);
    EXPECT_EQ(w->lblSunSet->text(), sopra);
    EXPECT_EQ(w->lblSunRiseAz->text(), "");
    EXPECT_EQ(w->lblSunSetAz->text(), "");
    EXPECT_TRUE(w->lblAzimuth[0]->isHidden());
    EXPECT_TRUE(w->lblAzimuth[1]->isHidden());
    const Giorno& lunaEstate = g_rif.at(QStringLiteral("tromso 2025-6-21 luna"));
    Confronta(w->lblMoonRise, w->lblMoonRiseAz, lunaEstate.sorge, 6, 2, QStringLiteral("Tromso moonrise"));
    Confronta(w->lblMoonSet, w->lblMoonSetAz, lunaEstate.tramonta, 6, 2, QStringLiteral("Tromso moonset"));
    EXPECT_FALSE(w->lblAzimuth[2]->isHidden());
    EXPECT_FALSE(w->lblAzimuth[3]->isHidden());

    Milano();
    w->DTPicker1->setDate(QDate(2013, 11, 26));
    Giorno_Milano(w, QStringLiteral("2013-11-26"));

    w->cmdHelp_Click();
    ASSERT_EQ(fakes.help.calls.size(), 1);
    EXPECT_EQ(fakes.help.calls[0].context, 200);
}

TEST_F(AlmanacTest, MonthStepsWrapTheYearAndKeepTheDay)
{
    frmRiseSet* w = frmRiseSet::Mostra();
    const QTime ora = g_istante.time();
    w->setValore(core::Data_Orologio(QDate(2024, 12, 15), ora));
    w->cmdMeseDopo_Click();
    EXPECT_EQ(w->valore(), core::Data_Orologio(QDate(2025, 1, 15), ora));
    w->cmdMesePrima_Click();
    w->cmdMesePrima_Click();
    EXPECT_EQ(w->valore().date(), QDate(2024, 11, 15));
    w->setValore(core::Data_Orologio(QDate(2024, 1, 10), ora));
    w->cmdMesePrima_Click();
    EXPECT_EQ(w->valore().date(), QDate(2023, 12, 10));
    // Day back from 1 March: the last day of February, leap years included.
    w->setValore(core::Data_Orologio(QDate(2024, 3, 1), ora));
    w->cmdGiornoPrima_Click();
    EXPECT_EQ(w->valore().date(), QDate(2024, 2, 29));
    w->setValore(core::Data_Orologio(QDate(2023, 3, 1), ora));
    w->cmdGiornoPrima_Click();
    EXPECT_EQ(w->valore().date(), QDate(2023, 2, 28));
    // 31 January a month on: the step does not fail, it takes February's last day.
    w->setValore(core::Data_Orologio(QDate(2024, 1, 31), ora));
    w->cmdMeseDopo_Click();
    EXPECT_EQ(w->valore().date(), QDate(2024, 2, 29));
    EXPECT_EQ(w->DTPicker1->date(), QDate(2024, 2, 29));
}

namespace {

// The colour of the figure at (dx, dy) radii from its centre.
QColor Punto(const platform::Canvas& c, double x, double y, double r, double dx, double dy)
{
    return QColor::fromRgb(c.image().pixel(c.toDevice({x + dx * r, y + dy * r}).toPoint()));
}

} // namespace

TEST_F(AlmanacTest, MoonPhaseFigure)
{
    EXPECT_EQ(common::Indice_Fase_Luna(0), 0);
    EXPECT_EQ(common::Indice_Fase_Luna(M_PI / 2), 270);
    EXPECT_EQ(common::Indice_Fase_Luna(M_PI), 180);
    EXPECT_EQ(common::Indice_Fase_Luna(3 * M_PI / 2), 90);
    EXPECT_EQ(common::Indice_Fase_Luna(6.28), 0);   // 359.8 degrees: a new Moon again

    const QColor bianco(255, 255, 255), nero(0, 0, 0);
    const QColor& B = bianco;
    const QColor& N = nero;
    struct Caso {
        double angolo;     // phase angle, degrees
        QColor a, b, c, d; // at -0.85, -0.4, +0.4, +0.85 radii from the centre
    };
    const Caso casi[] = {
        {0, N, N, N, N},     // new
        {180, B, B, B, B},   // full
        {90, N, N, B, B},    // first quarter: the right half lit, no ellipse
        {270, B, B, N, N},   // last quarter: the left half
        {45, N, N, N, B},    // waxing crescent: the right edge only
        {135, N, B, B, B},   // waxing gibbous: past the centre to the left
        {315, B, N, N, N},   // waning crescent: the left edge
    };
    for (const Caso& k : casi) {
        platform::Canvas c(QSize(90, 90));
        c.setBackColor(vb::RGB(0, 0, 255));
        c.Scale(0, 0, 90, 90);
        common::Disegna_Fase(c, 45, 45, 40, k.angolo * M_PI / 180);
        const std::string chi = std::to_string(int(k.angolo));
        EXPECT_EQ(Punto(c, 45, 45, 40, -0.85, 0.1), k.a) << chi;
        EXPECT_EQ(Punto(c, 45, 45, 40, -0.4, 0.1), k.b) << chi;
        EXPECT_EQ(Punto(c, 45, 45, 40, 0.4, 0.1), k.c) << chi;
        EXPECT_EQ(Punto(c, 45, 45, 40, 0.85, 0.1), k.d) << chi;
        EXPECT_EQ(Punto(c, 45, 45, 40, 0.8, 0.8), QColor(0, 0, 255)) << chi;   // outside untouched
        EXPECT_EQ(Punto(c, 45, 45, 40, 0, -1.0), N) << chi;                      // the outline
    }

    // The almanac's figure for the instant of the fixture: PyEphem has the
    // Moon past full towards the last quarter (elongation about 273 degrees),
    // so its left side is lit. The shared clock state is put back afterwards.
    ASSERT_GT(g_fase, 260);
    ASSERT_LT(g_fase, 285);
    frmRiseSet* w = frmRiseSet::Mostra();
    const double jd = gdblGiornoGiuliano;
    w->Disegna_luna(*w->picLuna, g_istante.addDays(1));
    EXPECT_DOUBLE_EQ(gdblGiornoGiuliano, jd);
    w->Disegna_luna(*w->picLuna, g_istante);
    const platform::Canvas& c = w->picLuna->canvas();
    const double x = c.scaleLeft() + c.scaleWidth() / 2, y = c.scaleTop() + c.scaleHeight() / 2,
                 r = c.scaleWidth() / 3;
    EXPECT_EQ(Punto(c, x, y, r, -0.7, 0), bianco);
    EXPECT_EQ(Punto(c, x, y, r, 0.7, 0), nero);
    EXPECT_NEAR(gudtCorpi[mAstro::kLuna].Fase * 180 / M_PI, g_fase, 1.0);
}

// Escape on the almanac, opened after the whole-sky chart, the tracking table
// and the planet table, this one minimised with its frame's button, on a
// display without a window manager and on one with openbox (run again there
// by itself): the almanac goes, and the tracking table, the last window on
// view the user came from, is in front again with the keyboard, the chart
// behind it; the minimised planet table stays a bar. With every other
// window minimised, Escape on the almanac makes none of them the active one:
// the main window keeps the keyboard. Opened, the almanac has the keys on its
// date, and Return there closes it with the date untouched.
TEST_F(AlmanacTest, EscapeBringsBackTheWindowTheUserCameFrom)
{
    if (qgetenv("ASTROVELA_ALMANACCO_TASTI").isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_ALMANACCO_TASTI", {"almanacco"});
        testsupport::Riesegui_Per_Ogni("ASTROVELA_ALMANACCO_TASTI", {"almanacco"}, testsupport::Gestore::Openbox);
        return;
    }
    testsupport::InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    MDIForm1 w;
    sky::Collega_Cielo_Generale(w);
    tables::Collega_Tabelle(w);
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {1200, 900}));
    w.menuItem("mnuCieloMappaGenerale")->trigger();
    QMdiSubWindow* carta = w.mdiArea()->activeSubWindow();
    ASSERT_TRUE(carta && carta->widget()->objectName() == "frmGeneralSky");
    w.menuItem("mnuEffemeridiSatelliti")->trigger();
    QMdiSubWindow* tabella = w.mdiArea()->activeSubWindow();
    ASSERT_TRUE(tabella && tabella->widget()->objectName() == "frmTrack");
    w.menuItem("mnuEffemeridiPianeti")->trigger();
    QMdiSubWindow* pianeti = w.mdiArea()->activeSubWindow();
    ASSERT_TRUE(pianeti && pianeti->widget()->objectName() == "frmPlanets");
    pianeti->showMinimized(); // what its frame's button does

    // The keys start on the date, and Return there is OK: the window goes
    // without turning its date a month back.
    w.menuItem("mnuEffemeridiAlmanacco")->trigger();
    ASSERT_TRUE(frmRiseSet::instance() && frmRiseSet::instance()->isVisible());
    QTest::qWait(300);
    QDateTimeEdit* data = frmRiseSet::instance()->DTPicker1;
    EXPECT_TRUE(data->hasFocus()) << "the keys are on "
                                  << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                                                  : std::string("nothing"));
    const QDate aperta = data->date();
    QList<QDate> date;
    QObject::connect(data, &QDateTimeEdit::dateChanged, data, [&](const QDate& d) {
        if (d != aperta)
            date << d;
    });
    x.premi(testsupport::InputX::kInvio);
    EXPECT_TRUE(QTest::qWaitFor([] { return !frmRiseSet::instance(); }, 2000)) << "Return did not close the almanac";
    EXPECT_TRUE(date.isEmpty()) << "Return moved the date from " << aperta.toString(Qt::ISODate).toStdString()
                                << " to " << date.value(0).toString(Qt::ISODate).toStdString();
    delete frmRiseSet::instance();
    QTest::qWait(200);
    EXPECT_TRUE(testsupport::Davanti_Nell_Area(w.mdiArea(), tabella));

    const auto almanaccoConEsc = [&] {
        w.menuItem("mnuEffemeridiAlmanacco")->trigger();
        if (!frmRiseSet::instance() || !frmRiseSet::instance()->isVisible())
            return false;
        QTest::qWait(300);
        x.premi(testsupport::InputX::kEscape);
        const bool chiuso = QTest::qWaitFor([] { return !frmRiseSet::instance(); }, 2000);
        QTest::qWait(200);
        return chiuso;
    };
    ASSERT_TRUE(almanaccoConEsc()) << "Escape did not close the almanac";
    EXPECT_TRUE(testsupport::Davanti_Nell_Area(w.mdiArea(), tabella));
    EXPECT_TRUE(pianeti->isMinimized());

    tabella->showMinimized();
    carta->showMinimized();
    ASSERT_TRUE(almanaccoConEsc()) << "Escape did not close the almanac the second time";
    QMdiSubWindow* attiva = w.mdiArea()->activeSubWindow();
    EXPECT_TRUE(!attiva || !attiva->isMinimized()) << "the minimised " << attiva->widget()->objectName().toStdString()
                                                   << " was made the active window";
    EXPECT_FALSE(w.menu("mnuGeneralSky")->menuAction()->isVisible()) << "the minimised chart's menu is in the menu bar";
    const QWidget* fuoco = QApplication::focusWidget();
    for (QMdiSubWindow* s : {carta, tabella, pianeti}) {
        EXPECT_TRUE(s->isMinimized()) << s->widget()->objectName().toStdString();
        EXPECT_FALSE(fuoco && (fuoco == s || s->isAncestorOf(fuoco)))
            << "the keyboard is on the minimised " << s->widget()->objectName().toStdString();
    }
    EXPECT_TRUE(w.isActiveWindow());
    w.closeChildren();
    delete frmTrack::instance();
}
