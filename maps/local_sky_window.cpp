#include "maps/local_sky_window.h"
#include "maps/local_sky_menu.h"
#include "maps/local_sky_print.h"

#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mglobal.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "core/transit.h"
#include "platform/canvas_widget.h"
#include "platform/vb.h"
#include "common/window_helpers.h"
#include "common/main_window_link.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

using vb::RGB;
const QString kSezione = QStringLiteral("frmLocalSky");
const QString kCielo = QStringLiteral("Cielo locale");
constexpr int kLarghezzaRiquadro = 1935;

QPointer<frmLocalSky> g_istanza;

// The check mark of a menu item of the main window (false when there is none).


QString T(const QString& sezione, const char* chiave)
{
    return mLang::Testo_Lingua(sezione, QLatin1String(chiave));
}

// The hourglass pointer while the chart is drawn.
struct Clessidra {
    Clessidra() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Clessidra() { QApplication::restoreOverrideCursor(); }
    Clessidra(const Clessidra&) = delete;
    Clessidra& operator=(const Clessidra&) = delete;
};

} // namespace

// ---------------------------------------------------------------- life

frmLocalSky::frmLocalSky(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmLocalSky"));
    setAttribute(Qt::WA_DeleteOnClose, true);
    mGlobal::Registra_Finestra(this);

    Picture1 = new platform::CanvasWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setMouseTracking(true);
    QFont f(QStringLiteral("Sans Serif"));
    f.setPointSizeF(8.25);
    f.setBold(true);
    Picture1->canvas().setFont(f);
    Picture1->canvas().setBackColor(0);
    Picture1->installEventFilter(this);
    m_pittore = std::make_unique<common::PittoreCielo>(Picture1->canvas(), m_cielo, m_posizioni, m_opzioni);
    connect(Picture1, &platform::CanvasWidget::MouseDown, this, &frmLocalSky::Picture1_MouseDown);
    connect(Picture1, &platform::CanvasWidget::MouseMove, this, &frmLocalSky::Picture1_MouseMove);
    connect(Picture1, &platform::CanvasWidget::MouseUp, this, &frmLocalSky::Picture1_MouseUp);

    fraSatellitePrincipale = new common::RiquadroDati(this, font().pointSizeF() * 0.85, QMargins(2, 2, 2, 2), false);

    tmrLocalSky = new QTimer(this);
    tmrLocalSky->setObjectName(QStringLiteral("tmrLocalSky"));
    connect(tmrLocalSky, &QTimer::timeout, this, &frmLocalSky::tmrLocalSky_Timer);

    Form_Load();
}

frmLocalSky::~frmLocalSky()
{
    if (!m_chiuso)
        Form_Unload();
}

frmLocalSky* frmLocalSky::instance(bool create)
{
    if (!g_istanza && create)
        g_istanza = new frmLocalSky;
    return g_istanza;
}

std::function<void(int)>& frmLocalSky::mostraOggetto()
{
    static std::function<void(int)> f;
    return f;
}

