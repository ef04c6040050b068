// The pass map as the user drives it: annotations with the mouse, the view
// menu on the active map of several, the printed observation sheet.
#include "pass_map_fixture.h"

#include "shell/main_window.h"
#include "core/working_list.h"
#include "passes/pass_window.h"
#include "sky/magnitude_dialog.h"
#include "common/window_links.h"
#include "platform/file_chooser.h"
#include "support/pass_filters.h"
#include "support/pdf_page.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QPageLayout>
#include <QPageSize>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

namespace {

using skysattest::PassMap;

// A press d units beside track point i, across the track.
void premi(frmSkySat& m, int i, double d)
{
    const auto& t = m.puntiTraccia();
    const PuntoPassaggio& p = t[i];
    const double dx = t[i + 1].X - t[i - 1].X, dy = t[i + 1].Y - t[i - 1].Y;
    const double l = std::hypot(dx, dy);
    m.Picture1_MouseDown(1, 0, p.X - d * dy / l, p.Y + d * dx / l);
}

// A drag with the left button, as the user makes it on the chart, from track
// point i to chart point (x, y).
void trascina(frmSkySat& m, int i, double x, double y)
{
    platform::CanvasWidget* c = m.Picture1();
    const auto pixel = [c](double cx, double cy) {
        return (c->canvas().toDevice({cx, cy}) / c->devicePixelRatioF()).toPoint();
    };
    const PuntoPassaggio& p = m.puntiTraccia()[size_t(i)];
    QTest::mousePress(c, Qt::LeftButton, {}, pixel(p.X, p.Y));
    QTest::mouseMove(c, pixel((p.X + x) / 2, (p.Y + y) / 2));
    QTest::mouseRelease(c, Qt::LeftButton, {}, pixel(x, y));
}

// A command chosen with the mouse from the main window's menu bar: a click
// on the title of `menu`, then on each item of the way (a submenu, an item).
void scegli(MDIForm1& w, const char* menu, std::initializer_list<const char*> voci)
{
    QMenuBar* barra = w.menuBar();
    QMenu* aperto = w.menu(QString::fromLatin1(menu));
    ASSERT_NE(aperto, nullptr);
    QTest::mouseClick(barra, Qt::LeftButton, {}, barra->actionGeometry(aperto->menuAction()).center());
    for (const char* nome : voci) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return aperto->isVisible(); }, 5000)) << nome;
        QMenu* sotto = w.menu(QString::fromLatin1(nome));
        QAction* a = sotto ? sotto->menuAction() : w.menuItem(QString::fromLatin1(nome));
        ASSERT_NE(a, nullptr) << nome;
        QTest::mouseClick(aperto, Qt::LeftButton, {}, aperto->actionGeometry(a).center());
        if (sotto)
            aperto = sotto;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activePopupWidget(); }, 5000));
}

// Text of a PDF page (poppler's pdftotext, layout kept).
QString testoPdf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void salvaSeRichiesto(QWidget& w, const char* nome)
{
    const QByteArray cartella = qgetenv("ASTROVELA_SHOTS");
    if (!cartella.isEmpty())
        w.grab().save(QString::fromLocal8Bit(cartella) + QLatin1Char('/') + QLatin1String(nome));
}

