// The drawing procedures of the world map: the satellites, the principal's
// footprint and ground track, the night shade and terminator, the grid, the
// Sun and the observer.
#include "maps/world_map_window.h"

#include "core/sky_instant.h"

#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "platform/busy_cursor.h"
#include "platform/vb.h"
#include "maps/world_map_icons.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>

using maps::Spuntata;
namespace mappa = maps::mappa;

namespace {

platform::VbColor colore(std::int32_t c)
{
    return platform::VbColor(c) & 0xFFFFFFu;
}

constexpr platform::VbColor kBianco = 0xFFFFFF;

// The height of the canvas font's letters above the line they stand on, in
// pixels, measured as Print measures (at the canvas's resolution).
double altezzaLettere(const platform::Canvas& c)
{
    QImage img(1, 1, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    return QFontMetricsF(c.font(), &img).ascent();
}

// The box that the letters of a grid label printed with its top left at
// (x, y) cover, in the canvas's pixels: its width and the letters' height
// (the labels' digits, degree signs and compass letters have nothing below
// the line).
QRectF scatolaTesto(const platform::Canvas& c, double x, double y, const QString& testo)
{
    return QRectF(c.toDevice({x, y}), QSizeF(c.xPixels(c.TextWidth(testo)), altezzaLettere(c)));
}

// The grid lines, of those at `primo` to `ultimo` every 30 degrees, whose
// labels are printed: all of them when each label, printed with its top left
// at `posto`(value), lies whole inside the map and clear of the others and of
// the boxes in `occupate`; on a map too small for that, those at the
// multiples of 60, 90 or 180 degrees, the first step at which it holds; none
// when not even one label fits. The boxes of the labels kept join `occupate`.
// A label begins with a blank, so labels clear of one another are a blank
// apart.
template <class Posto>
QSet<int> etichetteIntere(const platform::Canvas& c, int primo, int ultimo, bool longitudine, Posto posto,
                          QList<QRectF>& occupate)
{
    const QRectF mappa = QRectF(QPointF(0, 0), QSizeF(c.pixelSize())).adjusted(-0.01, -0.01, 0.01, 0.01);
    for (int passo : {30, 60, 90, 180}) {
        QList<QRectF> scelte;
        QSet<int> valori;
        bool stanno = true;
        for (int v = primo; v <= ultimo && stanno; v += 30) {
            if (v % passo != 0)
                continue;
            const QPointF p = posto(v);
            const QRectF r = scatolaTesto(c, p.x(), p.y(), mappa::Etichetta_Griglia(v, longitudine));
            auto tocca = [&r](const QRectF& altra) { return altra.intersects(r); };
            stanno = mappa.contains(r) && std::none_of(scelte.begin(), scelte.end(), tocca)
                     && std::none_of(occupate.begin(), occupate.end(), tocca);
            scelte.push_back(r);
            valori.insert(v);
        }
        if (stanno && !valori.isEmpty()) {
            occupate += scelte;
            return valori;
        }
    }
    return {};
}

} // namespace

// ---------------------------------------------------------------- satellites

void frmWorldMap::disegnaIcona(double x, double y, const QString& nome)
{
    platform::Canvas& c = box();
    const QImage& img = maps::Icona_Mappa(m_icona);
    const double dx = -0.29 * maps::Larghezza_HiMetric(img) * c.scaleWidth() / c.width();
    const double dy = -0.29 * maps::Altezza_HiMetric(img) * c.scaleHeight() / c.height();
    c.PaintPicture(img, x + dx, y + dy);
    c.setCurrentX(x - dx);
    c.setCurrentY(y - dy);
    // The name with its top left at the pen, as printing it there would.
    c.PaintPicture(immagineNome(nome), x - dx, y - dy);
}

const QImage& frmWorldMap::immagineNome(const QString& nomeLetto)
{
    // Drawn as Print would draw it: control characters as blanks.
    const QString nome = vb::displayable(nomeLetto);
    const platform::Canvas& c = box();
    const QString chiave = QString::number(c.foreColor()) + QLatin1Char('|') + c.font().key() + QLatin1Char('|') + nome;
    auto it = m_nomi.constFind(chiave);
    if (it != m_nomi.constEnd())
        return *it;
    if (m_nomi.size() > 1000)
        m_nomi.clear();
    // Measured and drawn on an image of the canvas's resolution.
    QImage img(1, 1, QImage::Format_ARGB32_Premultiplied);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    const QFontMetricsF fm(c.font(), &img);
    const int w = std::max(1, int(std::ceil(fm.horizontalAdvance(nome))));
    const int h = std::max(1, int(std::ceil(fm.height())));
    img = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(c.font());
        p.setPen(vb::toQColor(c.foreColor()));
        p.drawText(QPointF(0, fm.ascent()), nome);
    }
    return *m_nomi.insert(chiave, img);
}