void frmLocalSky::Form_Load()
{
    core::Svuota_Etichette();
    Lingua();
    // A missing or unreadable landscape leaves the chart without its landscape layer.
    picBackground = platform::loadPicture(mLang::Cartella_Programma() + QStringLiteral("/landscape.dat"));
    gsngLatoSx = -200;
    gsngLatoSy = 100;
    gsngLatoDx = 200;
    gsngLatoDy = -100;
    gblnZoom = false;

    // Only -1 selects the stereographic projection; any other stored value the other one.
    const bool stereo = gblnLocaleProiezioneStereo == -1;
    maps::cielo::Spunta("mnuLocalSkyGriglia", gblnLocaleGriglia);
    maps::cielo::Spunta("mnuLocalSkyPaesaggio", gblnLocalePaesaggio);
    maps::cielo::Spunta("mnuLocalSkyOggettiCostellazioni", gblnLocaleCostellazioniLinee);
    maps::cielo::Spunta("mnuLocalSkyEtichetteCostellazioni", gblnLocaleCostellazioniNomi);
    maps::cielo::Spunta("mnuLocalSkyOggettiPianeti", gblnLocalePianeti);
    maps::cielo::Spunta("mnuLocalSkyOggettiSoleLuna", gblnLocaleSoleLuna);
    maps::cielo::Spunta("mnuLocalSkyEtichettePianeti", gblnLocalePianetiNomi);
    maps::cielo::Spunta("mnuLocalSkyEtichetteSoleLuna", gblnLocaleSoleLunaNomi);
    maps::cielo::Spunta("mnuLocalSkyRiquadroDati", gblnLocaleRiquadroDati);
    maps::cielo::Spunta("mnuLocalSkyProiezStereo", stereo);
    maps::cielo::Spunta("mnuLocalSkyProiezNormale", !stereo);
    static const char* const orientamenti[4] = {"mnuLocalSkyOrientamentoNord", "mnuLocalSkyOrientamentoSud",
                                                "mnuLocalSkyOrientamentoOvest", "mnuLocalSkyOrientamentoEst"};
    if (gintLocaleOrientamento >= 0 && gintLocaleOrientamento <= 3)
        for (int i = 0; i < 4; ++i)
            maps::cielo::Spunta(orientamenti[i], i == gintLocaleOrientamento);
    maps::cielo::Spunta("mnuLocalSkyCoordOrizz", gblnLocaleCoordinateAltazimutali);
    maps::cielo::Spunta("mnuLocalSkyCoordEquat", !gblnLocaleCoordinateAltazimutali);

    // The projection needs a count within the star table.
    gintNumStelle = std::clamp(gintLocaleStelle, 1, std::max(1, int(gudtStelle.size()) - 1));

    int sinistra = 0, alto = 0, larghezza = 10665, altezza = 6870;
    if (gblnPosizioniFinestre) {
        auto leggi = [](const char* chiave, const char* def) {
            const QString t = mReg::Leggi_Impostazione(QStringLiteral("Astrovela"), kCielo,
                                                       QLatin1String(chiave), QLatin1String(def));
            return int(vb::Val(t));
        };
        sinistra = leggi("Window_Left", "0");
        alto = leggi("Window_Top", "0");
        larghezza = leggi("Window_Width", "10665");
        altezza = leggi("Window_Height", "6870");
    }
    posizione = QRect(vb::TwipsToPixels(sinistra), vb::TwipsToPixels(alto),
                      std::max(200, vb::TwipsToPixels(larghezza)), std::max(150, vb::TwipsToPixels(altezza)));
    spostaAllaPosizione = gblnPosizioniFinestre;
    resize(posizione.size());

    m_larghezzaRiquadro = gblnLocaleRiquadroDati ? kLarghezzaRiquadro : 0;
    Imposta_Puntatore(1);
    tmrLocalSky->setInterval(60000);
    tmrLocalSky->start();
    core::clockViews().localSky = this;
    m_inCaricamento = false;
}

void frmLocalSky::Lingua()
{
    m_titolo = T(kSezione, "mappalocale");
    m_oraLocale = T(QStringLiteral("Def"), "oralocale");
    setWindowTitle(m_titolo);
    fraSatellitePrincipale->Lingua(T(kSezione, "satelliteprincipale"));
}

void frmLocalSky::Form_Unload()
{
    m_chiuso = true;
    tmrLocalSky->stop();
    if (core::clockViews().localSky == this)
        core::clockViews().localSky = nullptr;
    maps::cielo::Spunta("mnuLocalSkyZoom", false);
    maps::cielo::Spunta("mnuLocalSkyTempi", false);
    maps::cielo::Spunta("mnuLocalSkyTransitoPrincipale", false);
    if (MainWindowLink* m = MainWindowLink::instance()) {
        if (QToolButton* b = m->toolButton(QStringLiteral("Transit"))) {
            b->setCheckable(true);
            b->setChecked(false);
        }
        if (QMenu* menu = m->menu(QStringLiteral("mnuLocalSky")))
            menu->menuAction()->setVisible(false);
    }
    QWidget* cornice = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    if (!cornice->isMinimized()) {
        const QRect r = cornice->geometry();
        auto salva = [](const char* chiave, double twips) {
            try {
                mReg::Salva_Impostazione(QStringLiteral("Astrovela"), kCielo, QLatin1String(chiave),
                                         vb::Str(float(twips)));
            } catch (const mReg::RegistryError&) {
                // The placement is a convenience: a store that refuses it changes nothing else.
            }
        };
        salva("Window_Left", vb::PixelsToTwips(r.x()));
        salva("Window_Top", vb::PixelsToTwips(r.y()));
        salva("Window_Width", vb::PixelsToTwips(r.width()));
        salva("Window_Height", vb::PixelsToTwips(r.height()));
    }
}

