// The pass map's printed observation sheet: the chart in black on white in
// the upper part of an A4 page, the satellite, the observer, the map time,
// the three pass lines and ruled lines for notes in the lower part.
#include "passes/pass_map_window.h"
#include "passes/pass_map_state.h"
#include "passes/pass_map_symbols.h"

#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/file_chooser.h"
#include "platform/print_job.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "common/window_helpers.h"

#include <QApplication>
#include <QDate>
#include <QPageLayout>
#include <QPrinter>
#include <cmath>

namespace {

// Page geometry in twips (A4, whatever the paper).
constexpr double kLarghezzaPagina = 11904;
constexpr double kCx = kLarghezzaPagina / 2;        // 5952
constexpr double kCy = 8000.0 / 2 + 1200 + 300;     // 5500
constexpr double kK = 44;                           // twips per chart unit
constexpr double kColonna = 1350;

constexpr std::uint32_t kNero = 0x000000;
constexpr std::uint32_t kBianco = 0xFFFFFF;

// Pen widths were given in printer dots of a 300 dpi printer; the canvas
// counts them in 1/96 inch.
int Punti(int dots)
{
    return std::max(1, static_cast<int>(std::lround(dots * 96.0 / 300.0)));
}

QString Etichetta(const char* key)
{
    return vb::LSet(mLang::Testo_Lingua(QStringLiteral("frmSkySat"), QString::fromLatin1(key)), 13) +
           QStringLiteral(": ");
}

} // namespace

void frmSkySat::Stampa()
{
    QApplication::processEvents();
    QPrinter& printer = platform::applicationPrinter();
    platform::FileChooser* files = platform::services().files;
    if (files && !files->choosePrinter(printer, 0, this))
        return; // cancelled: nothing printed, nothing said
    Stampa_Su(printer);
}