TEST_F(PassMap, AnnotationsPinTimeToTrackPoints)
{
    auto m = mappa();
    salvaSeRichiesto(*m, "passmap.png");
    const int n = static_cast<int>(m->puntiTraccia().size()) - 1;
    ASSERT_GE(n, 10);
    const int i = 6;
    const PuntoPassaggio& p = m->puntiTraccia()[i];

    // Four units away picks nothing: a drag and a release leave no annotation.
    premi(*m, i, 4.0);
    m->Picture1_MouseMove(1, 0, p.X + 20, p.Y + 20);
    m->Picture1_MouseUp(1, 0, p.X + 20, p.Y + 20);
    EXPECT_EQ(m->etichette().size(), 1u);

    // Three units away picks it; dragged upwards, the text sits 5 above.
    premi(*m, i, 3.0);
    m->Picture1_MouseMove(1, 0, p.X + 10, p.Y + 10);
    m->Picture1_MouseUp(1, 0, p.X + 20, p.Y + 25);
    ASSERT_EQ(m->etichette().size(), 2u);
    const EtichettaAltazimutale e = m->etichette()[1];
    EXPECT_EQ(e.Punto, i);
    EXPECT_NEAR(e.AltezzaPunto, p.Altezza, 0.05);
    EXPECT_NEAR(std::remainder(e.AzimuthPunto - p.Azimuth, 360.0), 0, 0.1);
    // The dropped end as a sky position: 25 units higher on the chart is
    // about 25 degrees nearer the zenith in the linear projection.
    EXPECT_NEAR(90 - e.AltezzaTesto, std::hypot(p.X + 20.0, p.Y + 25.0), 0.01);
    // The point is in the Earth's shadow: the time alone.
    EXPECT_EQ(m->Testo_Etichetta(i), vb::Format(p.Tempo, u"hh:mm:ss"));
    const platform::Canvas& c = m->Picture1()->canvas();
    const double mx = p.X + 10, my = p.Y + 12.5;
    EXPECT_EQ(c.Point(mx, my), 0xFFFFFF);

    // A change of projection keeps the annotation at its sky position.
    m->impmnuSkySatProiezStereo = true;
    m->impmnuSkySatProiezNormale = false;
    m->Genera_mappa(false);
    ASSERT_EQ(m->etichette().size(), 2u);
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    m->Mappatura(e.AzimuthPunto, e.AltezzaPunto, x1, y1);
    m->Mappatura(e.AzimuthTesto, e.AltezzaTesto, x2, y2);
    EXPECT_EQ(c.Point((x1 + x2) / 2, (y1 + y2) / 2), 0xFFFFFF);
    // Redrawing anew drops it.
    m->Genera_mappa(true);
    EXPECT_EQ(m->etichette().size(), 1u);
    EXPECT_NE(c.Point((x1 + x2) / 2, (y1 + y2) / 2), 0xFFFFFF);
}

