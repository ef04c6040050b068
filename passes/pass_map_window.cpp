#include "passes/pass_map_window.h"

#include "passes/pass_map_state.h"
#include "passes/pass_map_symbols.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/msat.h"
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

constexpr double kPi = 3.14159265;
constexpr double kDuePi = 6.2831853;
constexpr double kGradoRad = 0.0174532925;
constexpr double kRadGrado = 57.295779513;

constexpr std::uint32_t kGiallo = vb::RGB(255, 255, 0);
constexpr std::uint32_t kRosso = vb::RGB(255, 0, 0);
constexpr std::uint32_t kBianco = vb::RGB(255, 255, 255);
constexpr std::uint32_t kNero = vb::RGB(0, 0, 0);
constexpr std::uint32_t kOrizzonte = vb::RGB(140, 140, 140);
constexpr std::uint32_t kEtichettaCorpo = vb::RGB(180, 180, 180);
constexpr std::uint32_t kChiave = vb::RGB(0, 255, 0);

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

void frmSkySat::Imposta_Passaggio(const core::RecordPassaggio& passaggio)
{
    mudtSatellite = passaggio.elementi;
    mudtRighe = passaggio.righe;
    m_passaggioDato = true;
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
        mudtSatellite = gudtSatelementi[kSlotScratch];
        mudtRighe = gudtRigheAttive[kSlotScratch];
    }
    // The element text may have stayed in the satellite's own slot.
    if (!m_passaggioDato && mudtRighe.Riga1.empty() && gintSatelliteCalcolo >= 1 && gintSatelliteCalcolo < kSlotArray &&
        gudtSatelementi[gintSatelliteCalcolo].NumeroCatalogo == mudtSatellite.NumeroCatalogo)
        mudtRighe = gudtRigheAttive[gintSatelliteCalcolo];
    setWindowTitle(vb::Trim(QString::fromStdString(mudtSatellite.Nome)) + QStringLiteral(" - ") +
                   skysat::Data_Generale(gvarTempoMappa) + QLatin1Char(' ') + T("Def", "oralocale"));
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
    const int k = Orientamento();
    if (impmnuSkySatProiezStereo) {
        const double a = mMate::Modulus(90.0 * k + azimuth, 360.0) * kGradoRad;
        const double z = kPi / 4 - altezza * kGradoRad / 2;
        const double r = 90.0 * std::sin(z) / std::cos(z);
        x = static_cast<float>(r * std::sin(kDuePi - a));
        y = static_cast<float>(r * std::cos(kDuePi - a));
    } else {
        const double a = mMate::Modulus(90.0 * k + azimuth + 90.0, 360.0) * kGradoRad;
        x = static_cast<float>((90.0 - altezza) * std::cos(a));
        y = static_cast<float>((90.0 - altezza) * std::sin(a));
    }
}

void frmSkySat::Mappatura_inversa(float x, float y, double& azimuth, double& altezza) const
{
    const int k = Orientamento();
    const double r = std::hypot(double(x), double(y));
    const double a1 = mMate::Atan2_360(y, x);
    if (impmnuSkySatProiezStereo) {
        const double a = a1 >= kPi / 2 ? a1 - kPi / 2 : a1 + 3 * kPi / 2;
        const double w = std::atan(r / 90.0);
        altezza = (kPi - 4 * w) / 2 * kRadGrado;
        azimuth = mMate::Modulus(a * kRadGrado - 90.0 * k, 360.0);
    } else {
        altezza = 90.0 - r;
        azimuth = mMate::Modulus(a1 * kRadGrado - 90.0 * k - 90.0, 360.0);
    }
}