void frmWorldMap::Disegna_satellite(int Index)
{
    if (Index < 1 || Index > 200)
        return; // the drawn-position table holds the working list's 200 slots
    m_icona = mappa::Icona_Satellite(QString::fromStdString(gudtSatelementi[size_t(Index)].NumeroCatalogo),
                                     Index, m_icona);
    platform::Canvas& c = box();
    if (Index == 1) {
        c.Cls();
        m_lotto.reset();
        m_lotto.emplace(c);
    }
    const Valori& v = gudtValori[size_t(Index)];
    const QString nome = QString::fromStdString(gudtSatelementi[size_t(Index)].Nome);
    if (Index == 1 && !m_inGenerazione) {
        // A clock that jumped (a new simulated time) takes the day and night
        // with it now, not at the next regeneration.
        const bool salto = m_istanteTick.isValid()
                           && std::abs(m_istanteTick.secsTo(gdatDataCorrente)) > 2;
        m_istanteTick = gdatDataCorrente;
        if (salto && m_istanteMappa != gdatDataCorrente) {
            Genera_mappa();
            c.Cls();
        }
    }
    if (ortho()) {
        if (Index == 1) {
            const mappa::Vista vista = mappa::Scegli_Vista(v.LatitudineMappa, v.Longitudine360);
            m_centroLon = vista.lon;
            m_centroLat = vista.lat;
            if (vista.file != m_picture1Tag)
                Genera_mappa();
        }
        // A satellite the clock could not compute this second has no place.
        if (v.Stato == StatoNessuno) {
            m_x[size_t(Index)] = 999;
            m_y[size_t(Index)] = 999;
            return;
        }
        double x = 0, y = 0;
        const bool visibile = mappa::Proiezione_ortografica(m_centroLon, m_centroLat, v.Longitudine360,
                                                            v.LatitudineMappa, x, y);
        c.setFillColor(colore(glngColoreSatellite));
        c.setForeColor(colore(glngColoreSatellite));
        if (visibile) {
            m_x[size_t(Index)] = x;
            m_y[size_t(Index)] = y;
            disegnaIcona(x, y, nome);
        } else {
            m_x[size_t(Index)] = 999;
            m_y[size_t(Index)] = 999;
        }
    } else if (recta()) {
        if (v.Stato == StatoNessuno)
            return;
        c.setFillColor(colore(glngColoreSatellite));
        c.setForeColor(colore(glngColoreSatellite));
        disegnaIcona(v.Longitudine, v.Latitudine, nome);
    }
}

void frmWorldMap::trattoBordo(double lon, double lat)
{
    platform::Canvas& c = box();
    std::array<mappa::Tratto, 2> pezzi;
    const int n = mappa::Tratti_Bordo(c.currentX(), c.currentY(), lon, lat, pezzi);
    for (int k = 0; k < n; ++k)
        c.Line(pezzi[size_t(k)].x1, pezzi[size_t(k)].y1, pezzi[size_t(k)].x2, pezzi[size_t(k)].y2);
}

void frmWorldMap::Disegna_visibilita()
{
    const Valori& v = gudtValori[1];
    double ca = 0;
    if (v.Stato == StatoNessuno || !mappa::Angolo_Impronta(v.DistanzaGeocentrica, ca))
        return;
    const double latS = v.Latitudine * mappa::kGradiRadianti;
    const double lonS = v.Longitudine * mappa::kGradiRadianti;
    platform::Canvas& c = box();
    platform::Canvas::Batch lotto(c);
    c.setForeColor(colore(glngColoreSatellite));
    auto azimut = [](int k) { return 2 * 3.14159265 * k / 180; };
    if (recta()) {
        const mappa::Punto p0 = mappa::Bordo_Impronta(ca, latS, lonS, 0);
        c.setCurrentX(p0.lon);
        c.setCurrentY(p0.lat);
        for (int k = 0; k <= 180; ++k) {
            const mappa::Punto p = mappa::Bordo_Impronta(ca, latS, lonS, azimut(k));
            trattoBordo(p.lon, p.lat);
        }
    } else if (ortho()) {
        bool prima = false;
        double x = 0, y = 0;
        for (int k = 0; k <= 180; ++k) {
            const mappa::Punto p = mappa::Bordo_Impronta(ca, latS, lonS, azimut(k));
            const bool vis = mappa::Proiezione_ortografica(m_centroLon, m_centroLat, p.lon, p.lat, x, y);
            if (vis != prima) {
                c.setCurrentX(x);
                c.setCurrentY(y);
            }
            if (vis)
                c.LineTo(x, y);
            prima = vis;
        }
    }
}

