// The pass map's printed observation sheet: the chart in black on white in
// the upper part of an A4 page, the satellite, the observer, the map time,
// the three pass lines and ruled lines for notes in the lower part.
#include "passes/pass_map_window.h"
#include "passes/pass_map_symbols.h"

#include "core/element_parser.h"
#include "core/globals.h"
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
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace {

// Page geometry in twips (A4, whatever the paper).
using common::kLarghezzaPagina;
constexpr double kCx = common::kXCentro;            // 5952
constexpr double kCy = common::kYCentro;            // 5500
constexpr double kK = common::kScala;               // twips per chart unit
constexpr double kColonna = 1350;

constexpr std::uint32_t kNero = 0x000000;

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
    // On Letter paper the A4 frame's bottom lies below its printable part.
    const bool letter = common::Prepara_Pagina(printer);
    platform::PrintJob job(&printer);
    if (!job.isActive()) {
        platform::MsgBox(job.errorString(), platform::vbExclamation);
        return false;
    }
    platform::Canvas& c = job.page();
    update();
    QApplication::processEvents();

    // The frame and the sky at the map time, computed for the sheet.
    common::OpzioniPagina pagina;
    pagina.letter = letter;
    pagina.penna = Punti;
    pagina.stelleDischi = false;
    pagina.lineeTagliate = true;
    pagina.puntinatoFinoAiPianeti = true;
    const core::CieloIstante cielo = core::Calcola_Cielo(gvarTempoMappa);
    common::PosizioniCielo posizioni;
    if (cielo.valido)
        posizioni = common::Calcola_Posizioni(cielo, Orientamento(), impmnuSkySatProiezStereo, gintNumStelle);
    common::Disegna_Pagina_Cielo(c, cielo, posizioni, Opzioni(), pagina);

    // The chart point (x, y) on the page.
    auto px = [](double x) { return kCx + kK * x; };
    auto py = [](double y) { return kCy - kK * y; };
    auto testo = [&](double x, double y, const QString& t) {
        c.setCurrentX(x);
        c.setCurrentY(y);
        c.Print(t, false);
    };
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
    linea(Etichetta("magnitudine") + core::Magnitudine_Mostrata(s));
    linea({});
    linea(Etichetta("localita") + vb::displayable(gstrLocalita));
    linea(Etichetta("coordinate") + mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("lat")) +
          QLatin1Char(' ') + vb::Format(gsngLatitudine, u"#0.000\u00B0") + QLatin1Char(' ') +
          mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("lon")) + QLatin1Char(' ') +
          vb::Format(gsngLongitudine, u"##0.000\u00B0"));
    linea({});
    linea(Etichetta("informazioni") + mLang::Testo_Lingua(QStringLiteral("frmSkySat"), QStringLiteral("intestazioneobs")));
    linea({});
    linea(Etichetta("mappa") + passes::Data_Generale(gvarTempoMappa));
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