bool frmSkySat::Stampa_Su(QPrinter& printer)
{
    const bool letter = printer.pageLayout().pageSize().id() == QPageSize::Letter;
    platform::PrintJob job(&printer);
    if (!job.isActive()) {
        platform::MsgBox(job.errorString(), platform::vbExclamation);
        return false;
    }
    platform::Canvas& c = job.page();
    c.setAntialiasing(true);
    c.setDrawWidth(1);
    c.setDrawStyle(platform::Canvas::Solid);
    c.setForeColor(kNero);
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(kNero);
    QFont carattere(QStringLiteral("Courier New"));
    carattere.setStyleHint(QFont::Monospace);
    carattere.setPointSizeF(10);
    c.setFont(carattere);

    update();
    QApplication::processEvents();

    // The chart point (x, y) on the page.
    auto px = [](double x) { return kCx + kK * x; };
    auto py = [](double y) { return kCy - kK * y; };
    auto testo = [&](double x, double y, const QString& t) {
        c.setCurrentX(x);
        c.setCurrentY(y);
        c.Print(t, false);
    };

    // Frame and divider.
    const double fondo = letter ? 14600 : 15636;
    c.Line(1200, 1200, 10704, 1200, kNero);
    c.Line(1200, fondo, 10704, fondo, kNero);
    c.Line(1200, 1200, 1200, fondo, kNero);
    c.Line(10704, 1200, 10704, fondo, kNero);
    c.Line(1200, 9800, 10704, 9800, kNero);

    // Horizon: the sky is white on paper.
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(kBianco);
    c.Circle(kCx, kCy, 4000, kNero);

    // Grid: always altitude and azimuth on paper.
    if (impmnuSkySatGriglia) {
        std::vector<double> altezze;
        if (gblnAnteprimaGriglia10)
            altezze.push_back(10);
        altezze.push_back(30);
        altezze.push_back(60);
        for (double h : altezze) {
            float x = 0, y = 0;
            Mappatura(0, h, x, y);
            c.Circle(kCx, kCy, kK * std::max(std::abs(x), std::abs(y)), kNero);
        }
        c.Line(kCx - 4000, kCy, kCx + 4000, kCy, kNero);
        c.Line(kCx, 1500, kCx, 9500, kNero);
    }

    // Azimuth labels.
    static constexpr double punti[12][2] = {{95, 2},    {78, 52},   {45, 86},   {-2, 98},
                                            {-56, 85},  {-89, 53},  {-100, 2},  {-92, -45},
                                            {-59, -78}, {-2, -92},  {45, -78},  {78, -45}};
    const int k = Orientamento();
    for (int i = 0; i < 12; ++i) {
        const int az = static_cast<int>(mMate::Modulus(270.0 + 30 * i - 90 * k, 360.0));
        testo(kCx + kK * punti[i][0], kCy - kK * punti[i][1], skysat::Testo_Azimut(az));
    }

    {
        // Positions for the map time; the guard puts the program clock's
        // quantities and the tables back afterwards.
        skysat::StatoCondiviso condiviso;
        if (gvarTempoMappa.isValid() && mAstro::Aggiorna_Tempo(gvarTempoMappa)) {
            mAstro::Calcola_Sole();
            mAstro::Calcola_Luna();
            mAstro::Calcola_Pianeta();
            Calcola_coordinate_altazimutali();

            // Constellation lines, dotted.
            c.setDrawWidth(1);
            c.setDrawStyle(platform::Canvas::Dot);
            if (impmnuSkySatOggettiCostellazioni) {
                for (std::size_t i = 1; i < gudtLineeCostellazioni.size(); ++i) {
                    const LineaCostellazione& l = gudtLineeCostellazioni[i];
                    if (l.Altezza1 > 0 && l.Altezza2 > 0) {
                        c.Line(px(l.XMappa1), py(l.YMappa1), px(l.XMappa2), py(l.YMappa2), kNero);
                    } else if (l.Altezza1 * l.Altezza2 < 0) {
                        const bool primoSopra = l.Altezza1 > 0;
                        const float x1 = primoSopra ? l.XMappa1 : l.XMappa2;
                        const float y1 = primoSopra ? l.YMappa1 : l.YMappa2;
                        float x2 = primoSopra ? l.XMappa2 : l.XMappa1;
                        float y2 = primoSopra ? l.YMappa2 : l.YMappa1;
                        mMate::Interseca_Orizzonte(x1, y1, x2, y2);
                        c.Line(px(x1), py(y1), px(x2), py(y2), kNero);
                    }
                }
            }

            // Stars as black dots by brightness.
            const int stelle = std::min<int>(gintNumStelle, static_cast<int>(gudtStelle.size()) - 1);
            for (int i = 1; i <= stelle; ++i) {
                const Stella& s = gudtStelle[i];
                if (!(s.Altezza > 0))
                    continue;
                c.setDrawWidth(Punti(i < 294 ? 12 : i < 922 ? 8 : 3));
                c.PSet(px(s.XMappa), py(s.YMappa), kNero);
            }
            c.setDrawWidth(1);

            // Constellation names (a name on the horizon is printed).
            if (impmnuSkySatEtichetteCostellazioni) {
                for (std::size_t i = 1; i < gudtNomiCostellazioni.size(); ++i) {
                    const NomeCostellazione& n = gudtNomiCostellazioni[i];
                    double az = 0, h = 0;
                    mAstro::Equatoriali_Orizzontali(n.AscensioneRetta, n.Declinazione, az, h);
                    if (h >= 0) {
                        float x = 0, y = 0;
                        Mappatura(az, h, x, y);
                        testo(px(x), py(y), n.Sigla);
                    }
                }
            }

            // The Moon with its phase.
            const mAstro::CorpoCeleste& luna = gudtCorpi[9];
            if (impmnuSkySatOggettiSoleLuna && luna.Altezza > 0) {
                const double X = px(luna.XMappa), Y = py(luna.YMappa);
                const double R = 2.5 * kK;
                c.setDrawWidth(Punti(2));
                c.setFillStyle(platform::Canvas::FillTransparent);
                c.Circle(X, Y, 1.1 * R, kNero);
                skysat::Disegna_Fase_Lunare(c, X, Y, R, skysat::Fase_Lunare(luna.Fase));
                if (impmnuSkySatEtichetteSoleLuna)
                    testo(X + R, Y + R,
                          mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(luna.Nome)));
            }

            // Planets and the Sun.
            c.setDrawWidth(Punti(3));
            c.setDrawStyle(platform::Canvas::Solid);
            c.setFillStyle(platform::Canvas::FillSolid);
            c.setFillColor(kBianco);
            for (int n = 1; n <= 8; ++n) {
                const mAstro::CorpoCeleste& corpo = gudtCorpi[n];
                if (!(corpo.Altezza > 0))
                    continue;
                const double X = px(corpo.XMappa), Y = py(corpo.YMappa);
                const QString nome =
                    mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(corpo.Nome));
                if (n <= 7 && impmnuSkySatOggettiPianeti) {
                    const double r = kK;
                    c.setFillColor(kBianco);
                    c.Circle(X, Y, r, kNero);
                    testo(X + r, Y + r, impmnuSkySatEtichettePianeti ? nome : QStringLiteral("P"));
                } else if (n == 8 && impmnuSkySatOggettiSoleLuna) {
                    const double r = 3 * kK;
                    c.Line(X - 1.5 * r, Y, X + 1.5 * r, Y, kNero);
                    c.Line(X, Y - 1.5 * r, X, Y + 1.5 * r, kNero);
                    c.Line(X - 1.2 * r, Y + 1.2 * r, X + 1.2 * r, Y - 1.2 * r, kNero);
                    c.Line(X - 1.2 * r, Y - 1.2 * r, X + 1.2 * r, Y + 1.2 * r, kNero);
                    c.setFillColor(kBianco);
                    c.Circle(X, Y, r, kNero);
                    if (impmnuSkySatEtichetteSoleLuna)
                        testo(X + r, Y + r, nome);
                }
            }
        }
    }
    c.setDrawStyle(platform::Canvas::Solid);

    // The track: plain segments, the last one an arrow showing the motion.
    const int n = static_cast<int>(mudtPuntiTraccia.size()) - 1;
    for (int i = 1; i <= n - 2; ++i) {
        const PuntoPassaggio& a = mudtPuntiTraccia[i];
        const PuntoPassaggio& b = mudtPuntiTraccia[i + 1];
        c.setDrawWidth(Punti(a.Magnitudine.isEmpty() ? 2 : 6));
        c.Line(px(a.X), py(a.Y), px(b.X), py(b.Y), kNero);
    }
    if (n >= 2) {
        const PuntoPassaggio& a = mudtPuntiTraccia[n - 1];
        const PuntoPassaggio& b = mudtPuntiTraccia[n];
        c.setForeColor(kNero);
        mGlobal::Disegna_Linea_Tratteggiata(c, static_cast<float>(px(a.X)), static_cast<float>(py(a.Y)),
                                            static_cast<float>(px(b.X)), static_cast<float>(py(b.Y)), 100,
                                            true, 0, 60);
    }

    // The annotations.
    c.setDrawWidth(Punti(2));
    for (std::size_t i = 1; i < mudtEtichette.size(); ++i) {
        const EtichettaAltazimutale& e = mudtEtichette[i];
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        Mappatura(e.AzimuthPunto, e.AltezzaPunto, x1, y1);
        Mappatura(e.AzimuthTesto, e.AltezzaTesto, x2, y2);
        c.Line(px(x1), py(y1), px(x2), py(y2), kNero);
        const double yTesto = py(y2) < py(y1) ? py(y2) - 3 * kK : py(y2);
        testo(px(x2), yTesto, Testo_Etichetta(e.Punto));
    }

    // The sheet.
    c.setForeColor(kNero);
    c.setDrawWidth(1);
    double y = 9950;
    // Lines one Courier New 10 line apart (225 twips), also when the system
    // puts another monospaced font in its place, so the sheet and its notes
    // box stay inside the frame.
    const double riga = std::min(c.TextHeight(), 225.0);
    auto linea = [&](const QString& t) {
        if (!t.isEmpty())
            testo(kColonna, y, t);
        y += riga;
    };
    const Satelement& s = mudtSatellite;
    linea(Etichetta("satellite") + QString::fromStdString(s.Nome));
    linea(QStringLiteral("Norad #      : ") + QString::fromStdString(s.NumeroCatalogo));
    {
        // The designator from line 1 of the element set; without the text,
        // from the launch year, number and piece of the parsed elements.
        QString id = vb::Mid(QString::fromStdString(mudtRighe.Riga1), 10, 6);
        if (mudtRighe.Riga1.empty() && s.AnnoLancio > 0)
            id = (QStringLiteral("%1").arg(static_cast<int>(s.AnnoLancio) % 100, 2, 10, QLatin1Char('0')) +
                  QStringLiteral("%1").arg(static_cast<int>(s.NumeroLancio), 3, 10, QLatin1Char('0')) +
                  QString::fromStdString(s.PezzoLancio))
                     .left(6);
        linea(QStringLiteral("ID #         : ") + id);
    }
    {
        const int anno = static_cast<int>(s.AnnoEpoca);
        const double giorno = s.GiornoEpoca;
        const int intero = static_cast<int>(std::floor(giorno));
        QString epoca;
        const QDate data = QDate(anno, 1, 1).addDays(intero - 1);
        if (data.isValid()) {
            epoca = vb::Format(data, u"dd mmm yyyy") + QStringLiteral(" - ") +
                    vb::Format(giorno - intero, u"Long Time") + QStringLiteral(" UTC");
        }
        linea(Etichetta("elementiorbita") + epoca);
    }
    linea(Etichetta("magnitudine") + QString::fromStdString(s.MagnitudineStandard));
    linea({});
    linea(Etichetta("localita") + gstrLocalita);
    linea(Etichetta("coordinate") + mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("lat")) +
          QLatin1Char(' ') + vb::Format(gsngLatitudine, u"#0.000\u00B0") + QLatin1Char(' ') +
          mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("lon")) + QLatin1Char(' ') +
          vb::Format(gsngLongitudine, u"##0.000\u00B0"));
    linea({});
    linea(Etichetta("informazioni") + mLang::Testo_Lingua(QStringLiteral("frmSkySat"), QStringLiteral("intestazioneobs")));
    linea({});
    linea(Etichetta("mappa") + skysat::Data_Generale(gvarTempoMappa));
    linea({});
    linea(Etichetta("inizio") + vb::Left(gstrRiga1, 62));
    linea(Etichetta("culmine") + vb::Left(gstrRiga2, 62));
    linea(Etichetta("fine") + vb::Left(gstrRiga3, 62));
    linea({});
    // The heading of the notes, broken at blanks where a language makes it
    // longer than the frame is wide.
    {
        const double larghezza = 10704 - 150 - kColonna;
        QString resto = mLang::Testo_Lingua(QStringLiteral("frmSkySat"), QStringLiteral("noteosservative"));
        while (c.TextWidth(resto) > larghezza) {
            int taglio = resto.size();
            while (taglio > 0 && (resto.at(taglio - 1) != QLatin1Char(' ') ||
                                  c.TextWidth(resto.left(taglio - 1)) > larghezza))
                --taglio;
            if (taglio <= 1)
                break; // one word wider than the frame: printed as it is
            linea(resto.left(taglio - 1));
            resto = resto.mid(taglio);
        }
        linea(resto);
    }
    linea({});
    linea({});

    // Ruled lines for notes (no room for them on Letter paper).
    if (!letter) {
        for (int i = 0; i < 3; ++i) {
            c.setDrawWidth(1);
            c.setDrawStyle(platform::Canvas::Solid);
            c.Line(kColonna, y, kLarghezzaPagina - 1200 - 300, y, kNero);
            y += 2 * riga;
        }
    }

    if (!job.EndDoc()) {
        platform::MsgBox(job.errorString(), platform::vbExclamation);
        return false;
    }
    return true;
}