void frmSkySat::Calcola_coordinate_altazimutali()
{
    const int stelle = std::min<int>(gintNumStelle, static_cast<int>(gudtStelle.size()) - 1);
    for (int i = 1; i <= stelle; ++i) {
        Stella& s = gudtStelle[i];
        double az = 0, h = 0;
        mAstro::Equatoriali_Orizzontali(s.AscensioneRetta, s.Declinazione, az, h);
        s.Azimuth = static_cast<float>(az);
        s.Altezza = static_cast<float>(h);
        Mappatura(az, h, s.XMappa, s.YMappa);
    }
    for (std::size_t i = 1; i < gudtLineeCostellazioni.size(); ++i) {
        LineaCostellazione& l = gudtLineeCostellazioni[i];
        double az = 0, h = 0;
        mAstro::Equatoriali_Orizzontali(l.AscensioneRetta1, l.Declinazione1, az, h);
        l.Azimuth1 = static_cast<float>(az);
        l.Altezza1 = static_cast<float>(h);
        Mappatura(az, h, l.XMappa1, l.YMappa1);
        mAstro::Equatoriali_Orizzontali(l.AscensioneRetta2, l.Declinazione2, az, h);
        l.Azimuth2 = static_cast<float>(az);
        l.Altezza2 = static_cast<float>(h);
        Mappatura(az, h, l.XMappa2, l.YMappa2);
    }
    for (int n = 1; n <= 9; ++n)
        Mappatura(gudtCorpi[n].Azimuth, gudtCorpi[n].Altezza, gudtCorpi[n].XMappa, gudtCorpi[n].YMappa);
}

// ================================================================ the chart

QDateTime frmSkySat::Inizio_Traccia(const QDateTime& inizio)
{
    QDateTime t = inizio.addSecs(-15);
    const int s = t.time().second();
    if (s > 45)
        t = t.addSecs(-(s - 45));
    else if (s > 30)
        t = t.addSecs(-(s - 30));
    else if (s > 15)
        t = t.addSecs(-(s - 15));
    else
        t = t.addSecs(-s);
    return t;
}

