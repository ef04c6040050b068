// The world map window: opening from the Earth menu, the layers drawn where
// the geography puts them (the ISS track against Skyfield, the observer and
// the footprint against plain spherical geometry), the grid's labels whole
// and apart on a small map at any pixel density, the view changes, the
// pointer, the placement.
#include "world_map_fixture.h"

#include "core/mreg.h"

#include <QDir>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>

#include <cmath>

namespace {

using wmtest::WorldMap;
constexpr double kRad = M_PI / 180.0;

void salva(const QImage& img, const char* nome)
{
    const QByteArray dir = qgetenv("ASTROVELA_SHOT_DIR");
    if (!dir.isEmpty())
        img.save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(nome)));
}

// Whether a pixel of exactly this colour lies within `r` pixels of (px, py).
bool coloreVicino(const QImage& img, double px, double py, QRgb colore, int r = 2)
{
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int x = int(std::lround(px)) + dx;
            const int y = int(std::lround(py)) + dy;
            if (img.valid(x, y) && (img.pixel(x, y) & 0xFFFFFF) == (colore & 0xFFFFFF))
                return true;
        }
    return false;
}

// Where a place falls on the rectangular map of W x H pixels.
QPointF pixelRecta(const QSize& s, double lon, double lat)
{
    return {(lon + 180) / 360 * s.width(), (90 - lat) / 180 * s.height()};
}

// Where a place falls on the globe: the view's shorter side spans 360 map
// units, the globe has a radius of 142 about the box's centre.
bool pixelOrtho(const QSize& s, double lon0, double lat0, double lon, double lat, QPointF& out)
{
    const double p[3] = {std::cos(lat * kRad) * std::cos(lon * kRad), std::cos(lat * kRad) * std::sin(lon * kRad),
                         std::sin(lat * kRad)};
    const double fuori = std::cos(lat0 * kRad) * std::cos(lon0 * kRad) * p[0]
                         + std::cos(lat0 * kRad) * std::sin(lon0 * kRad) * p[1] + std::sin(lat0 * kRad) * p[2];
    const double x = 142 * (-std::sin(lon0 * kRad) * p[0] + std::cos(lon0 * kRad) * p[1]);
    const double y = 142 * (-std::sin(lat0 * kRad) * std::cos(lon0 * kRad) * p[0]
                            - std::sin(lat0 * kRad) * std::sin(lon0 * kRad) * p[1] + std::cos(lat0 * kRad) * p[2]);
    const double unita = std::min(s.width(), s.height()) / 360.0;
    out = {s.width() / 2.0 + x * unita, s.height() / 2.0 - y * unita};
    return fuori > 0.02;
}

struct PuntoIss {
    double jd, lon, lat;
};

std::vector<PuntoIss> tracciaIss()
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_world_map.csv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<PuntoIss> out;
    for (const QByteArray& riga : f.readAll().split('\n')) {
        const QList<QByteArray> c = riga.trimmed().split(',');
        if (c.size() == 5 && c[0] == "iss")
            out.push_back({c[1].toDouble(), c[2].toDouble(), c[3].toDouble()});
    }
    return out;
}

constexpr QRgb kRosso = 0xFF0000;   // Orbita1 255
constexpr QRgb kVerde = 0x00FF00;   // Orbita2 65280
constexpr QRgb kMagenta = 0xFF00FF; // the observer's colour in these tests

