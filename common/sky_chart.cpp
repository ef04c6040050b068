#include "common/sky_chart.h"

#include "astro/mate.h"
#include "astro/vector_state.h"
#include "common/moon_phase.h"
#include "common/window_helpers.h"
#include "core/data_files.h"
#include "core/mlang.h"
#include "platform/canvas.h"
#include "platform/vb.h"

#include <QPageSize>
#include <QPrinter>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace common {

namespace {

using vb::RGB;
constexpr double kPi = 3.14159265;
constexpr double kRad = 0.0174532925;
constexpr double kGradi = 57.295779513;
constexpr std::uint32_t kBianco = RGB(255, 255, 255);
constexpr std::uint32_t kNero = RGB(0, 0, 0);
constexpr std::uint32_t kOrizzonte = RGB(140, 140, 140);
constexpr std::uint32_t kEtichettaCorpo = RGB(180, 180, 180);

const char* const kSequenza[12] = {"N", " 30°", " 60°", "E", "120°", "150°",
                                   "S", "210°", "240°", "W", "300°", "330°"};
const float kPosizioni[12][2] = {{95, 2},    {78, 52},   {45, 86},  {-2, 98},  {-56, 85}, {-89, 53},
                                 {-100, 2}, {-92, -45}, {-59, -78}, {-2, -92}, {45, -78}, {78, -45}};

QString Nome_Corpo(const mAstro::CorpoCeleste& b)
{
    return mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(b.Nome));
}

// The Moon's phase figure of index a, without its outline (nothing outside 0..359).
void Figura_Luna(platform::Canvas& c, double x, double y, double r, int a, double rapporto)
{
    if (a < 0 || a >= 360)
        return;
    const common::FiguraFase f = common::Figura_Fase(a);
    c.setFillColor(f.disco);
    c.Circle(x, y, r, f.disco, std::nullopt, std::nullopt, rapporto);
    // A half disc: a filled pie whose radii lie on the vertical diameter.
    c.setFillColor(f.mezzoDisco);
    if (f.mezzoDestro)
        c.Circle(x, y, r, f.mezzoDisco, -(3 * kPi / 2), -(kPi / 2), rapporto);
    else
        c.Circle(x, y, r, f.mezzoDisco, -(kPi / 2), -(3 * kPi / 2), rapporto);
    if (f.k != 0) {
        c.setFillColor(f.ellisse);
        c.Circle(x, y, r, f.ellisse, std::nullopt, std::nullopt, rapporto / f.k);
    }
}

// Calls f(x, y, name) for each constellation name at or above the horizon
// (a name on the horizon counts) at its chart place.
template <typename F>
void Per_Nome_Costellazione(const core::CieloIstante& cielo, const OpzioniCielo& o, F f)
{
    for (std::size_t i = 1; i < gudtNomiCostellazioni.size(); ++i) {
        const NomeCostellazione& n = gudtNomiCostellazioni[i];
        double az = 0, alt = 0;
        cielo.Orizzontali(n.AscensioneRetta, n.Declinazione, az, alt);
        if (alt >= 0) {
            float x = 0, y = 0;
            Mappatura(o.orientamento, o.stereografica, az, alt, x, y);
            f(x, y, n);
        }
    }
}

} // namespace

// ---------------------------------------------------------------- geometry

Finestra Finestra_Da_Aspetto(double aspetto)
{
    Finestra f;
    if (!(aspetto > 0) || !std::isfinite(aspetto))
        aspetto = 1;
    if (aspetto < 1) {
        f.sx = -100;
        f.dx = 100;
        f.sy = float(100 / aspetto);
        f.dy = float(-100 / aspetto);
    } else {
        f.sx = float(-100 * aspetto);
        f.dx = float(100 * aspetto);
        f.sy = 100;
        f.dy = -100;
    }
    return f;
}

