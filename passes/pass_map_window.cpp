#include "passes/pass_map_window.h"

#include "passes/pass_map_symbols.h"
#include "listings/listing_lines.h"
#include "core/data_files.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/vb.h"
#include "common/window_helpers.h"
#include "common/main_window_link.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPalette>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t kGiallo = vb::RGB(255, 255, 0);
constexpr std::uint32_t kRosso = vb::RGB(255, 0, 0);
constexpr std::uint32_t kBianco = vb::RGB(255, 255, 255);
constexpr std::uint32_t kNero = vb::RGB(0, 0, 0);

// The window's design size: 6630 by 6870 twips.
constexpr int kLarghezza = 442;
constexpr int kAltezza = 458;

QString T(const char* section, const char* key)
{
    return mLang::Testo_Lingua(QString::fromLatin1(section), QString::fromLatin1(key));
}

// Minutes crossed between two program instants (calendar minute boundaries).
long long Minuti_Tra(const QDateTime& a, const QDateTime& b)
{
    const auto floorDiv = [](long long s) { return s >= 0 ? s / 60 : -((-s + 59) / 60); };
    return floorDiv(b.toSecsSinceEpoch()) - floorDiv(a.toSecsSinceEpoch());
}

// The pass's instants as the program clock holds them: calendar fields
// with no zone, so that stepping along the track never meets a
// daylight-saving jump of the computer's own zone.
void Senza_Fuso(QDateTime& d)
{
    if (d.isValid() && d.timeSpec() != Qt::UTC)
        d = QDateTime(d.date(), d.time(), Qt::UTC);
}

// Whether element lines are those of this satellite (its catalogue number in line 1).
bool Righe_Del_Satellite(const RigaDati& r, const Satelement& s)
{
    return r.Riga1.size() >= 7 && !s.NumeroCatalogo.empty() &&
           vb::Trim(QString::fromStdString(r.Riga1.substr(2, 5))) == vb::Trim(QString::fromStdString(s.NumeroCatalogo));
}

} // namespace

// ================================================================ window

