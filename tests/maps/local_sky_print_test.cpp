// The printed chart: the page through a PDF printer, its text block and
// table fields, and a cancelled print dialog.
#include "local_sky_fixture.h"

#include "maps/local_sky_print.h"
#include "common/window_links.h"
#include "support/pdf_page.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

namespace {

using skytest::LocalSky;

// A reference row of ref_local_sky.csv.
QStringList rigaRiferimento(const char* tipo, const char* nome)
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_local_sky.csv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    while (!f.atEnd()) {
        const QStringList c = QString::fromUtf8(f.readLine()).trimmed().split(',');
        if (c.size() >= 6 && c[0] == QLatin1String(tipo) && (!nome || c[1] == QLatin1String(nome)))
            return c;
    }
    ADD_FAILURE() << tipo << " " << (nome ? nome : "");
    return QStringList(6);
}

// Where a direction lies on the page, in twips: the chart (south at the
// bottom, stereographic) 44 twips a unit about (5952, 5500).
QPointF sullaPagina(double az, double alt)
{
    const double g = M_PI / 180;
    const double r = 90 * std::tan((45 - alt / 2) * g);
    return {5952 - 44 * r * std::sin(az * g), 5500 - 44 * r * std::cos(az * g)};
}


QString testoPdf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(LocalSkyPrintFields, TableFieldsCutAndPadAsTheLayoutSays)
{
    EXPECT_EQ(common::Fondo_Cornice(true), 14600);
    EXPECT_EQ(common::Fondo_Cornice(false), 15636);
    // A declination between -1 and 0 keeps no sign on its degrees.
    EXPECT_EQ(maps::cielo::Campo_Declinazione(-0.5), "0°30'");
    EXPECT_EQ(maps::cielo::Campo_Declinazione(-23.25), "-23°15'");
    EXPECT_EQ(maps::cielo::Campo_Ascensione(13.5), "13h30m");
    EXPECT_EQ(maps::cielo::Campo_Diametro(1925.4), "32'05''");
    // A full Moon: the four-character field cuts the per-cent sign; 5 per cent keeps it.
    EXPECT_EQ(maps::cielo::Campo_Fase_Luna(M_PI), " 100");
    EXPECT_EQ(maps::cielo::Campo_Fase_Luna(std::acos(0.9)), " 5% ");
    // Dots of 12, 8 and 3 printer pixels at 600 dpi, as radii in twips.
    EXPECT_DOUBLE_EQ(common::Raggio_Stella(293), 14.4);
    EXPECT_DOUBLE_EQ(common::Raggio_Stella(294), 9.6);
    EXPECT_DOUBLE_EQ(common::Raggio_Stella(921), 9.6);
    EXPECT_DOUBLE_EQ(common::Raggio_Stella(922), 3.6);
}