void Mappatura(int k, bool stereo, double azimuth, double altitude, float& x, float& y)
{
    double nx, ny;
    if (stereo) {
        const double a = mMate::Modulus(90.0 * k + azimuth, 360) * kRad;
        const double h = altitude * kRad;
        const double t = kPi / 4 - h / 2;
        const double r = 90 * std::sin(t) / std::cos(t);
        nx = r * std::sin(2 * kPi - a);
        ny = r * std::cos(2 * kPi - a);
    } else {
        const double a = mMate::Modulus(90.0 * k + azimuth + 90, 360) * kRad;
        nx = (90 - altitude) * std::cos(a);
        ny = (90 - altitude) * std::sin(a);
    }
    if (std::isfinite(nx) && std::isfinite(float(nx)))
        x = float(nx);
    if (std::isfinite(ny) && std::isfinite(float(ny)))
        y = float(ny);
}

void Mappatura_inversa(int k, bool stereo, float x, float y, double& azimuth, double& altitude)
{
    const double theta = mMate::Atan2_360(y, x);
    const double r = std::sqrt(double(x) * x + double(y) * y);
    // The stereographic radius is 90 tan(45 - altitude / 2); read back from
    // the distance to the zenith, which also holds on the chart's vertical
    // axis, where the angle's sine is zero.
    const double alt = stereo ? (kPi - 4 * std::atan(r / 90)) / 2 * kGradi : 90 - r;
    if (std::isfinite(alt))
        altitude = alt;
    const double az = mMate::Modulus(theta * kGradi - 90.0 * k - 90, 360);
    if (std::isfinite(az))
        azimuth = az >= 360 ? az - 360 : az;
}

int Stadio_Cielo(double e)
{
    if (e > -6)
        return 1;
    if (e > -12)
        return 2;
    if (e > -18)
        return 3;
    return 4;
}

const char* Etichetta_Bussola(int k, int i)
{
    // The first position holds W (index 9) for south, S (6) east, E (3) north, N (0) west.
    static const int inizio[4] = {9, 6, 3, 0};
    const int s = inizio[(k >= 0 && k <= 3) ? k : 0];
    return kSequenza[(s + i) % 12];
}

void Posizione_Bussola(int i, float& x, float& y)
{
    x = kPosizioni[i % 12][0];
    y = kPosizioni[i % 12][1];
}

int Indice_Fase_Carta(double angolo)
{
    const double v = 360 - angolo * kGradi;
    if (!std::isfinite(v))
        return -1;
    const long long n = std::llrint(v); // the default rounding mode rounds halves to even
    return int(n % 360);
}

// ---------------------------------------------------------------- pictures

QImage Immagine_Satellite(int indice)
{
    if (indice < 16 || indice > 27)
        return {};
    const int stile = (indice - 16) / 3 * 3; // 0 principal, 3 other, 6 station, 9 telescope
    const int stato = (indice - 16) % 3;     // 0 sunlit not visible, 1 visible, 2 other
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QColor corpo = stato == 1 ? QColor(255, 255, 0) : stato == 0 ? QColor(200, 200, 200) : QColor(200, 40, 40);
    QColor pannelli = stile == 0 ? QColor(80, 160, 255) : stile == 6 ? QColor(255, 255, 255)
                      : stile == 9 ? QColor(255, 140, 0) : QColor(120, 200, 120);
    p.setPen(QPen(Qt::black, 1));
    if (stile == 9) {
        // A tube with its aperture.
        p.setBrush(corpo);
        p.drawRect(QRectF(3.5, 5.5, 9, 5));
        p.setBrush(pannelli);
        p.drawRect(QRectF(12.5, 4.5, 2, 7));
        p.drawRect(QRectF(6.5, 1.5, 3, 3));
        p.drawRect(QRectF(6.5, 11.5, 3, 3));
    } else {
        p.setBrush(pannelli);
        const double lungo = stile == 6 ? 1.5 : 0.5;
        p.drawRect(QRectF(lungo, 5.5, 5 - lungo, 5));
        p.drawRect(QRectF(10.5, 5.5, 5 - lungo, 5));
        p.setBrush(corpo);
        p.drawRect(QRectF(5.5, 4.5, 5, 7));
        if (stile == 6)
            p.drawLine(QPointF(8, 1), QPointF(8, 15));
        if (stile == 0) {
            p.setPen(QPen(QColor(255, 255, 255), 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        }
    }
    return img;
}

QImage Immagine_Sole()
{
    QImage img(20, 20, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 200, 0), 1.5));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(10, 10);
        p.rotate(45 * i);
        p.drawLine(QPointF(6, 0), QPointF(9.5, 0));
        p.restore();
    }
    QRadialGradient g(QPointF(9, 9), 6);
    g.setColorAt(0, QColor(255, 255, 200));
    g.setColorAt(1, QColor(255, 210, 0));
    p.setBrush(g);
    p.setPen(QPen(QColor(230, 160, 0), 1));
    p.drawEllipse(QPointF(10, 10), 5.5, 5.5);
    return img;
}