frmSkySat::frmSkySat(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSkySat"));
    setAttribute(Qt::WA_DeleteOnClose);
    mudtPuntiTraccia.resize(1);
    mudtEtichette.resize(1);
    m_picture1 = new platform::CanvasWidget(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->canvas().setBackColor(kNero);
    m_picture1->canvas().Scale(-100, 100, 100, -100);
    connect(m_picture1, &platform::CanvasWidget::MouseDown, this, &frmSkySat::Picture1_MouseDown);
    connect(m_picture1, &platform::CanvasWidget::MouseMove, this, &frmSkySat::Picture1_MouseMove);
    connect(m_picture1, &platform::CanvasWidget::MouseUp, this, &frmSkySat::Picture1_MouseUp);
    m_pittore = std::make_unique<common::PittoreCielo>(m_picture1->canvas(), m_cielo, m_posizioni, m_opzioni);
    resize(kLarghezza, kAltezza);
}

frmSkySat::~frmSkySat() = default;

QSize frmSkySat::sizeHint() const
{
    return {kLarghezza, kAltezza};
}

QSize frmSkySat::minimumSizeHint() const
{
    return {240, 240};
}

void frmSkySat::Apri(const core::RecordPassaggio& passaggio, double jdMappa)
{
    mudtSatellite = passaggio.elementi;
    mudtRighe = passaggio.righe;
    m_passaggioDato = true;
    gvarTempoInizio = mAstro::Data_Da_Giuliano(passaggio.jdSorgere);
    gvarTempoCulmine = mAstro::Data_Da_Giuliano(passaggio.jdCulmine);
    gvarTempoFine = mAstro::Data_Da_Giuliano(passaggio.jdTramonto);
    gvarTempoMappa = mAstro::Data_Da_Giuliano(jdMappa);
}

void frmSkySat::Mostra()
{
    Form_Load();
    if (MainWindowLink* main = MainWindowLink::instance()) {
        QMdiSubWindow* frame = main->addChild(this);
        if (frame) {
            frame->resize(frame->sizeHint().expandedTo(QSize(kLarghezza, kAltezza)));
            frame->show();
        }
        show();
    } else {
        show();
    }
}

void frmSkySat::Form_Load()
{
    if (m_caricata)
        return;
    m_caricata = true;
    for (QDateTime* d : {&gvarTempoMappa, &gvarTempoInizio, &gvarTempoCulmine, &gvarTempoFine})
        Senza_Fuso(*d);
    mudtEtichette.assign(1, {});
    if (!m_passaggioDato) {
        // The satellite of slot 201, with the element lines of slot 201 or of
        // the slot it came from only when they are its own: another window
        // may have left another satellite's lines there.
        mudtSatellite = gudtSatelementi[kSlotScratch];
        mudtRighe = {};
        for (int slot : {int(kSlotScratch), gintSatelliteCalcolo})
            if (slot >= 1 && slot < kSlotArray && mudtRighe.Riga1.empty() &&
                Righe_Del_Satellite(gudtRigheAttive[slot], mudtSatellite))
                mudtRighe = gudtRigheAttive[slot];
    }
    setWindowTitle(vb::Trim(QString::fromStdString(mudtSatellite.Nome)) + QStringLiteral(" - ") +
                   passes::Data_Generale(gvarTempoMappa) + QLatin1Char(' ') + T("Def", "oralocale"));
    // A missing or unreadable landscape leaves the layer without a picture.
    picBackground = platform::loadPicture(QDir(mLang::Cartella_Programma()).filePath(QStringLiteral("landscape.dat")));
    m_picture1->canvas().Scale(-100, 100, 100, -100);

    impmnuSkySatGriglia = gblnAnteprimaGriglia;
    impmnuSkySatPaesaggio = gblnAnteprimaPaesaggio;
    impmnuSkySatOggettiCostellazioni = gblnAnteprimaCostellazioniLinee;
    impmnuSkySatEtichetteCostellazioni = gblnAnteprimaCostellazioniNomi;
    impmnuSkySatOggettiPianeti = gblnAnteprimaPianeti;
    impmnuSkySatOggettiSoleLuna = gblnAnteprimaSoleLuna;
    impmnuSkySatEtichettePianeti = gblnAnteprimaPianetiNomi;
    impmnuSkySatEtichetteSoleLuna = gblnAnteprimaSoleLunaNomi;
    impmnuSkySatProiezStereo = gblnAnteprimaProiezioneStereo;
    impmnuSkySatProiezNormale = !impmnuSkySatProiezStereo;
    impmnuSkySatOrientamentoNord = impmnuSkySatOrientamentoSud = false;
    impmnuSkySatOrientamentoOvest = impmnuSkySatOrientamentoEst = false;
    switch (gintAnteprimaOrientamento) {
    case 0: impmnuSkySatOrientamentoNord = true; break;
    case 2: impmnuSkySatOrientamentoOvest = true; break;
    case 3: impmnuSkySatOrientamentoEst = true; break;
    default: impmnuSkySatOrientamentoSud = true; break; // 1, and any value out of range
    }
    gintNumStelle = std::clamp(gintAnteprimaStelle, 0, static_cast<int>(gudtStelle.size()) - 1);
}

void frmSkySat::showEvent(QShowEvent* event)
{
    // Shown without Mostra(): the resize came before the load, so draw now.
    const bool caricata = m_caricata;
    Form_Load();
    QWidget::showEvent(event);
    if (!caricata)
        Form_Resize();
}

void frmSkySat::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// The compass labels take the colour of button faces as the palette has it
// when they are drawn: when it changes (night colours on or off), the map
// is drawn again, its annotations kept, so that it shows the look of the
// moment rather than the one it was drawn in.
void frmSkySat::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_cielo.valido && !m_disegno
        && Opzioni().coloreBussola != m_opzioni.coloreBussola)
        Genera_mappa(false);
}