void frmWorldMap::Disegna_orbita()
{
    if (core::WorkingList::instance().isEmpty())
        return;
    Picture1->repaint();
    platform::BusyCursor attesa;

    // The principal's places along its orbit, computed into values of the
    // track's own: slot 1 keeps the program clock's.
    const Satelement elementi = gudtSatelementi[1];
    astro::ModelloSatellite modello;
    Valori v;
    auto calcola = [&](double t) { return core::Calcola_Satellite(elementi, t, v, &modello); };
    platform::Canvas& c = box();
    const double jd = gdblGiornoGiuliano;
    const double s = gudtValori[1].Periodo / 270;
    const double t0 = jd - (s / 60) * 270 / 1440;
    if (!(s > 0) || !calcola(t0))
        return;
    const platform::VbColor c1 = colore(glngColoreOrbita1);
    const platform::VbColor c2 = colore(glngColoreOrbita2);
    if (recta()) {
        c.setCurrentX(v.Longitudine);
        c.setCurrentY(v.Latitudine);
        for (int k = 0; k <= 540; ++k) {
            const double t = t0 + (s / 60) * k / 1440;
            if (!calcola(t))
                continue;
            c.setForeColor(k < 271 ? c1 : c2);
            trattoBordo(v.Longitudine, v.Latitudine);
        }
    } else if (ortho()) {
        double x = 0, y = 0;
        mappa::Proiezione_ortografica(m_centroLon, m_centroLat, v.Longitudine360, v.LatitudineMappa, x, y);
        c.setCurrentX(x);
        c.setCurrentY(y);
        bool prima = false;
        for (int k = 0; k <= 540; ++k) {
            const double t = t0 + (s / 60) * k / 1440;
            if (!calcola(t))
                continue;
            c.setForeColor(k < 271 ? c1 : c2);
            const bool vis =
                mappa::Proiezione_ortografica(m_centroLon, m_centroLat, v.Longitudine360, v.LatitudineMappa, x, y);
            if (vis != prima) {
                c.setCurrentX(x);
                c.setCurrentY(y);
            }
            if (vis)
                c.LineTo(x, y);
            prima = vis;
        }
    }
}

// ---------------------------------------------------------------- overlays

void frmWorldMap::Disegna_ombra()
{
    constexpr platform::VbColor kOmbra = 105 + 256 * 105 + 65536 * 105;
    constexpr platform::VbColor kTerminatore = 65 + 256 * 65 + 65536 * 65;
    // A light edge on either side of the terminator keeps it seen over the
    // dark ocean as well as over the land.
    constexpr platform::VbColor kBordoTerminatore = 190 + 256 * 190 + 65536 * 190;
    const double a = mappa::Angolo_Orario(gdblTempoSideraleGreenwich, gdblAscensioneSole);
    const double H = mappa::Angolo_Terminatore(a);
    const double d = gdblDeclinazioneSole == 0 ? 0.5 : gdblDeclinazioneSole;
    platform::Canvas& c = box();
    c.setFillColor(kBianco);
    c.setForeColor(kBianco);
    if (!recta() && !ortho())
        return;
    if (Spuntata("mnuWorldmapOmbra"))
        c.PaintPicture(veloNotte(H, d, kOmbra), c.scaleLeft(), c.scaleTop(), c.scaleWidth(), c.scaleHeight());

    const mappa::Tabella_Terminatore t = mappa::Terminatore(H, d);
    c.setDrawStyle(platform::Canvas::Solid);
    for (const auto& [larghezza, colore] : {std::pair{3, kBordoTerminatore}, std::pair{1, kTerminatore}}) {
        c.setDrawWidth(larghezza);
        if (recta()) {
            for (int k = 0; k < 720; ++k)
                c.Line(t[size_t(k)].lon, t[size_t(k)].lat, t[size_t(k + 1)].lon, t[size_t(k + 1)].lat, colore);
        } else {
            double x = 0, y = 0;
            bool prima = false;
            for (int k = 0; k <= 720; ++k) {
                const bool vis =
                    mappa::Proiezione_ortografica(m_centroLon, m_centroLat, t[size_t(k)].lon, t[size_t(k)].lat, x, y);
                if (vis != prima) {
                    c.setCurrentX(x);
                    c.setCurrentY(y);
                }
                if (vis)
                    c.LineTo(x, y, colore);
                prima = vis;
            }
        }
    }
    c.setDrawWidth(1);
    c.setDrawStyle(platform::Canvas::Solid);
}