TEST_F(LocalSky, PrintsOnePageWithTheChartAndTheTable)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("cielo.pdf");
    gstrLocalita = QStringLiteral("Italy: Roma");
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    main->menuItem("mnuLocalSkyGriglia")->setChecked(true);
    main->menuItem("mnuLocalSkyOggettiCostellazioni")->setChecked(true);
    main->menuItem("mnuLocalSkyEtichetteCostellazioni")->setChecked(true);

    // Cancel prints nothing.
    f->Stampa();
    EXPECT_FALSE(QFileInfo::exists(pdf));
    ASSERT_EQ(fakes.files.calls.size(), 1);

    // Landscape chosen before in the printer's properties: the page is
    // printed upright all the same.
    platform::applicationPrinter().setPageOrientation(QPageLayout::Landscape);
    fakes.files.printerAnswers = {pdf};
    clic("mnuLocalSkyStampa");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    const QImage pagina = testsupport::Pagina_Pdf(pdf);
    EXPECT_LT(pagina.width(), pagina.height());
    // Blanks as pdftotext lays them out depend on the font found for
    // Courier New: compare with runs of blanks made one.
    const QString t = testoPdf(pdf).simplified();
    EXPECT_TRUE(t.contains("LOCAL SKY CHART"));
    EXPECT_TRUE(t.contains("Place : Italy: Roma"));
    EXPECT_TRUE(t.contains("Coordinates : Lat. 41.900° Lon. 12.500°"));
    EXPECT_TRUE(t.contains("Date : 26 Nov 2013 hours 21:00"));
    for (const char* nome : {"Mercury", "Jupiter", "Neptune", "Sun", "Moon"})
        EXPECT_TRUE(t.contains(QLatin1String(nome))) << nome;
    EXPECT_TRUE(t.contains("-26.4"));
    // Compass labels of the south orientation and constellation abbreviations above the horizon.
    EXPECT_TRUE(t.contains("330°"));
    // Every body's row: elevation and azimuth where PyEphem sees it at 20:00
    // UT (ref_local_sky.csv), within what the body models allow (the planets
    // 0.2 degrees) and the sheet's rounding.
    struct Corpo {
        const char* nome;
        const char* chiave;
        double tolleranza;
    };
    for (const Corpo& c : {Corpo{"Mercury", "mercurio", 0.3}, Corpo{"Venus", "venere", 0.3}, Corpo{"Mars", "marte", 0.3},
                           Corpo{"Jupiter", "giove", 0.3}, Corpo{"Saturn", "saturno", 0.3}, Corpo{"Uranus", "urano", 0.3},
                           Corpo{"Neptune", "nettuno", 0.3}, Corpo{"Sun", "sole", 0.1}, Corpo{"Moon", "luna", 1.3}}) {
        const QRegularExpression riga(QLatin1String(c.nome)
                                      + QStringLiteral(" : (-?\\d+\\.\\d) (\\d+\\.\\d) (\\d+)h(\\d\\d)m (-?\\d+)°(\\d\\d)' "));
        const QRegularExpressionMatch m = riga.match(t);
        ASSERT_TRUE(m.hasMatch()) << c.nome;
        const QStringList r = rigaRiferimento("body", c.chiave);
        EXPECT_NEAR(m.captured(1).toDouble(), r[4].toDouble(), c.tolleranza + 0.05) << c.nome;
        if (r[4].toDouble() > -80) {
            EXPECT_NEAR(std::remainder(m.captured(2).toDouble() - r[5].toDouble(), 360.0), 0,
                        (c.tolleranza + 0.05) / std::cos(r[4].toDouble() * M_PI / 180))
                << c.nome;
        }
    }
    // Jupiter: 1.00 lit, -2.x magnitude, 7h2xm +2x degrees (PyEphem: 7h29m, +22.3).
    const QRegularExpression giove(QStringLiteral("Jupiter : 1[12]\\.\\d 7[01]\\.\\d 7h2\\dm 2\\d°\\d\\d' -2\\.\\d \\d'\\d\\d'' 1\\.00"));
    EXPECT_TRUE(giove.match(t).hasMatch());
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS"))
        QFile::copy(pdf, qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_print.pdf");
}

} // namespace

namespace {

// The words of a PDF page with their boxes in pixels of its image at 288 dpi.
struct Parola {
    QString testo;
    QRectF box;
};
std::vector<Parola> parolePdf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression parola(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<Parola> out;
    for (auto it = parola.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * 4,
                                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * 4)});
    }
    return out;
}

// The frame of a printed page: the first and last rows holding a dark run
// as long as its top line (9504 twips, 1900 pixels), and its sides.
QRect cornice(const QImage& img)
{
    auto scuro = [&](int x, int y) { return qGray(img.pixel(x, y)) < 128; };
    int alto = -1, basso = -1;
    for (int y = 0; y < img.height(); ++y) {
        int run = 0, lungo = 0;
        for (int x = 0; x < img.width(); ++x) {
            run = scuro(x, y) ? run + 1 : 0;
            lungo = std::max(lungo, run);
        }
        if (lungo >= 1800) {
            if (alto < 0)
                alto = y;
            basso = y;
        }
    }
    if (alto < 0)
        return {};
    int sinistra = -1, destra = -1;
    for (int x = 0; x < img.width(); ++x)
        if (scuro(x, alto + 20) && scuro(x, alto + 400)) {
            if (sinistra < 0)
                sinistra = x;
            destra = x;
        }
    return QRect(QPoint(sinistra, alto), QPoint(destra, basso));
}