TEST_F(WorldMap, RectangularMapPutsTrackObserverAndFootprintWhereTheyBelong)
{
    glngColoreNomeCitta = 0xFF00FF;
    voce("mnuWorldmapGriglia")->setChecked(false);
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Tag(), "Recta");
    EXPECT_EQ(core::clockViews().worldMap, w);
    EXPECT_EQ(w->Picture1Tag(), "\\MapEarth.dat");
    EXPECT_EQ(w->windowTitle(), "World map - rectangular");
    EXPECT_EQ(w->fraSatellitePrincipale->lblLongitude->text(), "60.60°W");
    salva(main->grab().toImage(), "world_map_recta.png");

    const QImage fondo = w->Picture1->canvas().persistentImage();
    const QSize s = fondo.size();
    // The ground track: one period either side of the clock, red up to it
    // and green after it, along Skyfield's sub-points.
    const double adesso = 2456623.0833333;
    int controllati = 0;
    for (const PuntoIss& p : tracciaIss()) {
        const double minuti = (p.jd - adesso) * 1440;
        if (std::fabs(minuti) < 2 || std::fabs(minuti) > 91 || std::fabs(p.lon) > 176)
            continue;
        const QPointF px = pixelRecta(s, p.lon, p.lat);
        EXPECT_TRUE(coloreVicino(fondo, px.x(), px.y(), minuti < 0 ? kRosso : kVerde))
            << minuti << " min: " << p.lon << "," << p.lat;
        ++controllati;
    }
    EXPECT_GT(controllati, 150);
    // The observer in Milan.
    const QPointF milano = pixelRecta(s, 9.19, 45.4642);
    EXPECT_TRUE(coloreVicino(fondo, milano.x(), milano.y(), kMagenta, 1));

    // The footprint on the live layer: due north and due south of the
    // sub-point by the Earth angle of the ISS's distance.
    const QImage vivo = w->Picture1->canvas().image();
    const Valori& v = gudtValori[1];
    const double c = std::acos(6378.135 / std::floor(v.DistanzaGeocentrica)) / kRad;
    for (double verso : {1.0, -1.0}) {
        const QPointF e = pixelRecta(s, v.Longitudine, v.Latitudine + verso * c);
        EXPECT_TRUE(coloreVicino(vivo, e.x(), e.y(), 0xFFFF00)) << verso;
    }
    // The live layer goes with the next clearing; the map stays.
    w->Picture1->canvas().Cls();
    EXPECT_EQ(w->Picture1->canvas().image(), fondo);
}

TEST_F(WorldMap, APrincipalWithABlankNameLineOpensTheMapWithItsTrack)
{
    // The ISS as principal with its name line blank, as a list file may hold
    // it: the list is not empty, so the map opens without asking for an
    // element file and shows the ISS's figures and ground track.
    core::WorkingList& l = core::WorkingList::instance();
    RigaDati iss = gudtRigheAttive[1];
    iss.Riga0 = std::string(24, ' ');
    l.Rimuovi(1);
    ASSERT_EQ(l.Aggiungi(iss).esito, core::WorkingList::Esito::Aggiunto);
    l.Rendi_Principale(l.count());
    ASSERT_TRUE(gudtSatelementi[1].Nome.empty());
    core::CentralClock::instance().Aggiorna();

    voce("mnuWorldmapGriglia")->setChecked(false);
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(fakes.files.calls.isEmpty());
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_EQ(w->fraSatellitePrincipale->lblLongitude->text(), "60.60°W");
    const QImage fondo = w->Picture1->canvas().persistentImage();
    int tracciati = 0;
    for (const PuntoIss& p : tracciaIss()) {
        const double minuti = (p.jd - 2456623.0833333) * 1440;
        if (std::fabs(minuti) < 2 || std::fabs(minuti) > 91 || std::fabs(p.lon) > 176)
            continue;
        const QPointF px = pixelRecta(fondo.size(), p.lon, p.lat);
        tracciati += coloreVicino(fondo, px.x(), px.y(), minuti < 0 ? kRosso : kVerde);
    }
    EXPECT_GT(tracciati, 150);
}