void frmSkySat::Form_Resize()
{
    const int lato = std::max(1, std::min(width(), height()));
    m_picture1->setGeometry((width() - lato) / 2, (height() - lato) / 2, lato, lato);
    if (m_picture1->canvas().pixelSize() != QSize(lato, lato))
        m_picture1->canvas().resize(QSize(lato, lato));
    if (m_caricata)
        Genera_mappa(false);
}

// ================================================================ projection

int frmSkySat::Orientamento() const
{
    if (impmnuSkySatOrientamentoSud)
        return 0;
    if (impmnuSkySatOrientamentoEst)
        return 1;
    if (impmnuSkySatOrientamentoNord)
        return 2;
    if (impmnuSkySatOrientamentoOvest)
        return 3;
    return 0;
}

void frmSkySat::Mappatura(double azimuth, double altezza, float& x, float& y) const
{
    common::Mappatura(Orientamento(), impmnuSkySatProiezStereo, azimuth, altezza, x, y);
}

void frmSkySat::Mappatura_inversa(float x, float y, double& azimuth, double& altezza) const
{
    common::Mappatura_inversa(Orientamento(), impmnuSkySatProiezStereo, x, y, azimuth, altezza);
}

common::OpzioniCielo frmSkySat::Opzioni() const
{
    common::OpzioniCielo o;
    o.orientamento = Orientamento();
    o.stereografica = impmnuSkySatProiezStereo;
    o.numStelle = gintNumStelle;
    o.griglia = impmnuSkySatGriglia;
    o.grigliaTipo = gblnAnteprimaGrigliaTipo;
    o.griglia10 = gblnAnteprimaGriglia10;
    o.effettoOrizzonte = gblnAnteprimaEffettoOrizzonte;
    o.lineeCostellazioni = impmnuSkySatOggettiCostellazioni;
    o.nomiCostellazioni = impmnuSkySatEtichetteCostellazioni;
    o.soleLuna = impmnuSkySatOggettiSoleLuna;
    o.nomiSoleLuna = impmnuSkySatEtichetteSoleLuna;
    o.pianeti = impmnuSkySatOggettiPianeti;
    o.nomiPianeti = impmnuSkySatEtichettePianeti;
    o.coloriGriglia = {vb::RGB(140, 140, 140), vb::RGB(120, 120, 120), vb::RGB(120, 120, 120), vb::RGB(100, 100, 100)};
    o.coloreLinee = static_cast<std::uint32_t>(glngColoreCostellazioniLinee);
    o.coloreNomi = kRosso;
    o.coloreBussola = vb::fromQColor(QApplication::palette().color(QPalette::Button));
    return o;
}

void frmSkySat::Calcola_coordinate_altazimutali()
{
    m_posizioni = common::Calcola_Posizioni(m_cielo, Orientamento(), impmnuSkySatProiezStereo, gintNumStelle);
}

// ================================================================ the chart

// The track keeps the schedule of an automatic listing.
QDateTime frmSkySat::Inizio_Traccia(const QDateTime& inizio)
{
    return listings::Inizio_Automatico(inizio);
}

int frmSkySat::Passo_Traccia(long long minuti)
{
    return static_cast<int>(listings::Passo_Automatico(minuti));
}

QString frmSkySat::Testo_Etichetta(int i) const
{
    if (i < 1 || i >= static_cast<int>(mudtPuntiTraccia.size()))
        return {};
    const PuntoPassaggio& p = mudtPuntiTraccia[i];
    QString testo = vb::Format(p.Tempo, u"hh:mm:ss");
    if (!p.Magnitudine.isEmpty())
        testo += QLatin1Char(' ') + T("Def", "mag").toLower() + vb::Format(p.Magnitudine, u"#0.0");
    return testo;
}