// The page on A4, Letter and Letter Small, in both languages, with every
// label the menu can show: each word lies inside the frame, the frame ends
// where its paper wants it (Letter told by its size, whatever its name), and
// the table's last row is there. The frame lines are a pixel or two wide.
TEST_F(LocalSky, EveryTextOfThePageLiesInsideItsFrame)
{
    if (QProcess::execute(QStringLiteral("which"), {QStringLiteral("pdftotext")}) != 0)
        GTEST_SKIP() << "poppler-utils is not installed";
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    for (const char* v : {"mnuLocalSkyGriglia", "mnuLocalSkyOggettiCostellazioni", "mnuLocalSkyEtichetteCostellazioni",
                          "mnuLocalSkyOggettiSoleLuna", "mnuLocalSkyEtichetteSoleLuna", "mnuLocalSkyOggettiPianeti",
                          "mnuLocalSkyEtichettePianeti"})
        main->menuItem(v)->setChecked(true);
    QPrinter& printer = platform::applicationPrinter();
    const QPageSize prima = printer.pageLayout().pageSize();
    QTemporaryDir dir;
    struct Carta {
        QPageSize formato;
        double fondo; // twips
    };
    for (const char* lingua : {"english.ini", "italiano.ini"}) {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(lingua));
        const QString luna = mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(gudtCorpi[9].Nome));
        for (const Carta& c : {Carta{QPageSize(QPageSize::A4), 15636}, Carta{QPageSize(QPageSize::Letter), 14600},
                               Carta{QPageSize(QPageSize::LetterSmall), 14600}}) {
            SCOPED_TRACE(std::string(lingua) + " " + c.formato.name().toStdString());
            printer.setPageSize(c.formato);
            const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
            QFile::remove(pdf);
            fakes.files.printerAnswers = {pdf};
            f->Stampa();
            const QImage img = testsupport::Pagina_Pdf(pdf);
            ASSERT_FALSE(img.isNull());
            const QRect r = cornice(img);
            ASSERT_TRUE(r.isValid());
            EXPECT_NEAR(r.width(), (10704 - 1200) / 5.0, 3);
            EXPECT_NEAR(r.height(), (c.fondo - 1200) / 5.0, 3);
            const std::vector<Parola> parole = parolePdf(pdf);
            ASSERT_GT(parole.size(), 100u);
            double ultima = 0;
            for (const Parola& p : parole) {
                EXPECT_GT(p.box.left(), r.left() + 2) << p.testo.toStdString();
                EXPECT_LT(p.box.right(), r.right() - 2) << p.testo.toStdString();
                EXPECT_GT(p.box.top(), r.top() + 2) << p.testo.toStdString();
                EXPECT_LT(p.box.bottom(), r.bottom() - 2) << p.testo.toStdString();
                if (p.testo == luna)
                    ultima = std::max(ultima, p.box.bottom());
            }
            // The Moon's row is the table's last.
            EXPECT_GT(ultima, r.bottom() - 400) << luna.toStdString();
        }
    }
    printer.setPageSize(prima);
}

TEST_F(LocalSky, TheFileMenuPrintReachesTheActiveChart)
{
    if (QProcess::execute(QStringLiteral("which"), {QStringLiteral("pdftotext")}) != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    // File > Print as the main window wires it (listings, then files) prints
    // the active local sky chart whatever control has the focus.
    listings::Collega_Elenchi(*main);
    files::Collega_File(*main);
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(f->parentWidget()));
    ASSERT_EQ(main->mdiArea()->activeSubWindow()->widget(), f);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("file_print.pdf");
    fakes.files.printerAnswers = {pdf};
    clic("mnuFileStampa");
    ASSERT_EQ(fakes.files.calls.size(), 1);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(testoPdf(pdf).contains("LOCAL SKY CHART"));
}

} // namespace