TEST_F(WorldMap, GlobeFollowsThePrincipalAndDrawsOnlyItsSeenSide)
{
    glngColoreNomeCitta = 0xFF00FF;
    voce("mnuWorldmapOmbra")->setChecked(false);
    voce("mnuWorldmapTerminatore")->setChecked(false);
    frmWorldMap* w = apri("mnuTerraMappaOrtografica");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "World map - orthographic");
    // The ISS at 60.6 W 14.4 S: the view of longitude 270 on the equator.
    EXPECT_EQ(w->Picture1Tag(), "\\Map270.dat");
    EXPECT_EQ(w->centroLon(), 270);
    EXPECT_EQ(w->centroLat(), 0);
    salva(main->grab().toImage(), "world_map_ortho.png");

    const QImage fondo = w->Picture1->canvas().persistentImage();
    const QSize s = fondo.size();
    const double adesso = 2456623.0833333;
    int controllati = 0;
    for (const PuntoIss& p : tracciaIss()) {
        const double minuti = (p.jd - adesso) * 1440;
        QPointF px;
        if (std::fabs(minuti) < 2 || !pixelOrtho(s, 270, 0, p.lon, p.lat, px))
            continue;
        EXPECT_TRUE(coloreVicino(fondo, px.x(), px.y(), minuti < 0 ? kRosso : kVerde)) << minuti;
        ++controllati;
    }
    EXPECT_GT(controllati, 40);
    // Milan lies beyond the limb of this view: no mark and no name.
    QPointF milano;
    EXPECT_FALSE(pixelOrtho(s, 270, 0, 9.19, 45.46, milano));
    int magenta = 0;
    for (int y = 0; y < fondo.height(); ++y)
        for (int x = 0; x < fondo.width(); ++x)
            magenta += (fondo.pixel(x, y) & 0xFFFFFF) == kMagenta ? 1 : 0;
    EXPECT_EQ(magenta, 0);

    // Satellites behind the globe are marked 999; the ISS is where it is seen.
    QPointF iss;
    ASSERT_TRUE(pixelOrtho(s, 270, 0, gudtValori[1].Longitudine, gudtValori[1].Latitudine, iss));
    const QPointF disegnata = w->posizioneDisegnata(1);
    double x = 0, y = 0;
    ASSERT_TRUE(maps::mappa::Proiezione_ortografica(270, 0, gudtValori[1].Longitudine360,
                                                     gudtValori[1].LatitudineMappa, x, y));
    EXPECT_NEAR(disegnata.x(), x, 1e-9);
    int dietro = 0;
    for (int i = 2; i <= gintNumSatelliti; ++i) {
        double xi = 0, yi = 0;
        const bool visto = maps::mappa::Proiezione_ortografica(270, 0, gudtValori[size_t(i)].Longitudine360,
                                                                gudtValori[size_t(i)].LatitudineMappa, xi, yi);
        if (!visto) {
            EXPECT_EQ(w->posizioneDisegnata(i), QPointF(999, 999)) << i;
            ++dietro;
        }
    }
    EXPECT_GT(dietro, 0);

    // Move the principal over Europe: the next tick changes the view first.
    core::CentralClock::instance().Avvia_Simulazione(core::Data_Orologio(QDate(2013, 11, 26), QTime(14, 25, 0)));
    core::CentralClock::instance().tmrCentrale_Timer();
    const maps::mappa::Vista attesa =
        maps::mappa::Scegli_Vista(gudtValori[1].LatitudineMappa, gudtValori[1].Longitudine360);
    EXPECT_NE(attesa.file, "\\Map270.dat");
    EXPECT_EQ(w->Picture1Tag(), attesa.file);
    EXPECT_EQ(w->centroLon(), attesa.lon);
}