TEST_F(PassMap, ViewMenuActsOnTheActiveMapOnly)
{
    MDIForm1 w;
    passes::Collega_Mappa_Passaggio(w);
    w.resize(1200, 820);
    w.show();
    auto apri = [&](const char* catalogo) {
        metti(skysattest::set(catalogo));
        gudtRigheAttive[kSlotScratch] = {}; // only the parsed elements, as from the working list
        auto* m = new frmSkySat;
        // Times as the date reader gives them: in the computer's zone.
        auto zona = [](const QDateTime& d) { return QDateTime(d.date(), d.time(), Qt::LocalTime); };
        m->gvarTempoInizio = zona(skysattest::locale(ref.alzata));
        m->gvarTempoCulmine = zona(skysattest::locale(ref.culmine));
        m->gvarTempoFine = zona(skysattest::locale(ref.tramonto));
        m->gvarTempoMappa = zona(skysattest::locale(ref.culmine));
        m->Mostra();
        QApplication::processEvents();
        return m;
    };
    frmSkySat* a = apri("00005");
    frmSkySat* b = apri("25544");
    salvaSeRichiesto(w, "mainwindow.png");
    ASSERT_TRUE(w.menu("mnuSkySat")->menuAction()->isVisible());
    ASSERT_GE(b->puntiTraccia().size(), 20u);
    EXPECT_EQ(b->puntiTraccia()[1].Tempo, QDateTime(QDate(2013, 11, 26), QTime(23, 59, 30), Qt::UTC));
    // b is active: its grid goes off, a keeps its own.
    ASSERT_EQ(w.mdiArea()->activeSubWindow()->widget(), b);
    ASSERT_TRUE(w.menuItem("mnuSkySatGriglia")->isChecked());
    w.menuItem("mnuSkySatGriglia")->trigger();
    EXPECT_FALSE(b->impmnuSkySatGriglia);
    EXPECT_TRUE(a->impmnuSkySatGriglia);

    // Orientation: exactly one flag; a change drops b's annotations. The
    // note is dragged with the mouse from a track point, the orientation
    // chosen with the mouse from the menu bar.
    trascina(*b, 3, 10, 10);
    ASSERT_EQ(b->etichette().size(), 2u);
    scegli(w, "mnuSkySat", {"mnuSkySatOrientamento", "mnuSkySatOrientamentoNord"});
    EXPECT_TRUE(b->impmnuSkySatOrientamentoNord);
    EXPECT_EQ(b->impmnuSkySatOrientamentoSud + b->impmnuSkySatOrientamentoEst + b->impmnuSkySatOrientamentoOvest, 0);
    EXPECT_EQ(b->etichette().size(), 1u);
    EXPECT_TRUE(a->impmnuSkySatOrientamentoSud);
    // The orientation already checked changes nothing: the map is not
    // drawn again and the user's note stays.
    trascina(*b, 3, 10, 10);
    ASSERT_EQ(b->etichette().size(), 2u);
    const QImage conNota = b->Picture1()->canvas().image();
    scegli(w, "mnuSkySat", {"mnuSkySatOrientamento", "mnuSkySatOrientamentoNord"});
    EXPECT_TRUE(b->impmnuSkySatOrientamentoNord);
    EXPECT_EQ(b->impmnuSkySatOrientamentoSud + b->impmnuSkySatOrientamentoEst + b->impmnuSkySatOrientamentoOvest, 0);
    EXPECT_TRUE(w.menuItem("mnuSkySatOrientamentoNord")->isChecked());
    EXPECT_FALSE(w.menuItem("mnuSkySatOrientamentoSud")->isChecked());
    EXPECT_EQ(b->etichette().size(), 2u);
    EXPECT_TRUE(b->Picture1()->canvas().image() == conNota) << "the map was drawn again";

    // The projection already checked changes nothing; the other switches.
    w.menuItem("mnuSkySatProiezNormale")->trigger();
    EXPECT_TRUE(b->impmnuSkySatProiezNormale);
    w.menuItem("mnuSkySatProiezStereo")->trigger();
    EXPECT_TRUE(b->impmnuSkySatProiezStereo);
    EXPECT_FALSE(b->impmnuSkySatProiezNormale);
    EXPECT_FALSE(a->impmnuSkySatProiezStereo);

    // a active again: the checks show a's options.
    w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a->parentWidget()));
    EXPECT_TRUE(w.menuItem("mnuSkySatGriglia")->isChecked());
    EXPECT_FALSE(w.menuItem("mnuSkySatProiezStereo")->isChecked());

    // A right click on b shows the menu with b's checks.
    bool visto = false;
    QTimer::singleShot(100, [&] {
        if (QWidget* p = QApplication::activePopupWidget()) {
            visto = p == w.menu("mnuSkySat");
            p->close();
        }
    });
    b->Picture1_MouseDown(2, 0, 0, 0);
    EXPECT_TRUE(visto);
    EXPECT_FALSE(w.menuItem("mnuSkySatGriglia")->isChecked());
    EXPECT_TRUE(w.menuItem("mnuSkySatProiezStereo")->isChecked());
    EXPECT_TRUE(w.menuItem("mnuSkySatOrientamentoNord")->isChecked());
    EXPECT_FALSE(w.menuItem("mnuSkySatOrientamentoSud")->isChecked());

    // File > Print on the active map prints its sheet; Close closes it.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("a.pdf"));
    fakes.files.printerAnswers = {pdf};
    w.menuItem("mnuFileStampa")->trigger();
    EXPECT_TRUE(QFile::exists(pdf));
    // The designator comes from the parsed elements when the text is missing.
    EXPECT_TRUE(testoPdf(pdf).simplified().contains(QStringLiteral("Norad # : 00005 ID # : 58002B")));
    w.menuItem("mnuSkySatChiudi")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.mdiArea()->subWindowList().size(), 1);
    w.mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(PassMap, LimitingMagnitudeFromTheMenuActsOnItsMapOnly)
{
    MDIForm1 w;
    passes::Collega_Mappa_Passaggio(w);
    sky::Collega_Cielo_Generale(w);
    w.resize(1200, 820);
    w.show();
    auto apri = [&](const char* catalogo) {
        metti(skysattest::set(catalogo));
        auto* m = new frmSkySat;
        m->gvarTempoInizio = skysattest::locale(ref.alzata);
        m->gvarTempoCulmine = skysattest::locale(ref.culmine);
        m->gvarTempoFine = skysattest::locale(ref.tramonto);
        m->gvarTempoMappa = skysattest::locale(ref.culmine);
        m->Mostra();
        QApplication::processEvents();
        return m;
    };
    frmSkySat* a = apri("00005");
    frmSkySat* b = apri("25544");
    ASSERT_EQ(w.mdiArea()->activeSubWindow()->widget(), b);
    premi(*b, 4, 0.5);
    b->Picture1_MouseUp(1, 0, 30, 30);
    ASSERT_EQ(b->etichette().size(), 2u);

    // Runs the menu command and acts on the dialog it opens.
    auto dialogo = [&](const std::function<void(frmMagnitude&)>& azione) {
        bool visto = false;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<frmMagnitude*>(QApplication::activeModalWidget())) {
                visto = true;
                azione(*d);
            }
        });
        w.menuItem("mnuSkySatMagnitudine")->trigger();
        EXPECT_TRUE(visto);
    };

    // A count none of the twelve: nothing preselected; OK changes nothing.
    b->gintNumStelle = 1000;
    b->Genera_mappa(false);
    const QImage prima = b->Picture1()->canvas().image();
    dialogo([](frmMagnitude& d) {
        EXPECT_EQ(d.cmbMagnitudine->currentIndex(), -1);
        EXPECT_EQ(d.lblNumeroStelle->text(), "1000");
        d.cmdOK_Click();
    });
    EXPECT_EQ(b->gintNumStelle, 1000);
    EXPECT_EQ(b->Picture1()->canvas().image(), prima);

    // A limit chosen: that map only, redrawn with its annotation; no setting.
    dialogo([](frmMagnitude& d) {
        d.cmbMagnitudine->setCurrentIndex(10); // mag. 2.0
        d.cmbMagnitudine_Click();
        EXPECT_EQ(d.lblNumeroStelle->text(), "50");
        d.cmdOK_Click();
    });
    EXPECT_EQ(b->gintNumStelle, 50);
    EXPECT_NE(b->Picture1()->canvas().image(), prima);
    EXPECT_EQ(b->etichette().size(), 2u);
    EXPECT_EQ(a->gintNumStelle, 1639);
    EXPECT_EQ(gintAnteprimaStelle, 1639);

    // Opened again it preselects that map's count; Cancel keeps it.
    dialogo([](frmMagnitude& d) {
        EXPECT_EQ(d.cmbMagnitudine->currentText(), "mag. 2.0");
        d.cmbMagnitudine->setCurrentIndex(0);
        d.cmbMagnitudine_Click();
        d.cmdCancel_Click();
    });
    EXPECT_EQ(b->gintNumStelle, 50);
    w.mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A listing of another satellite leaves its elements and element lines in