int Indice_Satellite(const std::string& numero, int stato, bool principale)
{
    int stile = principale ? 0 : 3;
    if (numero == "25544")
        stile = 6;
    if (numero == "20580")
        stile = 9;
    return stato == StatoNonVisibile ? stile + 16 : stato == StatoVisibile ? stile + 17 : stile + 18;
}

// ---------------------------------------------------------------- one sky

PosizioniCielo Calcola_Posizioni(const core::CieloIstante& cielo, int k, bool stereo, int numStelle)
{
    // Called from windows that have just painted: see astro/vector_state.h.
    astro::Azzera_Meta_Alte();
    PosizioniCielo p;
    auto punto = [&](double ra, double dec) {
        PuntoCielo q;
        cielo.Orizzontali(ra, dec, q.azimuth, q.altezza);
        Mappatura(k, stereo, q.azimuth, q.altezza, q.x, q.y);
        return q;
    };
    const int n = std::clamp<int>(numStelle, 0, std::max(0, int(gudtStelle.size()) - 1));
    p.stelle.resize(n + 1);
    for (int i = 1; i <= n; ++i)
        p.stelle[i] = punto(gudtStelle[i].AscensioneRetta, gudtStelle[i].Declinazione);
    p.linee.resize(std::max<std::size_t>(1, gudtLineeCostellazioni.size()));
    for (std::size_t j = 1; j < gudtLineeCostellazioni.size(); ++j) {
        const LineaCostellazione& l = gudtLineeCostellazioni[j];
        p.linee[j] = {punto(l.AscensioneRetta1, l.Declinazione1), punto(l.AscensioneRetta2, l.Declinazione2)};
    }
    for (int b = 1; b <= 9; ++b) {
        PuntoCielo& q = p.corpi[b];
        q.azimuth = cielo.corpi[b].Azimuth;
        q.altezza = cielo.corpi[b].Altezza;
        Mappatura(k, stereo, q.azimuth, q.altezza, q.x, q.y);
    }
    return p;
}

PittoreCielo::PittoreCielo(platform::Canvas& canvas, const core::CieloIstante& cielo_, const PosizioniCielo& p,
                           const OpzioniCielo& opzioni, double rapportoCerchio)
    : c(canvas), cielo(cielo_), pos(p), o(opzioni), rapporto(rapportoCerchio)
{
}

std::uint32_t PittoreCielo::Colore_Pianeta(int k)
{
    static const std::uint32_t colori[8] = {0,
                                            RGB(255, 0, 255), RGB(0, 255, 0),   RGB(255, 0, 0), RGB(128, 0, 0),
                                            RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 0, 255)};
    return colori[std::clamp(k, 0, 7)];
}

void PittoreCielo::Disegna_sfondo()
{
    c.setBackColor(kNero);
    c.setFillStyle(platform::Canvas::FillSolid);
    std::uint32_t riempi, bordo, centro;
    const int stadio = Stadio_Cielo(cielo.corpi[mAstro::kSole].Altezza);
    switch (stadio) {
    case 1: riempi = RGB(0, 0, 196), bordo = RGB(0, 0, 196), centro = RGB(0, 0, 148); break;
    case 2: riempi = RGB(0, 0, 148), bordo = RGB(0, 0, 148), centro = RGB(0, 0, 100); break;
    case 3: riempi = RGB(0, 0, 100), bordo = RGB(0, 0, 100), centro = RGB(0, 0, 71); break;
    default: riempi = RGB(0, 0, 71), bordo = RGB(0, 0, 96), centro = RGB(0, 0, 0); break;
    }
    coloreGriglia = o.coloriGriglia[stadio - 1];
    c.setFillColor(riempi);
    if (o.effettoOrizzonte) {
        mGlobal::Riempi_Sfumato(c, bordo, centro, 0, 0, float(Raggio_Carta(90)), float(rapporto), 256);
        c.setFillStyle(platform::Canvas::FillTransparent);
        c.Circle(0, 0, Raggio_Carta(90), kOrizzonte, std::nullopt, std::nullopt, rapporto);
        c.setFillStyle(platform::Canvas::FillSolid);
    } else {
        c.Circle(0, 0, Raggio_Carta(90), kOrizzonte, std::nullopt, std::nullopt, rapporto);
    }
}

