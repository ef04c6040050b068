// The printed local sky chart: one A4 page in black on white with the
// horizon disc, compass labels, optional grid, constellations, stars, Moon,
// planets and Sun, and a table of the Sun, the Moon and the planets.
#include "maps/local_sky_window.h"

#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/canvas.h"
#include "platform/canvas_widget.h"
#include "platform/file_chooser.h"
#include "platform/print_job.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "common/main_window_link.h"
#include "maps/local_sky_print.h"

#include <QAction>
#include <QApplication>
#include <QPageSize>
#include <QPrinter>

#include <cmath>

namespace {

using vb::RGB;
constexpr std::uint32_t kNero = RGB(0, 0, 0);
constexpr std::uint32_t kBianco = RGB(255, 255, 255);
constexpr double kPi = 3.14159265;

bool spunta(const char* nome)
{
    MainWindowLink* m = MainWindowLink::instance();
    QAction* a = m ? m->menuItem(QLatin1String(nome)) : nullptr;
    return a && a->isChecked();
}

QString T(const char* chiave)
{
    return mLang::Testo_Lingua(QStringLiteral("frmLocalSky"), QLatin1String(chiave));
}

QString Pianeta(int k)
{
    return mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(gudtCorpi[k].Nome));
}

} // namespace

namespace views::cielo {

double Fondo_Cornice(bool letter)
{
    return letter ? 14600 : kAltezzaPagina - kMargine;
}

QString Campo_Declinazione(double dec)
{
    const double d = std::trunc(dec);
    const double m = std::trunc(std::abs((dec - d) * 60));
    return vb::Format(d, u"#0°") + vb::Format(m, u"00'");
}

QString Campo_Ascensione(double ra)
{
    const double h = std::floor(ra);
    const double m = std::floor((ra - h) * 60);
    return vb::Format(h, u"#0h") + vb::Format(m, u"00m");
}

QString Campo_Diametro(double arcsec)
{
    const double a = std::floor(arcsec / 60);
    const double s = std::floor(arcsec - 60 * a);
    return vb::Format(a, u"#0'") + vb::Format(s, u"00''");
}

QString Campo_Fase_Luna(double angolo)
{
    return vb::LSet(vb::Format((1 - std::cos(angolo)) * 0.5, u" #0%"), 4);
}

QString Riga_Tabella(int k)
{
    const CorpoCeleste& b = gudtCorpi[k];
    QString mag, fase;
    if (k <= 7) {
        mag = vb::RSet(vb::Format(b.Magnitudine, u"0.0"), 5);
        fase = vb::RSet(vb::Format(b.Fase, u"0.00"), 4);
    } else if (k == mAstro::kSole) {
        mag = QStringLiteral("-26.4");
        fase = QStringLiteral("    ");
    } else {
        mag = QStringLiteral("     ");
        fase = Campo_Fase_Luna(b.Fase);
    }
    return vb::LSet(Pianeta(k), 13) + QStringLiteral(": ") + vb::RSet(vb::Format(b.Altezza, u"#0.0"), 5)
           + QStringLiteral("  ") + vb::RSet(vb::Format(b.Azimuth, u"##0.0"), 5) + QStringLiteral("  ")
           + vb::RSet(Campo_Ascensione(b.AscensioneRetta), 6) + QStringLiteral("  ")
           + vb::RSet(Campo_Declinazione(b.Declinazione), 7) + QStringLiteral("  ") + mag + QStringLiteral("  ")
           + vb::RSet(Campo_Diametro(b.Diametro), 7) + QStringLiteral("  ") + fase;
}

} // namespace views::cielo