// the scratch slot; a pass of the ISS chosen in the prediction window's
// working-list tab is then charted and printed: the sheet names the ISS and
// its own designator, and so does a map given the pass as a record.
TEST_F(PassMap, SheetNamesItsOwnSatelliteWhateverTheScratchSlotHolds)
{
    struct Riordino { // the prediction window, its map opener and the list go afterwards
        ~Riordino()
        {
            delete frmVisibleSatellites::instance(false);
            frmVisibleSatellites::setApriMappa({});
            core::WorkingList::instance().Rimuovi_Tutti();
        }
    } riordino;
    MDIForm1 main;
    passes::Collega_Previsioni(main);
    core::WorkingList::instance().setFile(QString());
    core::WorkingList::instance().Rimuovi_Tutti();
    ASSERT_EQ(core::WorkingList::instance().Aggiungi(skysattest::set("25544")).esito,
              core::WorkingList::Esito::Aggiunto);
    metti(skysattest::set("28057")); // CBERS 2, 03049A
    testsupport::Filtri_Aperti();
    frmVisibleSatellites* f = frmVisibleSatellites::instance();
    f->DTPicker1[1]->setDateTime(skysattest::locale(ref.alzata.addSecs(-600)));
    f->cmbDurata[1]->setCurrentIndex(0);
    f->cmdOK_Click(1);
    ASSERT_GE(f->lstPass[1]->count(), 3);
    f->show();
    f->SSTab1->setCurrentIndex(1);
    f->lstPass[1]->setCurrentRow(0);
    f->cmdMappa_Click(1);
    QApplication::sendPostedEvents();
    frmSkySat* m = main.findChild<frmSkySat*>();
    ASSERT_NE(m, nullptr);
    QTemporaryDir dir;
    auto foglio = [&](frmSkySat& mappa, const char* nome) {
        const QString pdf = dir.filePath(QLatin1String(nome));
        fakes.files.printerAnswers = {pdf};
        mappa.Stampa();
        return testoPdf(pdf).simplified();
    };
    const QString t = foglio(*m, "lista.pdf");
    EXPECT_TRUE(t.contains(QStringLiteral("Norad # : 25544 ID # : 98067A"))) << t.toStdString();

    // Given as a record, the map keeps its own element lines.
    core::RecordPassaggio pass;
    pass.righe = skysattest::set("25544");
    ASSERT_EQ(Estrai_Dati_Satellite(kSlotScratch, pass.righe.Riga0, pass.righe.Riga1, pass.righe.Riga2),
              core::ErroreElementi::Nessuno);
    pass.elementi = gudtSatelementi[kSlotScratch];
    pass.numero = QStringLiteral("25544");
    pass.jdSorgere = 2456623.0 + (ref.alzata.toSecsSinceEpoch() - QDateTime(QDate(2013, 11, 26), QTime(12, 0), Qt::UTC).toSecsSinceEpoch()) / 86400.0;
    pass.jdCulmine = pass.jdSorgere + ref.alzata.secsTo(ref.culmine) / 86400.0;
    pass.jdTramonto = pass.jdSorgere + ref.alzata.secsTo(ref.tramonto) / 86400.0;
    metti(skysattest::set("28057"));
    frmSkySat r;
    r.setAttribute(Qt::WA_DeleteOnClose, false);
    r.Apri(pass, pass.jdCulmine);
    EXPECT_EQ(r.gvarTempoInizio, skysattest::locale(ref.alzata));
    EXPECT_EQ(r.gvarTempoMappa, skysattest::locale(ref.culmine));
    r.Form_Load();
    r.resize(442, 458);
    r.show();
    QApplication::sendPostedEvents();
    EXPECT_GT(r.puntiTraccia().size(), 20u); // 30 s steps over ten minutes
    const QString u = foglio(r, "record.pdf");
    EXPECT_TRUE(u.contains(QStringLiteral("Norad # : 25544 ID # : 98067A"))) << u.toStdString();
    EXPECT_EQ(gudtRigheAttive[kSlotScratch].Riga1.substr(2, 5), "28057");
}