double PittoreCielo::Raggio_Carta(double r) const
{
    // A ratio above 1 makes the canvas take the radius as the vertical one,
    // still counted in horizontal units. A zoom window wider in chart units
    // than the chart's own proportions (ratio above 1) would otherwise draw
    // the horizon and the altitude circles well inside their places, short
    // of the landscape and the stars they bound.
    return rapporto > 1 ? r * rapporto : r;
}

void PittoreCielo::Disegna_punti_cardinali()
{
    c.setForeColor(o.coloreBussola);
    // Each label stands with the top left corner of its text on its point
    // and is drawn only where that point lies in the chart's window (a
    // zoomed chart shows the labels of the part it holds). A label there
    // stays whole: at the chart's sides (E or W, 95 and -100 units from the
    // centre) or at its foot the text is moved in, however large it is
    // against the chart (a high-density screen, a small window).
    const double sinistra = std::min(c.scaleLeft(), c.scaleLeft() + c.scaleWidth());
    const double destra = std::max(c.scaleLeft(), c.scaleLeft() + c.scaleWidth());
    const double basso = std::min(c.scaleTop(), c.scaleTop() + c.scaleHeight());
    const double alto = std::max(c.scaleTop(), c.scaleTop() + c.scaleHeight());
    const double margine = 1e-4 * (destra - sinistra + alto - basso);
    for (int i = 0; i < 12; ++i) {
        float x, y;
        Posizione_Bussola(i, x, y);
        if (x < sinistra - margine || x > destra + margine || y < basso - margine || y > alto + margine)
            continue;
        const QString testo = QString::fromUtf8(Etichetta_Bussola(o.orientamento, i));
        double px = std::min<double>(x, destra - c.TextWidth(testo) - c.xUser(1));
        px = std::max(px, sinistra);
        // The text runs down the screen from its point.
        const double h = c.TextHeight(testo);
        double py = y;
        if (c.scaleHeight() < 0)
            py = std::min(std::max(py, basso + h), alto);
        else
            py = std::max(std::min(py, alto - h), basso);
        c.setCurrentX(px);
        c.setCurrentY(py);
        c.Print(testo, false);
    }
}

void PittoreCielo::Segmento(const PuntoCielo& a, const PuntoCielo& b, std::uint32_t colour)
{
    // Whole when both ends are above the horizon, cut at the horizon circle
    // when one is above and one below, else nothing.
    if (a.altezza > 0 && b.altezza > 0) {
        c.Line(a.x, a.y, b.x, b.y, colour);
    } else if (a.altezza * b.altezza < 0) {
        const PuntoCielo& su = a.altezza > b.altezza ? a : b;
        const PuntoCielo& giu = a.altezza > b.altezza ? b : a;
        float x2 = giu.x, y2 = giu.y;
        mMate::Interseca_Orizzonte(su.x, su.y, x2, y2);
        c.Line(su.x, su.y, x2, y2, colour);
    }
}