void frmLocalSky::Stampa()
{
    using namespace views::cielo;
    QApplication::processEvents();
    QPrinter& stampante = platform::applicationPrinter();
    platform::FileChooser* scelta = platform::services().files;
    // Cancel in the print dialog prints nothing.
    if (!scelta || !scelta->choosePrinter(stampante, 0, this))
        return;
    stampante.setPageOrientation(QPageLayout::Portrait);
    const bool letter = stampante.pageLayout().pageSize().id() == QPageSize::Letter;
    Picture1->Refresh();
    QApplication::processEvents();

    platform::PrintJob job(&stampante);
    if (!job.isActive())
        return;
    platform::Canvas& p = job.page();
    Disegna_Pagina(p, letter, orientamento(), stereografica(), gintNumStelle);
    job.EndDoc();
}

namespace views::cielo {

void Disegna_Pagina(platform::Canvas& p, bool letter, int k, bool stereo, int numStelle)
{
    const double Xc = kLarghezzaPagina / 2, Yc = kDiametro / 2 + kMargine + 300;
    auto carta = [&](double x, double y) { return QPointF(Xc + kScala * x, Yc - kScala * y); };
    auto mappa = [&](double az, double alt, float& x, float& y) { Mappatura(k, stereo, az, alt, x, y); };

    p.setDrawWidth(1);
    p.setForeColor(kNero);
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kNero);
    p.setAntialiasing(true);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(10);
    p.setFont(font);

    // Frame.
    const double fondo = Fondo_Cornice(letter);
    const double destra = kLarghezzaPagina - kMargine;
    p.Line(kMargine, kMargine, destra, kMargine, kNero);
    p.Line(kMargine, fondo, destra, fondo, kNero);
    p.Line(kMargine, kMargine, kMargine, fondo, kNero);
    p.Line(destra, kMargine, destra, fondo, kNero);
    p.Line(kMargine, 9800, destra, 9800, kNero);