TEST_F(PassMap, PrintedSheet)
{
    auto m = mappa();
    // One annotation on the sheet too.
    premi(*m, 4, 0.5);
    m->Picture1_MouseUp(1, 0, -30, -40);
    QTemporaryDir dir;

    // Cancel: nothing printed, nothing said.
    fakes.files.printerAnswers = {std::nullopt};
    m->Stampa();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(fakes.prompt.texts().isEmpty());

    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    fakes.files.printerAnswers = {pdf};
    m->Stampa();
    ASSERT_TRUE(QFile::exists(pdf));
    // Blanks as pdftotext lays them out depend on the font found for
    // Courier New; the words and their order do not.
    const QString t = testoPdf(pdf).simplified();
    EXPECT_TRUE(t.contains(QStringLiteral("Satellite : ") + QString::fromStdString(m->satellite().Nome))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("Norad # : 25544 ID # : 98067A")));
    // Epoch 13330.58127943: 26 Nov 2013, 0.58127943 day = 50222.5 s = 13:57:03.
    EXPECT_TRUE(t.contains(QStringLiteral("Elements of : 26 Nov 2013 - 13:57:03 UTC")));
    EXPECT_TRUE(t.contains(QStringLiteral("Location : Italy: Milano")));
    EXPECT_TRUE(t.contains(QStringLiteral("Coordinates : Lat. 45.464\u00B0 Lon. 9.190\u00B0")));
    // Every label of the language file fits its 13 characters whole.
    EXPECT_TRUE(t.contains(QStringLiteral("Standard mag.: ")));
    EXPECT_TRUE(t.contains(QStringLiteral("Start : 26/11/2013 23:59:28")));
    EXPECT_TRUE(t.contains(QStringLiteral("Map time : 27 Nov 2013 00:04:41")));
    // The chart: azimuth labels, the annotation's time.
    EXPECT_TRUE(t.contains(QStringLiteral("330\u00B0")));
    EXPECT_TRUE(t.contains(m->Testo_Etichetta(m->etichette()[1].Punto)));
    EXPECT_TRUE(fakes.prompt.texts().isEmpty());
    // After printing the program clock's quantities describe it again.
    const double jd = gdblGiornoGiuliano;
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    EXPECT_EQ(gdblGiornoGiuliano, jd);

    // Landscape chosen in the printer's properties: the sheet is still laid
    // out upright on its A4 page, the pass lines and the notes whole, the
    // page the same as the one printed before; Landscape is not kept for
    // the next sheet.
    QPrinter& printer = platform::applicationPrinter();
    printer.setPageOrientation(QPageLayout::Landscape);
    const QString traverso = dir.filePath(QStringLiteral("landscape.pdf"));
    fakes.files.printerAnswers = {traverso};
    m->Stampa();
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    const QString u = testoPdf(traverso).simplified();
    for (const char* riga : {"Start : 26/11/2013 23:59:28", "Culmination : 27/11/2013 00:04:41",
                             "End : 27/11/2013 00:09:56",
                             "Observation notes (sky conditions, instrument, observed magnitude, remarks):"})
        EXPECT_TRUE(u.contains(QLatin1String(riga))) << riga << "\n" << u.toStdString();
    const QImage dritta = testsupport::Pagina_Pdf(pdf);
    const QImage pagina = testsupport::Pagina_Pdf(traverso);
    ASSERT_FALSE(dritta.isNull());
    EXPECT_LT(pagina.width(), pagina.height());
    EXPECT_EQ(pagina.size(), dritta.size());
    EXPECT_TRUE(pagina == dritta);

    // Under Italian number settings every figure of the sheet has the
    // decimal comma, the standard magnitude too.
    ASSERT_FALSE(m->satellite().MagnitudineStandard.empty());
    vb::setDisplayLocale(QLocale(QLocale::Italian, QLocale::Italy));
    const QString italiano = dir.filePath(QStringLiteral("virgola.pdf"));
    fakes.files.printerAnswers = {italiano};
    m->Stampa();
    vb::setDisplayLocale(QLocale::c());
    const QString v = testoPdf(italiano).simplified();
    EXPECT_TRUE(v.contains(QStringLiteral("Lat. 45,464\u00B0 Lon. 9,190\u00B0"))) << v.toStdString();
    const QString mag = QStringLiteral("Standard mag.: ") +
                        QString::fromStdString(m->satellite().MagnitudineStandard).replace(u'.', u',');
    EXPECT_TRUE(v.contains(mag)) << mag.toStdString() << "\n" << v.toStdString();

    if (!qgetenv("ASTROVELA_SHOTS").isEmpty())
    {
        const QString copia = QString::fromLocal8Bit(qgetenv("ASTROVELA_SHOTS")) + QStringLiteral("/sheet.pdf");
        QFile::remove(copia);
        QFile::copy(pdf, copia);
    }
}

} // namespace