bool frmLocalSky::eventFilter(QObject* watched, QEvent* event)
{
    // The coordinates under the pointer go when it leaves the chart: the
    // caption is the chart's title and date again.
    if (watched == Picture1 && event->type() == QEvent::Leave && !m_testoData.isEmpty())
        setWindowTitle(m_titolo + QStringLiteral(" - ") + m_testoData + QLatin1Char(' ') + m_oraLocale);
    return QWidget::eventFilter(watched, event);
}

void frmLocalSky::closeEvent(QCloseEvent* event)
{
    if (!m_chiuso)
        Form_Unload();
    event->accept();
}

void frmLocalSky::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_inCaricamento)
        Form_Resize();
}

void frmLocalSky::Form_Resize()
{
    const int W = width(), H = height();
    const int F = vb::TwipsToPixels(m_larghezzaRiquadro);
    const int margine = 1; // 10 twips
    Picture1->setGeometry(margine, margine, std::max(1, W - margine - F), std::max(1, H - margine));
    fraSatellitePrincipale->setGeometry(Picture1->width() + 2, margine, F, Picture1->height());
    fraSatellitePrincipale->setVisible(F > 0);
    Picture1->canvas().resize(Picture1->size());
    Genera_mappa();
}

platform::Canvas& frmLocalSky::canvas() const
{
    return Picture1->canvas();
}

// ---------------------------------------------------------------- geometry

int frmLocalSky::orientamento() const
{
    if (maps::cielo::Spunta("mnuLocalSkyOrientamentoSud"))
        return common::kSud;
    if (maps::cielo::Spunta("mnuLocalSkyOrientamentoEst"))
        return common::kEst;
    if (maps::cielo::Spunta("mnuLocalSkyOrientamentoNord"))
        return common::kNord;
    if (maps::cielo::Spunta("mnuLocalSkyOrientamentoOvest"))
        return common::kOvest;
    return common::kSud;
}

bool frmLocalSky::stereografica() const
{
    return maps::cielo::Spunta("mnuLocalSkyProiezStereo");
}

void frmLocalSky::Mappatura(double azimuth, double altitude, float& x, float& y) const
{
    common::Mappatura(orientamento(), stereografica(), azimuth, altitude, x, y);
}

void frmLocalSky::Mappatura_inversa(float x, float y, double& azimuth, double& altitude) const
{
    common::Mappatura_inversa(orientamento(), stereografica(), x, y, azimuth, altitude);
}

void frmLocalSky::Imposta_scala()
{
    const platform::Canvas& c = canvas();
    m_aspetto = c.height() > 0 ? c.width() / c.height() : 1;
    if (!gblnZoom) {
        const common::Finestra f = common::Finestra_Da_Aspetto(m_aspetto);
        gsngLatoSx = f.sx;
        gsngLatoSy = f.sy;
        gsngLatoDx = f.dx;
        gsngLatoDy = f.dy;
    }
    canvas().Scale(gsngLatoSx, gsngLatoSy, gsngLatoDx, gsngLatoDy);
}

common::OpzioniCielo frmLocalSky::Opzioni() const
{
    common::OpzioniCielo o = maps::cielo::Opzioni_Menu(orientamento(), stereografica());
    o.numStelle = gintNumStelle;
    o.grigliaTipo = gblnLocaleGrigliaTipo;
    o.griglia10 = gblnLocaleGriglia10;
    o.effettoOrizzonte = gblnLocaleEffettoOrizzonte;
    o.nomiInteri = gblnZoom;
    o.coloriGriglia = {std::uint32_t(glngColoreGrigliaLocale1), std::uint32_t(glngColoreGrigliaLocale2),
                       std::uint32_t(glngColoreGrigliaLocale3), std::uint32_t(glngColoreGrigliaLocale4)};
    o.coloreLinee = std::uint32_t(glngColoreCostellazioniLinee);
    o.coloreNomi = std::uint32_t(glngColoreCostellazioniNomi);
    o.coloreBussola = RGB(212, 208, 200);
    return o;
}