    // Horizon.
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kBianco);
    p.Circle(Xc, Yc, kDiametro / 2, kNero);

    if (spunta("mnuLocalSkyGriglia")) {
        for (double alt : {30.0, 60.0}) {
            float x = 0, y = 0;
            mappa(0, alt, x, y);
            p.Circle(Xc, Yc, kScala * std::max(std::abs(x), std::abs(y)), kNero);
        }
        p.Line(Xc - 4000, Yc, Xc + 4000, Yc, kNero);
        p.Line(Xc, 1500, Xc, 9500, kNero);
    }

    for (int i = 0; i < 12; ++i) {
        float x, y;
        Posizione_Bussola(i, x, y);
        const QPointF at = carta(x, y);
        p.setCurrentX(at.x());
        p.setCurrentY(at.y());
        p.Print(QString::fromUtf8(Etichetta_Bussola(k, i)), false);
    }

    // Positions for the program clock, stored as the window's redraw stores them.
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    mAstro::Calcola_Sole();
    mAstro::Calcola_Luna();
    mAstro::Calcola_Pianeta();
    for (int b = 1; b <= 9; ++b)
        mappa(gudtCorpi[b].Azimuth, gudtCorpi[b].Altezza, gudtCorpi[b].XMappa, gudtCorpi[b].YMappa);
    const int n = std::clamp(numStelle, 0, int(gudtStelle.size()) - 1);
    for (int i = 1; i <= n; ++i) {
        Stella& s = gudtStelle[i];
        double az = 0, alt = 0;
        mAstro::Equatoriali_Orizzontali(s.AscensioneRetta, s.Declinazione, az, alt);
        s.Azimuth = float(az);
        s.Altezza = float(alt);
        mappa(az, alt, s.XMappa, s.YMappa);
    }
    for (std::size_t j = 1; j < gudtLineeCostellazioni.size(); ++j) {
        LineaCostellazione& l = gudtLineeCostellazioni[j];
        double az = 0, alt = 0;
        mAstro::Equatoriali_Orizzontali(l.AscensioneRetta1, l.Declinazione1, az, alt);
        l.Azimuth1 = float(az);
        l.Altezza1 = float(alt);
        mappa(az, alt, l.XMappa1, l.YMappa1);
        mAstro::Equatoriali_Orizzontali(l.AscensioneRetta2, l.Declinazione2, az, alt);
        l.Azimuth2 = float(az);
        l.Altezza2 = float(alt);
        mappa(az, alt, l.XMappa2, l.YMappa2);
    }

    if (spunta("mnuLocalSkyOggettiCostellazioni")) {
        p.setDrawWidth(1);
        p.setDrawStyle(platform::Canvas::Dot);
        for (std::size_t j = 1; j < gudtLineeCostellazioni.size(); ++j) {
            const LineaCostellazione& l = gudtLineeCostellazioni[j];
            if (l.Altezza1 > 0 && l.Altezza2 > 0) {
                const QPointF a = carta(l.XMappa1, l.YMappa1), b = carta(l.XMappa2, l.YMappa2);
                p.Line(a.x(), a.y(), b.x(), b.y(), kNero);
            }
        }
        p.setDrawStyle(platform::Canvas::Solid);
    }

    // Stars: dots in three sizes by rank (printer pixels of a 600 dpi page).
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kNero);
    for (int i = 1; i <= n; ++i) {
        const Stella& s = gudtStelle[i];
        if (!(s.Altezza > 0))
            continue;
        const QPointF at = carta(s.XMappa, s.YMappa);
        p.Circle(at.x(), at.y(), Raggio_Stella(i), kNero);
    }
    p.setDrawWidth(1);

    if (spunta("mnuLocalSkyEtichetteCostellazioni")) {
        for (std::size_t i = 1; i < gudtNomiCostellazioni.size(); ++i) {
            const NomeCostellazione& c = gudtNomiCostellazioni[i];
            double az = 0, alt = 0;
            mAstro::Equatoriali_Orizzontali(c.AscensioneRetta, c.Declinazione, az, alt);
            if (alt >= 0) {
                float x = 0, y = 0;
                mappa(az, alt, x, y);
                const QPointF at = carta(x, y);
                p.setCurrentX(at.x());
                p.setCurrentY(at.y());
                p.Print(c.Sigla, false);
            }
        }
    }

    const bool soleLuna = spunta("mnuLocalSkyOggettiSoleLuna");
    if (soleLuna && gudtCorpi[mAstro::kLuna].Altezza > 0) {
        const QPointF m = carta(gudtCorpi[mAstro::kLuna].XMappa, gudtCorpi[mAstro::kLuna].YMappa);
        const double r = kScala * 2.5;
        p.setFillStyle(platform::Canvas::FillTransparent);
        p.setDrawWidth(2);
        p.Circle(m.x(), m.y(), 1.1 * r, kNero);
        p.setDrawWidth(1);
        p.setFillStyle(platform::Canvas::FillSolid);
        const int P = Indice_Fase_Luna(gudtCorpi[mAstro::kLuna].Fase);
        auto disco = [&](std::uint32_t c) {
            p.setFillColor(c);
            p.Circle(m.x(), m.y(), r, c);
        };
        auto meta = [&](std::uint32_t c, bool destraMeta) {
            p.setFillColor(c);
            // Counter-clockwise on the page: the right half from 270 through 0 to 90.
            if (destraMeta)
                p.Circle(m.x(), m.y(), r, c, -(3 * kPi / 2), -(kPi / 2));
            else
                p.Circle(m.x(), m.y(), r, c, -(kPi / 2), -(3 * kPi / 2));
        };
        auto ellisse = [&](std::uint32_t c, double f) {
            if (f == 0)
                return;
            p.setFillColor(c);
            p.Circle(m.x(), m.y(), r, c, std::nullopt, std::nullopt, 1 / f);
        };
        if (P >= 0 && P < 90) {
            disco(kBianco), meta(kNero, true), ellisse(kNero, 1 - P / 90.0);
        } else if (P >= 90 && P < 180) {
            disco(kNero), meta(kBianco, false), ellisse(kBianco, (P - 90) / 90.0);
        } else if (P >= 180 && P < 270) {
            disco(kNero), meta(kBianco, true), ellisse(kBianco, 1 - (P - 180) / 90.0);
        } else if (P >= 270 && P < 360) {
            disco(kBianco), meta(kNero, false), ellisse(kNero, (P - 270) / 90.0);
        }
        if (spunta("mnuLocalSkyEtichetteSoleLuna")) {
            p.setCurrentX(m.x() + r);
            p.setCurrentY(m.y() + r);
            p.Print(Pianeta(mAstro::kLuna), false);
        }
    }

    p.setDrawWidth(3);
    p.setDrawStyle(platform::Canvas::Solid);
    p.setFillStyle(platform::Canvas::FillSolid);
    p.setFillColor(kBianco);
    for (int b = 1; b <= 8; ++b) {
        const CorpoCeleste& c = gudtCorpi[b];
        if (!(c.Altezza > 0))
            continue;
        const QPointF at = carta(c.XMappa, c.YMappa);
        const double px = at.x(), py = at.y();
        if (b <= 7) {
            if (!spunta("mnuLocalSkyOggettiPianeti"))
                continue;
            const double r = kScala;
            p.Circle(px, py, r, kNero);
            p.setCurrentX(px + r);
            p.setCurrentY(py + r);
            p.Print(spunta("mnuLocalSkyEtichettePianeti") ? Pianeta(b) : QStringLiteral("P"), false);
        } else if (soleLuna) {
            const double r = kScala * 3;
            p.Line(px - 1.5 * r, py, px + 1.5 * r, py, kNero);
            p.Line(px, py - 1.5 * r, px, py + 1.5 * r, kNero);
            p.Line(px - 1.2 * r, py + 1.2 * r, px + 1.2 * r, py - 1.2 * r, kNero);
            p.Line(px - 1.2 * r, py - 1.2 * r, px + 1.2 * r, py + 1.2 * r, kNero);
            p.Circle(px, py, r, kNero);
            if (spunta("mnuLocalSkyEtichetteSoleLuna")) {
                p.setCurrentX(px + r);
                p.setCurrentY(py + r);
                p.Print(Pianeta(b), false);
            }
        }
    }
    p.setDrawWidth(1);

    // Text block.
    const QStringList righe = Righe_Testo();
    p.setCurrentY(9950);
    for (const QString& riga : righe) {
        p.setCurrentX(1350);
        p.Print(riga, true);
    }
}