void frmSkySat::Genera_mappa(bool arraynuovo)
{
    if (m_disegno)
        return; // a drawing already runs (a yield inside it); it draws the latest options
    m_disegno = true;
    for (QDateTime* d : {&gvarTempoMappa, &gvarTempoInizio, &gvarTempoCulmine, &gvarTempoFine})
        Senza_Fuso(*d);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    platform::Canvas& c = m_picture1->canvas();
    c.Scale(-100, 100, 100, -100);
    c.setAutoRedraw(true);
    c.Cls();

    // The sky at the map instant, in values of this window.
    m_cielo = core::Calcola_Cielo(gvarTempoMappa);
    m_opzioni = Opzioni();
    if (m_cielo.valido) {
        Calcola_coordinate_altazimutali();
        Disegna_sfondo();
        Disegna_punti_cardinali();
        if (impmnuSkySatGriglia)
            Disegna_griglia();
        if (impmnuSkySatOggettiCostellazioni)
            Disegna_linee_costellazioni();
        if (impmnuSkySatEtichetteCostellazioni)
            Disegna_nomi_costellazioni();
        Disegna_stelle();
        if (impmnuSkySatOggettiSoleLuna) {
            Disegna_pianeta(static_cast<float>(std::abs(c.scaleHeight()) / 70), kGiallo, mAstro::kSole);
            Disegna_luna();
        }
        if (impmnuSkySatOggettiPianeti)
            for (int n = 1; n <= 7; ++n)
                Disegna_pianeta(static_cast<float>(std::abs(c.scaleHeight()) / 200),
                                common::PittoreCielo::Colore_Pianeta(n), n);
        if (Elementi_Presenti(mudtSatellite))
            Disegna_traccia(arraynuovo);
    } else {
        c.setBackColor(kNero);
    }
    if (arraynuovo)
        mudtEtichette.assign(1, {});

    c.setAutoRedraw(false);
    QApplication::restoreOverrideCursor();
    m_picture1->update();
    m_disegno = false;
}