void frmLocalSky::Calcola_posizioni()
{
    // The chart's own places, kept in the shared tables for the pointer and
    // the pass of the principal satellite.
    m_posizioni = common::Calcola_Posizioni(m_cielo, orientamento(), stereografica(), gintNumStelle);
    for (std::size_t i = 1; i < m_posizioni.stelle.size(); ++i) {
        const common::PuntoCielo& p = m_posizioni.stelle[i];
        Stella& s = gudtStelle[i];
        s.Azimuth = float(p.azimuth);
        s.Altezza = float(p.altezza);
        s.XMappa = p.x;
        s.YMappa = p.y;
    }
    for (std::size_t j = 1; j < m_posizioni.linee.size(); ++j) {
        const auto& p = m_posizioni.linee[j];
        LineaCostellazione& l = gudtLineeCostellazioni[j];
        l.Azimuth1 = float(p[0].azimuth);
        l.Altezza1 = float(p[0].altezza);
        l.XMappa1 = p[0].x;
        l.YMappa1 = p[0].y;
        l.Azimuth2 = float(p[1].azimuth);
        l.Altezza2 = float(p[1].altezza);
        l.XMappa2 = p[1].x;
        l.YMappa2 = p[1].y;
    }
    for (int b = 1; b <= 9; ++b) {
        gudtCorpi[b].XMappa = m_posizioni.corpi[b].x;
        gudtCorpi[b].YMappa = m_posizioni.corpi[b].y;
    }
}

// ---------------------------------------------------------------- layers

void frmLocalSky::Genera_mappa()
{
    if (m_chiuso)
        return;
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    mAstro::Calcola_Sole();
    mAstro::Calcola_Luna();
    mAstro::Calcola_Pianeta();
    m_cielo = core::Cielo_Corrente();
    Calcola_posizioni();

    core::FlagGuard satelliti(pflgSatellite, false);
    Clessidra clessidra;
    platform::Canvas& c = canvas();
    m_testoData = vb::Format(gdatDataCorrente, u"dd mmm yyyy hh:mm");
    c.setAutoRedraw(true);
    c.setBackColor(RGB(0, 0, 0));
    c.Cls();
    Imposta_scala();
    m_opzioni = Opzioni();

    Disegna_sfondo();
    Disegna_punti_cardinali();
    if (m_opzioni.griglia)
        Disegna_griglia();
    if (m_opzioni.lineeCostellazioni)
        Disegna_linee_costellazioni();
    QFont f = c.font();
    f.setBold(false);
    c.setFont(f);
    if (m_opzioni.nomiCostellazioni)
        Disegna_nomi_costellazioni();
    Disegna_stelle();
    const double altezza = std::abs(c.scaleHeight());
    if (m_opzioni.soleLuna) {
        Disegna_pianeta(float(altezza / 70), RGB(255, 255, 0), mAstro::kSole);
        Disegna_luna();
    }
    if (m_opzioni.pianeti)
        for (int k = 1; k <= 7; ++k)
            Disegna_pianeta(float(altezza / 200), common::PittoreCielo::Colore_Pianeta(k), k);
    f.setBold(true);
    c.setFont(f);
    if (gudtValori[1].Altezza <= 0) {
        maps::cielo::Spunta("mnuLocalSkyTransitoPrincipale", false);
        maps::cielo::Spunta("mnuLocalSkyTempi", false);
        core::Svuota_Etichette();
        if (MainWindowLink* m = MainWindowLink::instance())
            if (QToolButton* b = m->toolButton(QStringLiteral("Transit")))
                b->setChecked(false);
    } else if (maps::cielo::Spunta("mnuLocalSkyTransitoPrincipale")) {
        Disegna_passaggio();
    }
    if (maps::cielo::Spunta("mnuLocalSkyPaesaggio"))
        Disegna_paesaggio();
    c.setAutoRedraw(false);
    setWindowTitle(m_titolo + QStringLiteral(" - ") + m_testoData + QLatin1Char(' ') + m_oraLocale);
}

void frmLocalSky::Disegna_sfondo()
{
    const platform::Canvas& c = canvas();
    m_rapportoCerchio = std::abs(c.scaleWidth() / (c.scaleHeight() * m_aspetto));
    if (!std::isfinite(m_rapportoCerchio) || m_rapportoCerchio <= 0)
        m_rapportoCerchio = 1;
    m_pittore->setRapportoCerchio(m_rapportoCerchio);
    m_pittore->Disegna_sfondo();
}

// The layers, drawn by the painter of the observer's sky with this window's options.
void frmLocalSky::Disegna_punti_cardinali() { m_pittore->Disegna_punti_cardinali(); }
void frmLocalSky::Disegna_griglia() { m_pittore->Disegna_griglia(); }
void frmLocalSky::Disegna_linee_costellazioni() { m_pittore->Disegna_linee_costellazioni(); }
void frmLocalSky::Disegna_nomi_costellazioni() { m_pittore->Disegna_nomi_costellazioni(); }
void frmLocalSky::Disegna_stelle() { m_pittore->Disegna_stelle(); }
void frmLocalSky::Disegna_pianeta(float size, std::uint32_t colour, int k) { m_pittore->Disegna_pianeta(size, colour, k); }
void frmLocalSky::Disegna_luna() { m_pittore->Disegna_luna(); }