void PittoreCielo::Disegna_griglia()
{
    if (o.grigliaTipo == -1) {
        c.setFillStyle(platform::Canvas::FillTransparent);
        auto cerchio = [&](double altitudine) {
            float x = 0, y = 0;
            Mappatura(o.orientamento, o.stereografica, 0, altitudine, x, y);
            c.Circle(0, 0, Raggio_Carta(std::max(std::abs(x), std::abs(y))), coloreGriglia, std::nullopt,
                     std::nullopt, rapporto);
        };
        if (o.griglia10)
            cerchio(10);
        cerchio(30);
        cerchio(60);
        c.Line(-90, 0, 90, 0, coloreGriglia);
        c.Line(0, -90, 0, 90, coloreGriglia);
        c.setFillStyle(platform::Canvas::FillSolid);
        return;
    }
    if (o.grigliaTipo != 0)
        return; // any other grid type draws no grid
    // Equatorial grid: hour circles and declination circles every 15 degrees,
    // every node of the hour and degree net converted once.
    std::vector<PuntoCielo> rete(25 * 181);
    auto nodo = [&](int ora, int dec) -> PuntoCielo& { return rete[ora * 181 + dec + 90]; };
    for (int h = 0; h <= 24; ++h)
        for (int d = -90; d <= 90; ++d) {
            PuntoCielo& p = nodo(h, d);
            cielo.Orizzontali(h % 24, d, p.azimuth, p.altezza);
            Mappatura(o.orientamento, o.stereografica, p.azimuth, p.altezza, p.x, p.y);
        }
    for (int h = 0; h < 24; ++h)
        for (int d = -90; d < 90; ++d)
            Segmento(nodo(h, d), nodo(h, d + 1), coloreGriglia);
    for (int d = -75; d <= 75; d += 15)
        for (int h = 0; h < 24; ++h)
            Segmento(nodo(h, d), nodo(h + 1, d), coloreGriglia);
}

void PittoreCielo::Disegna_linee_costellazioni()
{
    c.setForeColor(o.coloreLinee);
    for (std::size_t j = 1; j < pos.linee.size(); ++j)
        Segmento(pos.linee[j][0], pos.linee[j][1], o.coloreLinee);
}

void PittoreCielo::Disegna_nomi_costellazioni()
{
    c.setForeColor(o.coloreNomi);
    Per_Nome_Costellazione(cielo, o, [&](float x, float y, const NomeCostellazione& n) {
        c.setCurrentX(x);
        c.setCurrentY(y);
        c.Print(o.nomiInteri ? n.Nome : n.Sigla, false);
    });
}

void PittoreCielo::Disegna_stelle()
{
    const int stile = c.fillStyle();
    const std::uint32_t colore = c.fillColor();
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(kBianco);
    const double raggio = std::abs(c.scaleWidth()) <= 180 ? 0.1 : 0.2;
    for (std::size_t i = 1; i < pos.stelle.size(); ++i) {
        const PuntoCielo& s = pos.stelle[i];
        if (!(s.altezza > 0))
            continue;
        if (i < 294)
            c.Circle(s.x, s.y, raggio, kBianco, std::nullopt, std::nullopt, rapporto);
        else if (i < 1640)
            c.PSet(s.x, s.y, RGB(220, 220, 220));
        else
            c.PSet(s.x, s.y, RGB(140, 140, 140));
    }
    c.setFillStyle(stile);
    c.setFillColor(colore);
}

void PittoreCielo::Disegna_pianeta(float size, std::uint32_t colour, int k)
{
    const PuntoCielo& p = pos.corpi[k];
    if (!(p.altezza > 0))
        return;
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(colour);
    if (k == mAstro::kSole) {
        // About centred on the Sun.
        const QImage sole = Immagine_Sole();
        const double w = c.scaleWidth() * 0.29 / (c.width() / vb::PixelsToHimetric(sole.width()));
        const double h = c.scaleHeight() * 0.27 / (c.height() / vb::PixelsToHimetric(sole.height()));
        c.PaintPicture(sole, p.x - w, p.y - h);
    } else {
        c.Circle(p.x, p.y, size, colour, std::nullopt, std::nullopt, rapporto);
    }
    c.setFillStyle(platform::Canvas::FillTransparent);
    if (k == mAstro::kSole ? o.nomiSoleLuna : o.nomiPianeti) {
        QString nome = Nome_Corpo(cielo.corpi[k]);
        if (k != mAstro::kSole && !o.nomiInteri)
            nome = nome.left(3);
        c.setCurrentX(p.x - size);
        c.setCurrentY(p.y - size);
        c.setForeColor(kEtichettaCorpo);
        c.Print(nome, false);
    }
}