QImage frmWorldMap::veloNotte(double H, double d, platform::VbColor colore) const
{
    // Every pixel of the box whose place lies on the night side takes the
    // shade colour at one opacity, so the night is even at any size and the
    // land stays readable under it; off the Earth nothing is veiled.
    const platform::Canvas& c = Picture1->canvas();
    const QSize n = c.pixelSize();
    QImage velo(n, QImage::Format_ARGB32_Premultiplied);
    velo.fill(Qt::transparent);
    const QColor qc = vb::toQColor(colore);
    const int alfa = maps::kOpacitaNotte;
    const QRgb notte = qRgba(qc.red() * alfa / 255, qc.green() * alfa / 255, qc.blue() * alfa / 255, alfa);
    const double ux = c.scaleWidth() / n.width(), uy = c.scaleHeight() / n.height();
    if (recta()) {
        const double dd = d >= 0 ? 1 : -1;
        for (int px = 0; px < n.width(); ++px) {
            const double lon = c.scaleLeft() + (px + 0.5) * ux;
            if (std::abs(lon) > 180)
                continue;
            const double t = mappa::Latitudine_Terminatore(H, d, lon);
            for (int py = 0; py < n.height(); ++py) {
                const double lat = c.scaleTop() + (py + 0.5) * uy;
                if (std::abs(lat) <= 90 && dd * (lat - t) < 0)
                    reinterpret_cast<QRgb*>(velo.scanLine(py))[px] = notte;
            }
        }
        return velo;
    }
    // On the globe: the night is the half of the Earth more than 90 degrees
    // from the point (-H, d) the terminator is drawn about. With the view's
    // centre C and its east and north directions E and N, the place under
    // (u, v) (in globe radii) is w C + u E + v N, w = sqrt(1 - u^2 - v^2).
    const double g = mappa::kGradiRadianti;
    const double f0 = double(m_centroLat) * g, l0 = double(m_centroLon) * g;
    const double fs = (d == 0 ? 0.5 : d) * g, ls = -H * g;
    const double s[3] = {std::cos(fs) * std::cos(ls), std::cos(fs) * std::sin(ls), std::sin(fs)};
    const double C[3] = {std::cos(f0) * std::cos(l0), std::cos(f0) * std::sin(l0), std::sin(f0)};
    const double E[3] = {-std::sin(l0), std::cos(l0), 0};
    const double N[3] = {-std::sin(f0) * std::cos(l0), -std::sin(f0) * std::sin(l0), std::cos(f0)};
    auto punto = [&](const double* v) { return v[0] * s[0] + v[1] * s[1] + v[2] * s[2]; };
    const double sc = punto(C), se = punto(E), sn = punto(N);
    for (int py = 0; py < n.height(); ++py) {
        QRgb* riga = reinterpret_cast<QRgb*>(velo.scanLine(py));
        const double v = (c.scaleTop() + (py + 0.5) * uy) / mappa::kRaggioGlobo;
        for (int px = 0; px < n.width(); ++px) {
            const double u = (c.scaleLeft() + (px + 0.5) * ux) / mappa::kRaggioGlobo;
            const double r2 = u * u + v * v;
            if (r2 > 1)
                continue;
            if (std::sqrt(1 - r2) * sc + u * se + v * sn < 0)
                riga[px] = notte;
        }
    }
    return velo;
}