void frmLocalSky::Disegna_paesaggio()
{
    if (gblnLocalePaesaggio)
        m_pittore->Disegna_paesaggio(picBackground);
}

// ---------------------------------------------------------------- satellites

bool frmLocalSky::soloPrincipale() const
{
    return maps::cielo::Spunta("mnuLocalSkySoloPrincipale");
}

void frmLocalSky::Disegna_satellite_in_cielo(int i)
{
    if (i < 1 || i >= kSlotArray)
        return;
    platform::Canvas& c = canvas();
    if (i == 1) {
        c.setAutoRedraw(false);
        c.Cls();
    }
    const Valori& v = gudtValori[i];
    if (v.Altezza <= 0)
        return;
    float x = 0, y = 0;
    Mappatura(v.Azimuth, v.Altezza, x, y);
    const QImage icona = common::Immagine_Satellite(common::Indice_Satellite(gudtSatelementi[i].NumeroCatalogo, v.Stato, i == 1));
    const double w = c.scaleWidth() * 0.35 / (c.width() / vb::PixelsToHimetric(icona.width()));
    const double h = c.scaleHeight() * 0.35 / (c.height() / vb::PixelsToHimetric(icona.height()));
    c.PaintPicture(icona, x - w, y - h);
    c.setForeColor(v.Stato == StatoEclisse ? RGB(255, 0, 0) : RGB(255, 255, 0));
    c.setCurrentX(x + w / 4);
    c.setCurrentY(y + h / 4);
    c.Print(QString::fromStdString(gudtSatelementi[i].Nome), false);
}

void frmLocalSky::Mostra_dati(const core::PrincipalTexts& t)
{
    fraSatellitePrincipale->Mostra_dati(t);
}

void frmLocalSky::Azzera_dati()
{
    canvas().setAutoRedraw(false);
    canvas().Cls();
    fraSatellitePrincipale->Azzera_dati();
}

void frmLocalSky::Disegna_passaggio()
{
    core::FlagGuard orologio(pflgCentrale, false);
    Clessidra clessidra;
    platform::Canvas& c = canvas();
    c.setFillStyle(platform::Canvas::FillSolid);
    const double r = std::abs(c.scaleHeight()) / 400;
    const int ultimo = core::Ultimo_Punto();
    // Each stretch takes the colour of the point it ends at (yellow sunlit,
    // red in the Earth's shadow); the last one, to the horizon, that of the
    // first sample below it. Every point with a time gets its dot, the
    // satellite's present place (point 1) too.
    auto colore = [](const core::PuntoPassaggio& p) {
        if (p.Colore == RGB(255, 255, 0) || p.Colore == RGB(255, 0, 0))
            return p.Colore;
        return !p.Magnitudine.isEmpty() ? RGB(255, 255, 0) : RGB(255, 0, 0);
    };
    auto punto = [&](const core::PuntoPassaggio& p) {
        if (p.Orario.isEmpty())
            return;
        c.setFillColor(colore(p));
        c.Circle(p.XMappa, p.YMappa, r, colore(p), std::nullopt, std::nullopt, m_rapportoCerchio);
    };
    if (ultimo >= 1)
        punto(gudtPuntiPassaggio[1]);
    for (int k = 1; k < ultimo; ++k) {
        const core::PuntoPassaggio& p = gudtPuntiPassaggio[k];
        const core::PuntoPassaggio& q = gudtPuntiPassaggio[k + 1];
        c.Line(p.XMappa, p.YMappa, q.XMappa, q.YMappa, colore(q));
        punto(q);
    }
    const QString mag = T(QStringLiteral("Def"), "mag");
    for (int j = 1; j <= core::Ultima_Etichetta(); ++j) {
        const core::EtichettaPassaggio& e = gudtEtichettePassaggio[j];
        if (e.Punto < 1 || e.Punto > ultimo)
            continue;
        c.Line(e.XPunto, e.YPunto, e.XEtichetta, e.YEtichetta, RGB(255, 255, 255));
        c.setCurrentX(e.XEtichetta);
        c.setCurrentY(e.YEtichetta <= e.YPunto ? e.YEtichetta
                                               : e.YEtichetta + std::abs(c.scaleHeight() / 30));
        c.setForeColor(RGB(255, 255, 255));
        c.Print(core::Testo_Etichetta(gudtPuntiPassaggio[e.Punto], mag), false);
    }
    c.setFillStyle(platform::Canvas::FillTransparent);
}