void PittoreCielo::Disegna_luna()
{
    const PuntoCielo& p = pos.corpi[mAstro::kLuna];
    if (!(p.altezza > 0))
        return;
    const double r = std::abs(c.scaleHeight()) / 70;
    c.setFillStyle(platform::Canvas::FillSolid);
    Figura_Luna(c, p.x, p.y, r, Indice_Fase_Carta(cielo.corpi[mAstro::kLuna].Fase), rapporto);
    c.setFillStyle(platform::Canvas::FillTransparent);
    c.Circle(p.x, p.y, r, kNero, std::nullopt, std::nullopt, rapporto);
    if (o.nomiSoleLuna) {
        c.setCurrentX(p.x + r);
        c.setCurrentY(p.y + r);
        c.setForeColor(kEtichettaCorpo);
        c.Print(Nome_Corpo(cielo.corpi[mAstro::kLuna]), false);
    }
}

void PittoreCielo::Disegna_paesaggio(const QImage& paesaggio)
{
    if (!paesaggio.isNull())
        c.TransparentCopy(paesaggio, -90, -90, RGB(0, 255, 0), 180, 180);
}

// ---------------------------------------------------------------- printed page

double Fondo_Cornice(bool letter)
{
    return letter ? 14600 : kAltezzaPagina - kMargine;
}

bool Carta_Letter(const QPageSize& carta)
{
    const QSizeF mm = carta.size(QPageSize::Millimeter);
    return std::fabs(std::min(mm.width(), mm.height()) - 215.9) <= 1.0
           && std::fabs(std::max(mm.width(), mm.height()) - 279.4) <= 1.0;
}

bool Prepara_Pagina(QPrinter& stampante)
{
    stampante.setPageOrientation(QPageLayout::Portrait);
    return Carta_Letter(stampante.pageLayout().pageSize());
}

double Raggio_Stella(int i)
{
    // Pen widths 12, 8 and 3 printer pixels at 600 dpi, as twips of radius.
    const int larghezza = i < 294 ? 12 : i < 922 ? 8 : 3;
    return larghezza * 1440.0 / 600 / 2;
}