void frmSkySat::Disegna_traccia(bool arraynuovo)
{
    platform::Canvas& c = m_picture1->canvas();
    if (arraynuovo)
        mudtEtichette.assign(1, {});
    mudtPuntiTraccia.assign(1, {});
    c.setFillStyle(platform::Canvas::FillSolid);

    // The satellite at an instant, computed from the window's own copy.
    Valori v;
    auto calcola = [&](const QDateTime& t) {
        double jd = 0;
        return core::Giorno_Giuliano_Locale(t, jd) && core::Calcola_Satellite(mudtSatellite, jd, v, &m_modello);
    };
    const double scala = std::abs(c.scaleHeight());
    float x = 0, y = 0;
    bool primo = !calcola(gvarTempoInizio);
    if (!primo)
        Mappatura(v.Azimuth, v.Altezza, x, y);
    c.setCurrentX(x);
    c.setCurrentY(y);

    if (gvarTempoInizio.isValid() && gvarTempoFine.isValid()) {
        QDateTime t = Inizio_Traccia(gvarTempoInizio);
        const int passo = Passo_Traccia(Minuti_Tra(t, gvarTempoFine));
        for (int passi = 0; t < gvarTempoFine && passi < kMaxPuntiTraccia; ++passi) {
            t = t.addSecs(passo);
            if (!calcola(t))
                continue; // no state at this instant: no point, the line joins the next one
            PuntoPassaggio p;
            Mappatura(v.Azimuth, v.Altezza, p.X, p.Y);
            p.Tempo = t;
            p.DataOra = passes::Data_Generale(t);
            if (v.Stato != StatoEclisse) {
                // In storage form, which the label reads back as a number
                // whatever the desk's decimal separator.
                if (v.Magnitudine.isNumber())
                    p.Magnitudine = vb::CStrC(v.Magnitudine.valore);
                else if (v.Magnitudine.isUnknown())
                    p.Magnitudine = QStringLiteral("???");
            }
            p.Azimuth = v.Azimuth;
            p.Altezza = v.Altezza;
            p.Stato = v.Stato;
            const std::uint32_t colore = v.Stato == StatoEclisse ? kRosso : kGiallo;
            if (primo) { // no state at the start: the track starts at its first point
                c.setCurrentX(p.X);
                c.setCurrentY(p.Y);
            }
            primo = false;
            c.LineTo(p.X, p.Y, colore);
            c.setFillColor(colore);
            c.Circle(p.X, p.Y, scala / 400, colore);
            c.setCurrentX(p.X);
            c.setCurrentY(p.Y);
            mudtPuntiTraccia.push_back(p);
        }
    }

    if (impmnuSkySatPaesaggio)
        Disegna_paesaggio();

    // The satellite's symbol at the first point, its corner left of and above it.
    if (mudtPuntiTraccia.size() > 1) {
        const PuntoPassaggio& p1 = mudtPuntiTraccia[1];
        const QImage icona = common::Immagine_Satellite(common::Indice_Satellite(mudtSatellite.NumeroCatalogo, p1.Stato, false));
        const double w = c.scaleWidth() * 0.35 / (c.width() / vb::PixelsToHimetric(icona.width()));
        const double h = c.scaleHeight() * 0.35 / (c.height() / vb::PixelsToHimetric(icona.height()));
        c.PaintPicture(icona, p1.X - w, p1.Y - h);
    }

    // The annotations at their sky positions.
    c.setForeColor(kBianco);
    for (std::size_t k = 1; k < mudtEtichette.size(); ++k) {
        const EtichettaAltazimutale& e = mudtEtichette[k];
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        Mappatura(e.AzimuthPunto, e.AltezzaPunto, x1, y1);
        Mappatura(e.AzimuthTesto, e.AltezzaTesto, x2, y2);
        c.Line(x1, y1, x2, y2, kBianco);
        c.setCurrentX(x2);
        c.setCurrentY(y2 > y1 ? y2 + 5 : y2);
        c.Print(Testo_Etichetta(e.Punto));
    }
}

// The layers, drawn by the painter of the observer's sky with this window's options.
void frmSkySat::Disegna_sfondo() { m_pittore->Disegna_sfondo(); }
void frmSkySat::Disegna_punti_cardinali() { m_pittore->Disegna_punti_cardinali(); }
void frmSkySat::Disegna_griglia() { m_pittore->Disegna_griglia(); }
void frmSkySat::Disegna_linee_costellazioni() { m_pittore->Disegna_linee_costellazioni(); }
void frmSkySat::Disegna_nomi_costellazioni() { m_pittore->Disegna_nomi_costellazioni(); }
void frmSkySat::Disegna_stelle() { m_pittore->Disegna_stelle(); }
void frmSkySat::Disegna_pianeta(float size, std::uint32_t colour, int n) { m_pittore->Disegna_pianeta(size, colour, n); }
void frmSkySat::Disegna_luna() { m_pittore->Disegna_luna(); }

void frmSkySat::Disegna_paesaggio()
{
    if (gblnAnteprimaPaesaggio)
        m_pittore->Disegna_paesaggio(picBackground);
}

bool* frmSkySat::Opzione(const QString& voce)
{
    bool* const opzioni[14] = {
        &impmnuSkySatGriglia,            &impmnuSkySatPaesaggio,
        &impmnuSkySatEtichettePianeti,   &impmnuSkySatEtichetteSoleLuna,
        &impmnuSkySatEtichetteCostellazioni, &impmnuSkySatOggettiPianeti,
        &impmnuSkySatOggettiSoleLuna,    &impmnuSkySatOggettiCostellazioni,
        &impmnuSkySatProiezStereo,       &impmnuSkySatProiezNormale,
        &impmnuSkySatOrientamentoNord,   &impmnuSkySatOrientamentoSud,
        &impmnuSkySatOrientamentoOvest,  &impmnuSkySatOrientamentoEst,
    };
    for (int i = 0; i < 14; ++i)
        if (voce == QLatin1String(passes::kOpzioni[i]))
            return opzioni[i];
    return nullptr;
}

