// The printed local sky chart: one A4 page in black on white with the
// horizon disc, compass labels, optional grid, constellations, stars, Moon,
// planets and Sun, and a table of the Sun, the Moon and the planets.
#include "maps/local_sky_window.h"
#include "maps/local_sky_menu.h"

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
#include "common/sky_chart.h"
#include "core/sky_instant.h"

#include <QAction>
#include <QApplication>
#include <QPageSize>
#include <QPrinter>

#include <cmath>

namespace {

using vb::RGB;

// The text block under the chart, in twips: its column, its first line and
// the least room between its last line and the frame's bottom.
constexpr double kColonna = 1350;
constexpr double kPrimaRiga = 9950;
constexpr double kMargineFondo = 60;

QString T(const char* chiave)
{
    return mLang::Testo_Lingua(QStringLiteral("frmLocalSky"), QLatin1String(chiave));
}

QString Pianeta(int k)
{
    return mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(gudtCorpi[k].Nome));
}

} // namespace

namespace maps::cielo {

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

} // namespace maps::cielo

void frmLocalSky::Stampa()
{
    using namespace maps::cielo;
    QApplication::processEvents();
    QPrinter& stampante = platform::applicationPrinter();
    platform::FileChooser* scelta = platform::services().files;
    // Cancel in the print dialog prints nothing.
    if (!scelta || !scelta->choosePrinter(stampante, 0, this))
        return;
    const bool letter = common::Prepara_Pagina(stampante);
    Picture1->Refresh();
    QApplication::processEvents();

    platform::PrintJob job(&stampante);
    if (!job.isActive())
        return;
    platform::Canvas& p = job.page();
    Disegna_Pagina(p, letter, orientamento(), stereografica(), gintNumStelle);
    job.EndDoc();
}

namespace maps::cielo {

common::OpzioniCielo Opzioni_Menu(int k, bool stereo)
{
    common::OpzioniCielo o;
    o.orientamento = k;
    o.stereografica = stereo;
    o.griglia = Spunta("mnuLocalSkyGriglia");
    o.lineeCostellazioni = Spunta("mnuLocalSkyOggettiCostellazioni");
    o.nomiCostellazioni = Spunta("mnuLocalSkyEtichetteCostellazioni");
    o.soleLuna = Spunta("mnuLocalSkyOggettiSoleLuna");
    o.nomiSoleLuna = Spunta("mnuLocalSkyEtichetteSoleLuna");
    o.pianeti = Spunta("mnuLocalSkyOggettiPianeti");
    o.nomiPianeti = Spunta("mnuLocalSkyEtichettePianeti");
    return o;
}

void Disegna_Pagina(platform::Canvas& p, bool letter, int k, bool stereo, int numStelle)
{
    // The sky of the program clock, computed by the clock's procedures; the
    // page's places are its own, the chart's stay as its last redraw left them.
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    mAstro::Calcola_Sole();
    mAstro::Calcola_Luna();
    mAstro::Calcola_Pianeta();
    const core::CieloIstante cielo = core::Cielo_Corrente();
    const common::OpzioniCielo o = Opzioni_Menu(k, stereo);
    common::OpzioniPagina pagina;
    pagina.letter = letter;
    common::Disegna_Pagina_Cielo(p, cielo, common::Calcola_Posizioni(cielo, k, stereo, numStelle), o, pagina);

    // Text block: its lines a fixed step apart, one Courier New 10 line as
    // on the observation sheet, whatever font the system puts in its place.
    // Where the frame ends higher (Letter paper) the step shrinks so that
    // the last line still ends inside the frame.
    const QStringList righe = Righe_Testo();
    const double altezza = p.TextHeight();
    const double spazio = common::Fondo_Cornice(letter) - kMargineFondo - kPrimaRiga - altezza;
    double passo = std::min(common::kPassoRiga, altezza);
    if (righe.size() > 1)
        passo = std::min(passo, spazio / (righe.size() - 1));
    for (int i = 0; i < righe.size(); ++i) {
        p.setCurrentX(kColonna);
        p.setCurrentY(kPrimaRiga + i * passo);
        p.Print(righe[i], false);
    }
}

QStringList Righe_Testo()
{
    QStringList r;
    const QString def = QStringLiteral("Def");
    r << T("mappacielolocale") << QString();
    r << vb::LSet(T("localita"), 12) + QStringLiteral(" : ") + vb::displayable(gstrLocalita);
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

} // namespace maps::cielo