TEST_F(WorldMap, PointerPicksSatellitesAndReadsCoordinates)
{
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    voce("mnuWorldmapCoordinateMouse")->setChecked(true);
    voce("mnuWorldmapDatiSatellite")->setChecked(true);
    const Valori v2 = gudtValori[2];
    w->Picture1_MouseMove(0, 0, v2.Longitudine + 1, v2.Latitudine + 1);
    EXPECT_GE(w->mintSelezione(), 2);
    const int scelto = w->mintSelezione();
    EXPECT_TRUE(w->Picture1->toolTip().startsWith(
        QStringLiteral("Norad# ") + QString::fromStdString(gudtSatelementi[size_t(scelto)].NumeroCatalogo) + " Lat. "));
    EXPECT_TRUE(w->Picture1->toolTip().contains(" Height ")) << w->Picture1->toolTip().toStdString();
    EXPECT_TRUE(w->windowTitle().startsWith("World map - rectangular - Lon. ")) << w->windowTitle().toStdString();

    // Two satellites on one spot: the later slot is the one picked.
    gudtValori[3].Longitudine = v2.Longitudine;
    gudtValori[3].Latitudine = v2.Latitudine;
    w->Picture1_MouseMove(0, 0, v2.Longitudine, v2.Latitudine);
    EXPECT_GE(w->mintSelezione(), 3);

    // Without the data item the tooltip stays empty, the pick is kept.
    voce("mnuWorldmapDatiSatellite")->setChecked(false);
    w->Picture1_MouseMove(0, 0, v2.Longitudine, v2.Latitudine);
    EXPECT_TRUE(w->Picture1->toolTip().isEmpty());
    EXPECT_GE(w->mintSelezione(), 3);

    // Releasing the button over it makes it the principal.
    const int s = w->mintSelezione();
    const std::string nome = gudtSatelementi[size_t(s)].Nome;
    const std::string vecchio = gudtSatelementi[1].Nome;
    w->Picture1_MouseUp(1, 0, v2.Longitudine, v2.Latitudine);
    EXPECT_EQ(gudtSatelementi[1].Nome, nome);
    EXPECT_EQ(gudtSatelementi[size_t(s)].Nome, vecchio);
    EXPECT_EQ(main->panel(2)->text(), QString::fromStdString(nome));
    EXPECT_TRUE(gudtSatelementi[kSlotScratch].Nome.empty());

    // Far from every satellite nothing is picked and a release does nothing.
    w->Picture1_MouseMove(0, 0, 179.9, -89.9);
    EXPECT_EQ(w->mintSelezione(), 0);
    w->Picture1_MouseUp(1, 0, 179.9, -89.9);
    EXPECT_EQ(gudtSatelementi[1].Nome, nome);

    // On the globe the reading stops outside the globe.
    voce("mnuTerraMappaOrtografica")->trigger();
    w->Picture1_MouseMove(0, 0, 0, 0);
    const QString titolo = w->windowTitle();
    EXPECT_TRUE(titolo.startsWith("World map - orthographic - Lon. ")) << titolo.toStdString();
    w->Picture1_MouseMove(0, 0, 150, 150);
    EXPECT_EQ(w->windowTitle(), titolo);
}

// Where two images differ in a band of rows, column by column, the columns
// in `salta` counting neither as ink nor as gap: the rows and columns the
// ink spans, the widest gap inside it, and its stretches without a gap of
// `varco` columns (how many, and the widest, the skipped columns left out).
struct Inchiostro {
    int primaRiga = -1, ultimaRiga = -1, primaColonna = -1, ultimaColonna = -1;
    int varcoMassimo = 0, tratti = 0, trattoMassimo = 0;
};