// ================================================================ mouse

void frmSkySat::Mostra_menu()
{
    MainWindowLink* main = MainWindowLink::instance();
    if (!main)
        return;
    for (const char* nome : passes::kOpzioni) {
        if (QAction* a = main->menuItem(QString::fromLatin1(nome))) {
            a->setCheckable(true);
            if (const bool* v = Opzione(QString::fromLatin1(nome)))
                a->setChecked(*v);
        }
    }
    if (QMenu* m = main->menu(QStringLiteral("mnuSkySat")))
        m->exec(QCursor::pos());
}

void frmSkySat::Picture1_MouseDown(int button, int /*shift*/, double x, double y)
{
    msngPuntoX = msngPuntoY = 0;
    mblnPuntoScelto = false;
    if (button == 2) {
        // The options menu; a right press pins nothing.
        Mostra_menu();
        return;
    }
    mintPuntoScelto = 0;
    if (x <= -100 || x >= 100 || y <= -100 || y >= 100)
        return;
    double migliore = 99999;
    for (std::size_t i = 1; i < mudtPuntiTraccia.size(); ++i) {
        const double d = (x - mudtPuntiTraccia[i].X) * (x - mudtPuntiTraccia[i].X) +
                         (y - mudtPuntiTraccia[i].Y) * (y - mudtPuntiTraccia[i].Y);
        if (d < migliore) {
            migliore = d;
            mintPuntoScelto = static_cast<int>(i);
        }
    }
    if (migliore >= 10)
        return;
    platform::Canvas& c = m_picture1->canvas();
    const PuntoPassaggio& p = mudtPuntiTraccia[mintPuntoScelto];
    c.setCurrentX(p.X);
    c.setCurrentY(p.Y);
    c.setForeColor(kBianco);
    msngPuntoX = p.X;
    msngPuntoY = p.Y;
    mblnPuntoScelto = true;
}

void frmSkySat::Picture1_MouseMove(int button, int /*shift*/, double x, double y)
{
    if (!(button & 1) || !mblnPuntoScelto)
        return;
    platform::Canvas& c = m_picture1->canvas();
    c.setAutoRedraw(false);
    c.Cls();
    c.Line(msngPuntoX, msngPuntoY, x, y);
    m_picture1->update();
}

void frmSkySat::Picture1_MouseUp(int /*button*/, int /*shift*/, double x, double y)
{
    if (mblnPuntoScelto && mintPuntoScelto > 0 && mintPuntoScelto < static_cast<int>(mudtPuntiTraccia.size())) {
        platform::Canvas& c = m_picture1->canvas();
        const QString testo = Testo_Etichetta(mintPuntoScelto);
        c.setAutoRedraw(false);
        c.Cls(); // the rubber band goes
        c.setAutoRedraw(true);
        c.setForeColor(kBianco);
        c.Line(msngPuntoX, msngPuntoY, x, y, kBianco);
        c.setCurrentX(x);
        c.setCurrentY(y > msngPuntoY ? y + 5 : y);
        c.Print(testo);
        EtichettaAltazimutale e;
        double az = 0, h = 0;
        Mappatura_inversa(msngPuntoX, msngPuntoY, az, h);
        e.AzimuthPunto = static_cast<float>(az);
        e.AltezzaPunto = static_cast<float>(h);
        Mappatura_inversa(static_cast<float>(x), static_cast<float>(y), az, h);
        e.AzimuthTesto = static_cast<float>(az);
        e.AltezzaTesto = static_cast<float>(h);
        e.Punto = mintPuntoScelto;
        mudtEtichette.push_back(e);
        c.setAutoRedraw(false);
        m_picture1->update();
    }
}