namespace {

using skysattest::PassMapSunlit;

bool scuro(const QImage& img, int x, int y)
{
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && qGray(img.pixel(x, y)) < 128;
}

// Rows below `da` holding a dark run at least `lunghezza` pixels long.
std::vector<int> righeLunghe(const QImage& img, int da, int lunghezza)
{
    std::vector<int> righe;
    for (int y = da; y < img.height(); ++y) {
        int run = 0, migliore = 0;
        for (int x = 0; x < img.width(); ++x) {
            run = scuro(img, x, y) ? run + 1 : 0;
            migliore = std::max(migliore, run);
        }
        if (migliore >= lunghezza && (righe.empty() || y > righe.back() + 3))
            righe.push_back(y);
    }
    return righe;
}

TEST_F(PassMapSunlit, SheetOnA4AndLetterWithTheSunlitTrackThick)
{
    auto m = mappa();
    m->impmnuSkySatGriglia = false;
    m->impmnuSkySatOggettiCostellazioni = false;
    m->impmnuSkySatEtichetteCostellazioni = false;
    m->impmnuSkySatOggettiPianeti = false;
    m->impmnuSkySatOggettiSoleLuna = false;
    m->gintNumStelle = 0;
    const auto& p = m->puntiTraccia();
    ASSERT_GE(p.size(), 20u);
    QTemporaryDir dir;
    QPrinter& printer = platform::applicationPrinter();
    const QPageSize prima = printer.pageLayout().pageSize();

    struct Foglio { QImage img; int sinistra = -1, alto = -1, fondo = -1; std::vector<int> righe; };
    auto stampa = [&](const QPageSize& carta, const char* nome) {
        printer.setPageSize(carta);
        const QString pdf = dir.filePath(QLatin1String(nome));
        fakes.files.printerAnswers = {pdf};
        m->Stampa();
        Foglio f;
        f.img = testsupport::Pagina_Pdf(pdf);
        EXPECT_FALSE(f.img.isNull()) << nome;
        // The frame: its top line 9504 twips (1900 pixels) long, its left side.
        const std::vector<int> tutte = righeLunghe(f.img, 0, 1800);
        if (tutte.size() < 3)
            return f;
        f.alto = tutte.front();
        for (int x = 0; x < f.img.width() && f.sinistra < 0; ++x)
            if (scuro(f.img, x, f.alto + 20) && scuro(f.img, x, f.alto + 400))
                f.sinistra = x;
        // Below the divider (8600 twips under the top line): the frame's
        // bottom and the ruled lines for notes.
        f.righe = righeLunghe(f.img, f.alto + 8600 / 5 + 10, 1000);
        for (int y : righeLunghe(f.img, f.alto + 8600 / 5 + 10, 1800))
            f.fondo = y;
        return f;
    };
    const Foglio a4 = stampa(QPageSize(QPageSize::A4), "a4.pdf");
    const Foglio letter = stampa(QPageSize(QPageSize::Letter), "letter.pdf");
    // Other sizes of 8.5 x 11 inches are Letter paper too: the frame is
    // chosen by the page's size, not by its name.
    const Foglio piccola = stampa(QPageSize(QPageSize::LetterSmall), "lettersmall.pdf");
    const Foglio propria = stampa(QPageSize(QSizeF(215.9, 279.4), QPageSize::Millimeter, QStringLiteral("Mine")),
                                  "custom.pdf");
    printer.setPageSize(prima);
    for (const Foglio* f : {&piccola, &propria}) {
        ASSERT_GE(f->alto, 0);
        EXPECT_NEAR(f->fondo - f->alto, (14600 - 1200) / 5, 2);
        EXPECT_EQ(f->righe.size(), 1u);
    }
    if (!qEnvironmentVariableIsEmpty("ASTROVELA_SHOTS"))
        for (const char* f : {"a4.pdf", "letter.pdf"}) {
            const QString copia = qEnvironmentVariable("ASTROVELA_SHOTS") + QStringLiteral("/sheet_") + QLatin1String(f);
            QFile::remove(copia);
            QFile::copy(dir.filePath(QLatin1String(f)), copia);
        }
    ASSERT_GE(a4.alto, 0);
    ASSERT_GE(letter.alto, 0);
    // Frame bottoms at 15636 and 14600 twips; three ruled lines on A4 only.
    EXPECT_NEAR(a4.fondo - a4.alto, (15636 - 1200) / 5, 2);
    EXPECT_NEAR(letter.fondo - letter.alto, (14600 - 1200) / 5, 2);
    EXPECT_EQ(a4.righe.size(), 4u);
    EXPECT_EQ(letter.righe.size(), 1u);
    EXPECT_TRUE(testoPdf(dir.filePath(QStringLiteral("letter.pdf"))).simplified().contains(
        QStringLiteral("Norad # : 25544 ID # : 98067A")));

    // In Italian the notes' heading is longer than the frame is wide: it is
    // broken into lines, nothing is printed right of the frame.
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/italiano.ini"));
    const Foglio it = stampa(QPageSize(QPageSize::A4), "it.pdf");
    printer.setPageSize(prima);
    ASSERT_GE(it.sinistra, 0);
    const int destra = it.sinistra + (10704 - 1200) / 5;
    int fuori = 0;
    for (int y = it.alto; y < it.fondo; ++y)
        for (int x = destra + 4; x < it.img.width(); ++x)
            fuori += scuro(it.img, x, y);
    EXPECT_EQ(fuori, 0);
    EXPECT_EQ(it.righe.size(), 4u);
    const QString note = mLang::Testo_Lingua(QStringLiteral("frmSkySat"), QStringLiteral("noteosservative"));
    EXPECT_TRUE(testoPdf(dir.filePath(QStringLiteral("it.pdf"))).simplified().contains(note.simplified()));

    // The track: sunlit segments drawn 6 dots wide, eclipsed ones 2.
    ASSERT_GE(a4.sinistra, 0);
    auto spessore = [&](const PuntoPassaggio& a, const PuntoPassaggio& b) {
        const double xa = 5952 + 44.0 * a.X, ya = 5500 - 44.0 * a.Y;
        const double xb = 5952 + 44.0 * b.X, yb = 5500 - 44.0 * b.Y;
        const double cx = a4.sinistra + ((xa + xb) / 2 - 1200) / 5, cy = a4.alto + ((ya + yb) / 2 - 1200) / 5;
        const double l = std::hypot(xb - xa, yb - ya);
        const double nx = -(yb - ya) / l, ny = (xb - xa) / l;
        int n = 0;
        for (double t = -12; t <= 12; t += 0.25)
            n += scuro(a4.img, int(std::lround(cx + t * nx)), int(std::lround(cy + t * ny)));
        return n / 4.0; // pixels across
    };
    std::vector<double> luce, ombra;
    for (std::size_t i = 2; i + 2 < p.size(); ++i)
        (p[i].Magnitudine.isEmpty() ? ombra : luce).push_back(spessore(p[i], p[i + 1]));
    ASSERT_GE(luce.size(), 3u);
    ASSERT_GE(ombra.size(), 3u);
    std::sort(luce.begin(), luce.end());
    std::sort(ombra.begin(), ombra.end());
    const double mediaLuce = luce[luce.size() / 2], mediaOmbra = ombra[ombra.size() / 2];
    EXPECT_GE(mediaLuce, 4.5) << mediaOmbra;
    EXPECT_LE(mediaOmbra, 3.5) << mediaLuce;
    EXPECT_GE(mediaLuce, 1.6 * mediaOmbra);
}

} // namespace