Inchiostro inchiostro(const QImage& con, const QImage& senza, int riga0, int riga1, int varco,
                      const std::vector<bool>& salta = {})
{
    Inchiostro b;
    int inizio = -1, ultimo = -1, vuote = 0, colonna = 0;
    auto chiudi = [&] {
        if (inizio >= 0)
            ++b.tratti, b.trattoMassimo = std::max(b.trattoMassimo, ultimo - inizio + 1);
    };
    for (int x = 0; x < con.width(); ++x) {
        if (size_t(x) < salta.size() && salta[size_t(x)])
            continue;
        bool c = false;
        for (int y = riga0; y <= riga1; ++y)
            if (con.pixel(x, y) != senza.pixel(x, y)) {
                c = true;
                b.primaRiga = b.primaRiga < 0 ? y : std::min(b.primaRiga, y);
                b.ultimaRiga = std::max(b.ultimaRiga, y);
            }
        if (c) {
            if (b.primaColonna >= 0)
                b.varcoMassimo = std::max(b.varcoMassimo, vuote);
            else
                b.primaColonna = x;
            b.ultimaColonna = x;
            if (inizio >= 0 && vuote >= varco)
                chiudi(), inizio = -1;
            inizio = inizio < 0 ? colonna : inizio;
            ultimo = colonna;
            vuote = 0;
        } else {
            ++vuote;
        }
        ++colonna;
    }
    chiudi();
    return b;
}

// The ink of `testo` drawn alone by Qt in `font` at `dpr` device pixels to a pixel.
Inchiostro inchiostroDi(const QString& testo, const QFont& font, double dpr)
{
    const QFontMetricsF fm(font);
    QImage vuota(int(std::ceil((fm.horizontalAdvance(testo) + 4) * dpr)), int(std::ceil((fm.height() + 4) * dpr)),
                 QImage::Format_RGB32);
    vuota.setDotsPerMeterX(3780);
    vuota.setDotsPerMeterY(3780);
    vuota.setDevicePixelRatio(dpr);
    vuota.fill(Qt::black);
    QImage img = vuota;
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QPointF(2, 2 + fm.ascent()), testo);
    p.end();
    return inchiostro(img, vuota, 0, img.height() - 1, img.width());
}

TEST_F(WorldMap, GridLabelsAreWholeAndApartOnASmallMapAtAnyPixelDensity)
{
    // The map box of the world map tiled beside the local sky and the
    // whole-sky chart on a 3200 x 2000 screen at twice the density: about
    // 400 x 200 pixels, where a degree is about a pixel and the labels'
    // text is taller than 5 degrees and wider than 30.
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(voce("mnuWorldmapGriglia")->isChecked());
    w->cornice()->resize(533, 700);
    ASSERT_GE(w->Picture1->width(), 380);
    ASSERT_LE(w->Picture1->width(), 420);
    platform::Canvas& c = w->Picture1->canvas();
    const double declinazione = gdblDeclinazioneSole;
    for (double dpr : {2.0, 1.5, 1.0}) {
        // The labels' ink as Qt draws each text alone, at this density.
        int alto = 0, largo = 0, varco = 0;
        for (int lon = -150; lon <= 150; lon += 30) {
            const Inchiostro t = inchiostroDi(maps::mappa::Etichetta_Griglia(lon, true), c.font(), dpr);
            alto = std::max(alto, t.ultimaRiga - t.primaRiga + 1);
            largo = std::max(largo, t.ultimaColonna - t.primaColonna + 1);
            varco = std::max(varco, t.varcoMassimo);
        }
        const double spazio = QFontMetricsF(c.font()).horizontalAdvance(QLatin1Char(' ')) * dpr;
        ASSERT_LT(varco + 1, spazio) << dpr; // a blank is wider than any gap inside a label
        // The meridians' columns, which the labels' ink may cross.
        const int W = int(std::lround(w->Picture1->width() * dpr));
        std::vector<bool> meridiani(size_t(W), false);
        for (int lon = -150; lon <= 150; lon += 30) {
            const int x = int(std::floor((lon + 180) / 360.0 * W));
            for (int k = std::max(0, x - 1); k <= std::min(W - 1, x + int(std::ceil(dpr))); ++k)
                meridiani[size_t(k)] = true;
        }
        // Along the bottom (the Sun south of the equator, as at the tests'
        // instant), and along the top with the Sun north of it.
        for (double d : {declinazione, 20.0}) {
            gdblDeclinazioneSole = d;
            c.setDevicePixelRatio(dpr);
            w->Genera_mappa();
            const QImage con = c.persistentImage();
            voce("mnuWorldmapGriglia")->setChecked(false);
            w->Genera_mappa();
            const QImage senza = c.persistentImage();
            voce("mnuWorldmapGriglia")->setChecked(true);
            ASSERT_EQ(con.width(), W);
            const int H = con.height();
            const bool sotto = d <= 0;
            // The rows beyond 76 degrees of latitude: the labels' and no parallel's.
            const int riga76 = int(std::ceil(14 / 180.0 * H));
            const Inchiostro b = inchiostro(con, senza, sotto ? H - riga76 : 0, sotto ? H - 1 : riga76, varco + 1,
                                            meridiani);
            SCOPED_TRACE(testing::Message() << "dpr " << dpr << (sotto ? ", bottom" : ", top"));
            // Labels there at all, whole: as tall as the text alone, clear of the map's edges.
            EXPECT_GE(b.tratti, 3);
            EXPECT_GE(b.ultimaRiga - b.primaRiga + 1, alto - 1);
            EXPECT_GT(b.primaRiga, 0);
            EXPECT_LT(b.ultimaRiga, H - 1);
            EXPECT_GT(b.primaColonna, 0);
            EXPECT_LT(b.ultimaColonna, W - 1);
            // Apart: no stretch of ink wider than one label's.
            EXPECT_LE(b.trattoMassimo, largo + 1);
        }
    }
    gdblDeclinazioneSole = declinazione;
}