void frmWorldMap::Disegna_griglia()
{
    platform::Canvas& c = box();
    const platform::VbColor griglia = colore(glngColoreGrigliaMappamondo);
    c.setForeColor(griglia);
    if (recta()) {
        // The meridians' labels along the bottom, 5 degrees above the edge
        // (at the top when the Sun is north of the equator), and the
        // parallels' at the left edge; each whole and apart from the others
        // on a map of any size in pixels: on a map whose 5 degrees are
        // shorter than the letters the bottom labels stand on the edge (their
        // line as high above it as the font's descent), and one too small for
        // them all labels fewer lines.
        const double ySotto = c.yPixels(5) >= altezzaLettere(c) ? -85.0 : -90.0 + c.TextHeight();
        const double yMeridiani = gdblDeclinazioneSole <= 0 ? ySotto : 89;
        QList<QRectF> occupate;
        const QSet<int> meridiani =
            etichetteIntere(c, -150, 150, true, [&](int lon) { return QPointF(lon, yMeridiani); }, occupate);
        const QSet<int> paralleli =
            etichetteIntere(c, -60, 60, false, [](int lat) { return QPointF(-180, lat); }, occupate);
        for (int lon = -150; lon <= 150; lon += 30) {
            c.Line(lon, 90, lon, -90);
            if (!meridiani.contains(lon))
                continue;
            c.setCurrentX(lon);
            c.setCurrentY(yMeridiani);
            c.Print(mappa::Etichetta_Griglia(lon, true));
        }
        for (int lat = -60; lat <= 60; lat += 30) {
            c.Line(-180, lat, 180, lat);
            if (!paralleli.contains(lat))
                continue;
            c.setCurrentX(-180);
            c.setCurrentY(lat);
            c.Print(mappa::Etichetta_Griglia(lat, false));
        }
        c.setForeColor(kBianco);
    } else if (ortho()) {
        const double lat0 = m_centroLat;
        const double phi0 = lat0 * mappa::kGradiRadianti;
        for (int lat = -60; lat <= 60; lat += 30) {
            if (!(lat <= lat0 + 90 && (lat0 <= 0 || lat >= lat0 - 90)))
                continue;
            const double phi = lat * mappa::kGradiRadianti;
            const double lh = mappa::Semiampiezza_Parallelo(lat, lat0);
            mappa::PuntoGriglia prec = mappa::Punto_Griglia(phi, lh * mappa::kGradiRadianti, phi0);
            const int passi = int(std::floor((-lh - (lh + 5)) / 5 + 1e-9));
            for (int k = 0; k <= passi; ++k) {
                const double lam = lh + 5 + 5.0 * k;
                const mappa::PuntoGriglia p = mappa::Punto_Griglia(phi, lam * mappa::kGradiRadianti, phi0);
                if (p.d >= 0)
                    c.Line(prec.x, prec.y, p.x, p.y);
                prec = p;
            }
        }
        const double inizio = phi0 >= 0 ? 90 : -90;
        const double passo = phi0 >= 0 ? -5 : 5;
        for (int m = -180; m <= 165; m += 30) {
            const double lam = m * mappa::kGradiRadianti;
            mappa::PuntoGriglia prec = mappa::Punto_Griglia(inizio * mappa::kGradiRadianti, lam, phi0);
            for (int k = 0; k <= 36; ++k) {
                const double lat = inizio + passo * k;
                const mappa::PuntoGriglia p = mappa::Punto_Griglia(lat * mappa::kGradiRadianti, lam, phi0);
                if (p.d < 0)
                    break;
                c.Line(prec.x, prec.y, p.x, p.y);
                prec = p;
            }
        }
    }
}

void frmWorldMap::Disegna_sole()
{
    const double a = mappa::Angolo_Orario(gdblTempoSideraleGreenwich, gdblAscensioneSole);
    const double L = mappa::Longitudine_Subsolare(a);
    const double d = gdblDeclinazioneSole;
    if (!Spuntata("mnuWorldmapSole"))
        return;
    double x = L, y = d;
    if (ortho()) {
        if (!mappa::Proiezione_ortografica(m_centroLon, m_centroLat, L, d, x, y))
            return;
    } else if (!recta()) {
        return;
    }
    platform::Canvas& c = box();
    const QImage& img = maps::Simbolo_Sole();
    const double dx = -(c.scaleWidth() * 0.29) / (c.width() / maps::Larghezza_HiMetric(img));
    const double dy = -(c.scaleHeight() * 0.29) / (c.height() / maps::Altezza_HiMetric(img));
    c.PaintPicture(img, x + dx, y + dy);
}

void frmWorldMap::Disegna_localita()
{
    platform::Canvas& c = box();
    double x = gsngLongitudine, y = gsngLatitudine;
    bool visibile = true;
    if (ortho())
        visibile = mappa::Proiezione_ortografica(m_centroLon, m_centroLat, gsngLongitudine, gsngLatitudine, x, y);
    else if (!recta())
        return;
    const platform::VbColor col = colore(glngColoreNomeCitta);
    c.setFillColor(col);
    c.setForeColor(col);
    if (!visibile)
        return;
    c.setFillStyle(platform::Canvas::FillSolid);
    c.Circle(x, y, recta() ? 0.5 : 1.0);
    c.setCurrentX(x);
    c.setCurrentY(y);
    if (Spuntata("mnuWorldmapNomeCitta"))
        c.Print(vb::displayable(gstrLocalita));
}