namespace {

using skytest::LocalSky;

// How dark a pixel is, 0 white to 1 black.
double scuro(const QImage& img, int x, int y)
{
    return (255 - qGray(img.pixel(x, y))) / 255.0;
}

// The page drawn on a picture at 96 dots per inch (15 twips a pixel, a pen
// of width w covers w pixels), on the morning of 26 November 2013 when the
// Sun and the Moon both stand above Rome's horizon.
TEST_F(LocalSky, PrintedSunHasEightRaysAndTheMoonItsPhaseWithThePenTheLayoutSays)
{
    Orologio(QDate(2013, 11, 26), QTime(10, 0, 0)); // 09:00 UT
    for (const char* v : {"mnuLocalSkyGriglia", "mnuLocalSkyOggettiCostellazioni", "mnuLocalSkyEtichetteCostellazioni",
                          "mnuLocalSkyOggettiPianeti", "mnuLocalSkyEtichetteSoleLuna"})
        main->menuItem(v)->setChecked(false);
    main->menuItem("mnuLocalSkyOggettiSoleLuna")->setChecked(true);
    QImage pagina(794, 1123, QImage::Format_RGB32);
    pagina.fill(Qt::white);
    {
        QPainter pittore(&pagina);
        platform::Canvas c(&pittore, QSizeF(pagina.size()), 96);
        maps::cielo::Disegna_Pagina(c, false, common::kSud, true, 1);
    }
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS"))
        pagina.save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_print_morning.png");

    // The Sun where PyEphem puts it: a disc of radius 132 twips (8.8 pixels)
    // with four rays across it, 1.5 r long on the axes and 1.2 r on the
    // diagonals, each 3 pixels wide; the disc covers their middle.
    const QStringList sole = rigaRiferimento("morning", "sole");
    ASSERT_GT(sole[4].toDouble(), 0);
    const QPointF s = sullaPagina(sole[5].toDouble(), sole[4].toDouble()) / 15;
    const double r = 132.0 / 15;
    auto spessore = [&](QPointF p, bool traverso) {
        double somma = 0;
        for (int k = -6; k <= 6; ++k)
            somma += traverso ? scuro(pagina, int(p.x()), int(std::lround(p.y())) + k)
                              : scuro(pagina, int(std::lround(p.x())) + k, int(p.y()));
        return somma;
    };
    for (const QPointF raggio : {QPointF(1.35 * r, 0), QPointF(-1.35 * r, 0)})
        EXPECT_NEAR(spessore(s + raggio, true), 3.0, 0.45) << raggio.x();
    for (const QPointF raggio : {QPointF(0, 1.35 * r), QPointF(0, -1.35 * r)})
        EXPECT_NEAR(spessore(s + raggio, false), 3.0, 0.45) << raggio.y();
    for (const QPointF raggio : {QPointF(1.1 * r, 1.1 * r), QPointF(-1.1 * r, 1.1 * r), QPointF(1.1 * r, -1.1 * r),
                                 QPointF(-1.1 * r, -1.1 * r)})
        EXPECT_GT(scuro(pagina, int(std::lround(s.x() + raggio.x())), int(std::lround(s.y() + raggio.y()))), 0.5);
    EXPECT_LT(scuro(pagina, int(std::lround(s.x() + 0.5 * r)), int(std::lround(s.y() + 0.3 * r))), 0.1);
    EXPECT_LT(scuro(pagina, int(std::lround(s.x() + 1.6 * r)), int(std::lround(s.y()))), 0.1); // the ray ends
    EXPECT_LT(scuro(pagina, int(std::lround(s.x() + 1.4 * r)), int(std::lround(s.y() + 0.6 * r))), 0.1);

    // The Moon: PyEphem's longitude of the Moon less the Sun's is 276.3
    // degrees, so the phase index is 360 - 276 = 84: a white disc with its
    // right half black and a black ellipse of 1 - 84 / 90 of its width, the
    // Moon lit on its left; the rim (radius 121 twips) about it.
    const QStringList luna = rigaRiferimento("morning", "luna");
    ASSERT_GT(luna[4].toDouble(), 0);
    ASSERT_NEAR(rigaRiferimento("moonelong", nullptr)[1].toDouble(), 276.3, 0.5);
    // PyEphem's Moon is topocentric: the drawn one is found about it, its
    // rim's box giving the centre.
    const QPointF atteso = sullaPagina(luna[5].toDouble(), luna[4].toDouble()) / 15;
    QRect bordo;
    for (int y = int(atteso.y()) - 20; y <= int(atteso.y()) + 20; ++y)
        for (int x = int(atteso.x()) - 20; x <= int(atteso.x()) + 20; ++x)
            if (scuro(pagina, x, y) > 0.5)
                bordo |= QRect(x, y, 1, 1);
    ASSERT_NEAR(bordo.width(), 2 * 121.0 / 15, 2.5);
    ASSERT_NEAR(bordo.height(), 2 * 121.0 / 15, 2.5);
    const QPointF m(bordo.left() + bordo.width() / 2.0, bordo.top() + bordo.height() / 2.0);
    EXPECT_NEAR(m.x(), atteso.x(), 6);
    EXPECT_NEAR(m.y(), atteso.y(), 6);
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS"))
        pagina.copy(bordo.adjusted(-4, -4, 4, 4)).scaled(bordo.size() * 12).save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/print_moon.png");
    const double rl = 110.0 / 15;
    auto a = [&](double dx, double dy) { return scuro(pagina, int(std::lround(m.x() + dx)), int(std::lround(m.y() + dy))); };
    EXPECT_LT(a(-0.6 * rl, 0), 0.2);
    EXPECT_LT(a(-0.6 * rl, -0.4 * rl), 0.2);
    EXPECT_GT(a(0.6 * rl, 0), 0.8);
    EXPECT_GT(a(0.6 * rl, 0.4 * rl), 0.8);
    EXPECT_LT(a(-1.5 * rl, 0), 0.2); // outside the rim (radius 121 twips, pen 2)
    double rim = 0;
    for (int k = -2; k <= 2; ++k)
        rim = std::max(rim, a(0, -121.0 / 15 + k));
    EXPECT_GT(rim, 0.5);
}

} // namespace