TEST_F(WorldMap, PlacementIsSavedOnClosingAndRestoredWhenAsked)
{
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    QMdiSubWindow* sub = w->cornice();
    ASSERT_NE(sub, nullptr);
    // The default size in twips; the map box fills the window less the data box.
    EXPECT_EQ(sub->size(), QSize(711, 458));
    EXPECT_EQ(w->Picture1->x(), 1);
    EXPECT_EQ(w->Picture1->width(), w->width() - 1 - 129);
    sub->setGeometry(30, 40, 600, 400);
    frmWorldMap::Unload();
    EXPECT_EQ(core::clockViews().worldMap, nullptr);
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Mappamondo", "Window_Left", "?"), " 450");
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Mappamondo", "Window_Width", "?"), " 9000");

    // A minimised window keeps the saved placement.
    gblnPosizioniFinestre = true;
    w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->cornice()->geometry(), QRect(30, 40, 600, 400));
    w->cornice()->showMinimized();
    frmWorldMap::Unload();
    EXPECT_EQ(mReg::Leggi_Impostazione("Astrovela", "Mappamondo", "Window_Top", "?"), " 600");

    // Without the data box the map takes the whole window.
    gblnMappaRiquadroDati = false;
    w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Picture1->width(), w->width() - 1);
    EXPECT_FALSE(w->fraSatellitePrincipale->isVisible());
}

} // namespace

TEST_F(WorldMap, ANameWithANulByteOrBidirectionalControlsIsDrawnWithBlanks)
{
    // A name as a file may hold it: a NUL byte, a right-to-left override and
    // an isolate. The label beside the satellite is the same as that of the
    // name with blanks in their places (no box, nothing drawn reversed).
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    const auto disegno = [&](const std::string& nome) {
        gudtSatelementi[1].Nome = nome;
        core::CentralClock::instance().Aggiorna();
        return w->Picture1->canvas().image();
    };
    const QImage piano = disegno("Iss Zarya X  Ab ");
    EXPECT_EQ(disegno("Iss Zarya X  Ab "), piano);   // the same instant
    const std::string letto = std::string("Iss\xE2\x80\xAEZarya X") + '\0' + "\xE2\x81\xA7" + "Ab\xE2\x81\xA9";
    EXPECT_TRUE(disegno(letto) == piano);
    EXPECT_FALSE(disegno("Iss Zarya X  Ba ") == piano);   // the label is drawn at all
}