int frmSkySat::Passo_Traccia(long long minuti)
{
    int passo = 120; // also for exactly 720 minutes
    if (minuti > 720)
        passo = 180;
    if (minuti < 720)
        passo = 120;
    if (minuti < 60)
        passo = 60;
    if (minuti < 20)
        passo = 30;
    if (minuti < 10)
        passo = 15;
    return passo;
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
    // The clock tick leaves slot 201, the time quantities and the body
    // table alone while the chart uses them; the flags come back as they
    // were, so a clock the user stopped stays stopped.
    core::FlagGuard centrale(pflgCentrale, false);
    core::FlagGuard satellite(pflgSatellite, false);
    skysat::StatoCondiviso condiviso;
    QApplication::setOverrideCursor(Qt::WaitCursor);

    platform::Canvas& c = m_picture1->canvas();
    c.Scale(-100, 100, 100, -100);
    c.setAutoRedraw(true);
    c.Cls();

    if (gvarTempoMappa.isValid() && mAstro::Aggiorna_Tempo(gvarTempoMappa)) {
        mAstro::Calcola_Sole();
        mAstro::Calcola_Luna();
        mAstro::Calcola_Pianeta();
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
            Disegna_pianeta(static_cast<float>(std::abs(c.scaleHeight()) / 70), kGiallo, 8);
            Disegna_luna();
        }
        if (impmnuSkySatOggettiPianeti) {
            static constexpr std::uint32_t colori[7] = {
                vb::RGB(255, 0, 255), vb::RGB(0, 255, 0),   vb::RGB(255, 0, 0), vb::RGB(128, 0, 0),
                vb::RGB(255, 255, 0), vb::RGB(0, 255, 255), vb::RGB(0, 0, 255)};
            for (int n = 1; n <= 7; ++n)
                Disegna_pianeta(static_cast<float>(std::abs(c.scaleHeight()) / 200), colori[n - 1], n);
        }
        if (!mudtSatellite.Nome.empty())
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
    gudtSatelementi[kSlotScratch] = mudtSatellite;
    gudtRigheAttive[kSlotScratch] = mudtRighe;
    if (arraynuovo)
        mudtEtichette.assign(1, {});
    mudtPuntiTraccia.assign(1, {});
    c.setFillStyle(platform::Canvas::FillSolid);

    const double scala = std::abs(c.scaleHeight());
    float x = 0, y = 0;
    bool primo = !(gvarTempoInizio.isValid() && mAstro::Aggiorna_Tempo(gvarTempoInizio) &&
                   mSat::Calcola_Satellite(kSlotScratch, gdblGiornoGiuliano));
    if (!primo)
        Mappatura(gudtValori[kSlotScratch].Azimuth, gudtValori[kSlotScratch].Altezza, x, y);
    c.setCurrentX(x);
    c.setCurrentY(y);

    if (gvarTempoInizio.isValid() && gvarTempoFine.isValid()) {
        QDateTime t = Inizio_Traccia(gvarTempoInizio);
        const int passo = Passo_Traccia(Minuti_Tra(t, gvarTempoFine));
        for (int passi = 0; t < gvarTempoFine && passi < kMaxPuntiTraccia; ++passi) {
            t = t.addSecs(passo);
            if (!mAstro::Aggiorna_Tempo(t) || !mSat::Calcola_Satellite(kSlotScratch, gdblGiornoGiuliano))
                continue; // no state at this instant: no point, the line joins the next one
            const Valori& v = gudtValori[kSlotScratch];
            PuntoPassaggio p;
            Mappatura(v.Azimuth, v.Altezza, p.X, p.Y);
            p.Tempo = t;
            p.DataOra = skysat::Data_Generale(t);
            if (v.Stato != StatoEclisse) {
                if (v.Magnitudine.isNumber())
                    p.Magnitudine = vb::CStr(v.Magnitudine.valore);
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
        const QImage icona = skysat::Simbolo_Satellite(QString::fromStdString(mudtSatellite.NumeroCatalogo), p1.Stato);
        // 0.35 of the picture's size in HiMetric units, read as twips.
        const double w = c.xUser(icona.width()) * 0.35 * 2540.0 / 1440.0;
        const double h = c.yUser(icona.height()) * 0.35 * 2540.0 / 1440.0;
        c.PaintPicture(icona, p1.X - w, p1.Y + h);
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

void frmSkySat::Disegna_sfondo()
{
    platform::Canvas& c = m_picture1->canvas();
    const double a = gudtCorpi[8].Altezza;
    std::uint32_t disco, primo, secondo;
    if (a > -6) {
        disco = vb::RGB(0, 0, 196); primo = vb::RGB(0, 0, 196); secondo = vb::RGB(0, 0, 148);
        mlngColoreGriglia = vb::RGB(140, 140, 140);
    } else if (a > -12) {
        disco = vb::RGB(0, 0, 148); primo = vb::RGB(0, 0, 148); secondo = vb::RGB(0, 0, 100);
        mlngColoreGriglia = vb::RGB(120, 120, 120);
    } else if (a > -18) {
        disco = vb::RGB(0, 0, 100); primo = vb::RGB(0, 0, 100); secondo = vb::RGB(0, 0, 71);
        mlngColoreGriglia = vb::RGB(120, 120, 120);
    } else {
        disco = vb::RGB(0, 0, 71); primo = vb::RGB(0, 0, 96); secondo = vb::RGB(0, 0, 0);
        mlngColoreGriglia = vb::RGB(100, 100, 100);
    }
    c.setBackColor(kNero);
    c.setFillStyle(platform::Canvas::FillSolid);
    if (gblnAnteprimaEffettoOrizzonte) {
        mGlobal::Riempi_Sfumato(c, primo, secondo, 0, 0, 90,
                                static_cast<float>(c.scaleWidth() / c.scaleHeight()), 256);
        c.setFillStyle(platform::Canvas::FillTransparent);
        c.Circle(0, 0, 90, kOrizzonte);
    } else {
        c.setFillColor(disco);
        c.Circle(0, 0, 90, kOrizzonte);
    }
}

void frmSkySat::Disegna_punti_cardinali()
{
    static constexpr float punti[12][2] = {{95, 2},    {78, 52},   {45, 86},   {-2, 98},
                                           {-56, 85},  {-89, 53},  {-100, 2},  {-92, -45},
                                           {-59, -78}, {-2, -92},  {45, -78},  {78, -45}};
    platform::Canvas& c = m_picture1->canvas();
    c.setForeColor(vb::fromQColor(QApplication::palette().color(QPalette::Button)));
    const int k = Orientamento();
    for (int i = 0; i < 12; ++i) {
        const int az = static_cast<int>(mMate::Modulus(270.0 + 30 * i - 90 * k, 360.0));
        c.setCurrentX(punti[i][0]);
        c.setCurrentY(punti[i][1]);
        c.Print(skysat::Testo_Azimut(az));
    }
}

void frmSkySat::Disegna_griglia()
{
    platform::Canvas& c = m_picture1->canvas();
    if (gblnAnteprimaGrigliaTipo == -1) {
        c.setFillStyle(platform::Canvas::FillTransparent);
        std::vector<double> altezze;
        if (gblnAnteprimaGriglia10)
            altezze.push_back(10);
        altezze.push_back(30);
        altezze.push_back(60);
        for (double h : altezze) {
            float x = 0, y = 0;
            Mappatura(0, h, x, y);
            c.Circle(0, 0, std::hypot(x, y), mlngColoreGriglia);
        }
        c.Line(-90, 0, 90, 0, mlngColoreGriglia);
        c.Line(0, -90, 0, 90, mlngColoreGriglia);
        return;
    }
    if (gblnAnteprimaGrigliaTipo != 0)
        return; // a type the options never write: no grid
    // Equatorial grid: every point of the hour and degree net converted once.
    struct Nodo { float x, y; double h; };
    std::vector<Nodo> rete(25 * 181);
    auto nodo = [&](int ora, int dec) -> Nodo& { return rete[ora * 181 + (dec + 90)]; };
    for (int ora = 0; ora <= 24; ++ora)
        for (int dec = -90; dec <= 90; ++dec) {
            double az = 0, h = 0;
            mAstro::Equatoriali_Orizzontali(ora, dec, az, h);
            Nodo& n = nodo(ora, dec);
            Mappatura(az, h, n.x, n.y);
            n.h = h;
        }
    auto segmento = [&](const Nodo& a, const Nodo& b) {
        if (a.h > 0 && b.h > 0) {
            c.Line(a.x, a.y, b.x, b.y, mlngColoreGriglia);
        } else if (a.h > 0 || b.h > 0) {
            const Nodo& su = a.h > 0 ? a : b;
            const Nodo& giu = a.h > 0 ? b : a;
            float x2 = giu.x, y2 = giu.y;
            mMate::Interseca_Orizzonte(su.x, su.y, x2, y2);
            c.Line(su.x, su.y, x2, y2, mlngColoreGriglia);
        }
    };
    for (int ora = 0; ora <= 23; ++ora)
        for (int dec = -90; dec <= 89; ++dec)
            segmento(nodo(ora, dec), nodo(ora, dec + 1));
    for (int ora = 0; ora <= 23; ++ora)
        for (int dec = -75; dec <= 75; dec += 15)
            segmento(nodo(ora, dec), nodo(ora + 1, dec));
}

void frmSkySat::Disegna_linee_costellazioni()
{
    platform::Canvas& c = m_picture1->canvas();
    const std::uint32_t colore = static_cast<std::uint32_t>(glngColoreCostellazioniLinee);
    for (std::size_t i = 1; i < gudtLineeCostellazioni.size(); ++i) {
        const LineaCostellazione& l = gudtLineeCostellazioni[i];
        const bool sotto1 = l.Altezza1 <= 0, sotto2 = l.Altezza2 <= 0;
        if (!sotto1 && !sotto2) {
            c.Line(l.XMappa1, l.YMappa1, l.XMappa2, l.YMappa2, colore);
        } else if ((sotto1 != sotto2) && l.Altezza1 * l.Altezza2 < 0) {
            float x1 = sotto1 ? l.XMappa2 : l.XMappa1, y1 = sotto1 ? l.YMappa2 : l.YMappa1;
            float x2 = sotto1 ? l.XMappa1 : l.XMappa2, y2 = sotto1 ? l.YMappa1 : l.YMappa2;
            mMate::Interseca_Orizzonte(x1, y1, x2, y2);
            c.Line(x1, y1, x2, y2, colore);
        }
    }
}

void frmSkySat::Disegna_nomi_costellazioni()
{
    platform::Canvas& c = m_picture1->canvas();
    c.setForeColor(kRosso);
    for (std::size_t i = 1; i < gudtNomiCostellazioni.size(); ++i) {
        const NomeCostellazione& n = gudtNomiCostellazioni[i];
        double az = 0, h = 0;
        mAstro::Equatoriali_Orizzontali(n.AscensioneRetta, n.Declinazione, az, h);
        if (h >= 0) {
            float x = 0, y = 0;
            Mappatura(az, h, x, y);
            c.setCurrentX(x);
            c.setCurrentY(y);
            c.Print(n.Sigla);
        }
    }
}

void frmSkySat::Disegna_stelle()
{
    platform::Canvas& c = m_picture1->canvas();
    const int stile = c.fillStyle();
    const std::uint32_t riempimento = c.fillColor();
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(kBianco);
    const int stelle = std::min<int>(gintNumStelle, static_cast<int>(gudtStelle.size()) - 1);
    for (int i = 1; i <= stelle; ++i) {
        const Stella& s = gudtStelle[i];
        if (s.Altezza <= 0)
            continue;
        if (i < 294)
            c.Circle(s.XMappa, s.YMappa, 0.2, kBianco);
        else if (i < 1640)
            c.PSet(s.XMappa, s.YMappa, vb::RGB(220, 220, 220));
        else
            c.PSet(s.XMappa, s.YMappa, vb::RGB(140, 140, 140));
    }
    c.setFillStyle(stile);
    c.setFillColor(riempimento);
}

void frmSkySat::Disegna_pianeta(float size, std::uint32_t colour, int n)
{
    const mAstro::CorpoCeleste& corpo = gudtCorpi[n];
    if (!(corpo.Altezza > 0))
        return;
    platform::Canvas& c = m_picture1->canvas();
    const float x = corpo.XMappa, y = corpo.YMappa;
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(colour);
    if (n != 8) {
        c.Circle(x, y, size, colour);
        c.setFillStyle(platform::Canvas::FillTransparent);
    } else {
        // About centred on the Sun: 0.29 and 0.27 of the picture's size in
        // HiMetric units, read as twips.
        const QImage sole = skysat::Simbolo_Sole();
        const double w = c.xUser(sole.width()) * 0.29 * 2540.0 / 1440.0;
        const double h = c.yUser(sole.height()) * 0.27 * 2540.0 / 1440.0;
        c.PaintPicture(sole, x - w, y + h);
    }
    if ((n < 8 && impmnuSkySatEtichettePianeti) || (n >= 8 && impmnuSkySatEtichetteSoleLuna)) {
        c.setCurrentX(x - size);
        c.setCurrentY(y - size);
        c.setForeColor(kEtichettaCorpo);
        const QString nome = mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(corpo.Nome));
        c.Print(n < 8 ? nome.left(3) : nome);
    }
}

void frmSkySat::Disegna_luna()
{
    const mAstro::CorpoCeleste& luna = gudtCorpi[9];
    if (!(luna.Altezza > 0))
        return;
    platform::Canvas& c = m_picture1->canvas();
    const float r = 200.0f / 70.0f;
    const float x = luna.XMappa, y = luna.YMappa;
    c.setFillStyle(platform::Canvas::FillSolid);
    skysat::Disegna_Fase_Lunare(c, x, y, r, skysat::Fase_Lunare(luna.Fase));
    c.setFillStyle(platform::Canvas::FillTransparent);
    c.Circle(x, y, r, kNero);
    if (impmnuSkySatEtichetteSoleLuna) {
        c.setCurrentX(x + r);
        c.setCurrentY(y + r);
        c.setForeColor(kEtichettaCorpo);
        c.Print(mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(luna.Nome)));
    }
}

void frmSkySat::Disegna_paesaggio()
{
    if (!gblnAnteprimaPaesaggio || picBackground.isNull())
        return;
    platform::Canvas& c = m_picture1->canvas();
    platform::Canvas source(c.pixelSize());
    source.Scale(-100, 100, 100, -100);
    source.setBackColor(kChiave);
    source.setAutoRedraw(true);
    source.Cls();
    // The picture fills the square that bounds the horizon circle.
    source.PaintPicture(picBackground, -90, -90, 180, 180);
    mTrasp::Blit_Trasparente(c, source, 0, 0, c.pixelSize().width(), c.pixelSize().height(), kChiave);
}

// ================================================================ mouse

void frmSkySat::Mostra_menu()
{
    MainWindowLink* main = MainWindowLink::instance();
    if (!main)
        return;
    for (const char* nome : skysat::kOpzioni) {
        if (QAction* a = main->menuItem(QString::fromLatin1(nome))) {
            a->setCheckable(true);
            a->setChecked(property((QStringLiteral("imp") + QString::fromLatin1(nome)).toLatin1().constData()).toBool());
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
    if (gdatDataCorrente.isValid())
        mAstro::Aggiorna_Tempo(gdatDataCorrente);
}