void Disegna_Pagina_Cielo(platform::Canvas& p, const core::CieloIstante& cielo, const PosizioniCielo& pos,
                          const OpzioniCielo& o, const OpzioniPagina& pagina)
{
    auto penna = [&](int punti) { return pagina.penna ? pagina.penna(punti) : punti; };
    auto px = [](double x) { return kXCentro + kScala * x; };
    auto py = [](double y) { return kYCentro - kScala * y; };
    auto testo = [&](double x, double y, const QString& t) {
        p.setCurrentX(x);
        p.setCurrentY(y);
        p.Print(t, false);
    };

    p.setAntialiasing(true);
    p.setDrawWidth(1);
    p.setDrawStyle(platform::Canvas::Solid);
    p.setForeColor(kNero);
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kNero);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(10);
    p.setFont(font);

    // Frame and divider.
    const double fondo = Fondo_Cornice(pagina.letter);
    const double destra = kLarghezzaPagina - kMargine;
    p.Line(kMargine, kMargine, destra, kMargine, kNero);
    p.Line(kMargine, fondo, destra, fondo, kNero);
    p.Line(kMargine, kMargine, kMargine, fondo, kNero);
    p.Line(destra, kMargine, destra, fondo, kNero);
    p.Line(kMargine, 9800, destra, 9800, kNero);

    // Horizon: the sky is white on paper.
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kBianco);
    p.Circle(kXCentro, kYCentro, kDiametro / 2, kNero);

    // Grid: always altitude and azimuth on paper.
    if (o.griglia) {
        std::vector<double> altezze;
        if (o.griglia10)
            altezze.push_back(10);
        altezze.push_back(30);
        altezze.push_back(60);
        for (double alt : altezze) {
            float x = 0, y = 0;
            Mappatura(o.orientamento, o.stereografica, 0, alt, x, y);
            p.Circle(kXCentro, kYCentro, kScala * std::max(std::abs(x), std::abs(y)), kNero);
        }
        p.Line(kXCentro - 4000, kYCentro, kXCentro + 4000, kYCentro, kNero);
        p.Line(kXCentro, 1500, kXCentro, 9500, kNero);
    }

    // The compass labels; the one at the top of the horizon would start 12
    // twips above the frame: it starts just under it.
    for (int i = 0; i < 12; ++i) {
        float x, y;
        Posizione_Bussola(i, x, y);
        testo(px(x), std::max(py(y), kMargine + 30), QString::fromUtf8(Etichetta_Bussola(o.orientamento, i)));
    }

    // Constellation lines, dotted.
    if (o.lineeCostellazioni) {
        p.setDrawWidth(1);
        p.setDrawStyle(platform::Canvas::Dot);
        for (std::size_t j = 1; j < pos.linee.size(); ++j) {
            const PuntoCielo& a = pos.linee[j][0];
            const PuntoCielo& b = pos.linee[j][1];
            if (a.altezza > 0 && b.altezza > 0) {
                p.Line(px(a.x), py(a.y), px(b.x), py(b.y), kNero);
            } else if (pagina.lineeTagliate && a.altezza * b.altezza < 0) {
                const PuntoCielo& su = a.altezza > 0 ? a : b;
                const PuntoCielo& giu = a.altezza > 0 ? b : a;
                float x2 = giu.x, y2 = giu.y;
                mMate::Interseca_Orizzonte(su.x, su.y, x2, y2);
                p.Line(px(su.x), py(su.y), px(x2), py(y2), kNero);
            }
        }
        if (!pagina.puntinatoFinoAiPianeti)
            p.setDrawStyle(platform::Canvas::Solid);
    }

    // Stars by brightness: discs of three sizes, or pen dots.
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kNero);
    for (std::size_t i = 1; i < pos.stelle.size(); ++i) {
        const PuntoCielo& s = pos.stelle[i];
        if (!(s.altezza > 0))
            continue;
        if (pagina.stelleDischi) {
            p.Circle(px(s.x), py(s.y), Raggio_Stella(int(i)), kNero);
        } else {
            p.setDrawWidth(penna(i < 294 ? 12 : i < 922 ? 8 : 3));
            p.PSet(px(s.x), py(s.y), kNero);
        }
    }
    p.setDrawWidth(1);

    // Constellation names.
    if (o.nomiCostellazioni && cielo.valido)
        Per_Nome_Costellazione(cielo, o, [&](float x, float y, const NomeCostellazione& n) {
            testo(px(x), py(y), n.Sigla);
        });

    // The Moon with its phase, inside a rim.
    const PuntoCielo& luna = pos.corpi[mAstro::kLuna];
    if (o.soleLuna && luna.altezza > 0) {
        const double X = px(luna.x), Y = py(luna.y);
        const double r = 2.5 * kScala;
        p.setFillStyle(platform::Canvas::FillTransparent);
        p.setDrawWidth(penna(2));
        p.Circle(X, Y, 1.1 * r, kNero);
        p.setDrawWidth(1);
        p.setFillStyle(platform::Canvas::FillSolid);
        Figura_Luna(p, X, Y, r, Indice_Fase_Carta(cielo.corpi[mAstro::kLuna].Fase), 1);
        if (o.nomiSoleLuna)
            testo(X + r, Y + r, Nome_Corpo(cielo.corpi[mAstro::kLuna]));
    }

    // Planets as small discs, the Sun as a disc with eight rays.
    p.setDrawWidth(penna(3));
    p.setDrawStyle(platform::Canvas::Solid);
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kBianco);
    for (int b = 1; b <= 8; ++b) {
        const PuntoCielo& q = pos.corpi[b];
        if (!(q.altezza > 0))
            continue;
        const double X = px(q.x), Y = py(q.y);
        const QString nome = Nome_Corpo(cielo.corpi[b]);
        if (b <= 7) {
            if (!o.pianeti)
                continue;
            const double r = kScala;
            p.Circle(X, Y, r, kNero);
            testo(X + r, Y + r, o.nomiPianeti ? nome : QStringLiteral("P"));
        } else if (o.soleLuna) {
            const double r = 3 * kScala;
            p.Line(X - 1.5 * r, Y, X + 1.5 * r, Y, kNero);
            p.Line(X, Y - 1.5 * r, X, Y + 1.5 * r, kNero);
            p.Line(X - 1.2 * r, Y + 1.2 * r, X + 1.2 * r, Y - 1.2 * r, kNero);
            p.Line(X - 1.2 * r, Y - 1.2 * r, X + 1.2 * r, Y + 1.2 * r, kNero);
            p.Circle(X, Y, r, kNero);
            if (o.nomiSoleLuna)
                testo(X + r, Y + r, nome);
        }
    }
    p.setDrawWidth(1);
}

} // namespace common