QStringList Righe_Testo()
{
    QStringList r;
    const QString def = QStringLiteral("Def");
    r << T("mappacielolocale") << QString();
    r << vb::LSet(T("localita"), 12) + QStringLiteral(" : ") + gstrLocalita;
    r << vb::LSet(T("coordinate"), 12) + QStringLiteral(" : ") + mLang::Testo_Lingua(def, QStringLiteral("lat"))
             + QLatin1Char(' ') + vb::Format(double(gsngLatitudine), u"#0.000°") + QLatin1Char(' ')
             + mLang::Testo_Lingua(def, QStringLiteral("lon")) + QLatin1Char(' ')
             + vb::Format(double(gsngLongitudine), u"##0.000°")
      << QString();
    r << vb::LSet(T("data"), 12) + QStringLiteral(" : ") + vb::Format(gdatDataCorrente, u"dd mmm yyyy")
             + QLatin1Char(' ') + mLang::Testo_Lingua(def, QStringLiteral("ore")) + QLatin1Char(' ')
             + vb::Format(gdatDataCorrente, u"hh:mm")
      << QString();
    r << T("intestazione") << QString();
    r << QString(16, QLatin1Char(' ')) + T("intestazionecoord") << QString();
    for (int k = 1; k <= 9; ++k) {
        r << Riga_Tabella(k);
        if (k == 7)
            r << QString();
    }
    return r;
}

double Raggio_Stella(int i)
{
    // Pen widths 12, 8 and 3 printer pixels at 600 dpi, as twips of radius.
    const int larghezza = i < 294 ? 12 : i < 922 ? 8 : 3;
    return larghezza * 1440.0 / 600 / 2;
}

} // namespace views::cielo
