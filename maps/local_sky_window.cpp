#include "maps/local_sky_window.h"

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
#include "maps/local_sky_icons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
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
bool spunta(const char* nome)
{
    MainWindowLink* m = MainWindowLink::instance();
    QAction* a = m ? m->menuItem(QLatin1String(nome)) : nullptr;
    return a && a->isChecked();
}

void spunta(const char* nome, bool on)
{
    MainWindowLink* m = MainWindowLink::instance();
    if (QAction* a = m ? m->menuItem(QLatin1String(nome)) : nullptr)
        a->setChecked(on);
}

QString T(const QString& sezione, const char* chiave)
{
    return mLang::Testo_Lingua(sezione, QLatin1String(chiave));
}

// The 16-colour palette entries the chart uses.
std::uint32_t QBColor(int i)
{
    static const std::uint32_t tavola[16] = {
        RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
        RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
        RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
    return tavola[i & 15];
}

// The hourglass pointer while the chart is drawn.
struct Clessidra {
    Clessidra() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Clessidra() { QApplication::restoreOverrideCursor(); }
    Clessidra(const Clessidra&) = delete;
    Clessidra& operator=(const Clessidra&) = delete;
};

// Planet colours of rows 1..7 (palette indices).
const int kColoriPianeti[8] = {0, 13, 10, 12, 4, 14, 11, 9};

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
    connect(Picture1, &platform::CanvasWidget::MouseDown, this, &frmLocalSky::Picture1_MouseDown);
    connect(Picture1, &platform::CanvasWidget::MouseMove, this, &frmLocalSky::Picture1_MouseMove);
    connect(Picture1, &platform::CanvasWidget::MouseUp, this, &frmLocalSky::Picture1_MouseUp);

    fraSatellitePrincipale = new QGroupBox(this);
    fraSatellitePrincipale->setObjectName(QStringLiteral("fraSatellitePrincipale"));
    auto* g = new QGridLayout(fraSatellitePrincipale);
    g->setContentsMargins(2, 2, 2, 2);
    g->setVerticalSpacing(1);
    g->setHorizontalSpacing(2);
    g->setColumnStretch(1, 1);
    QFont piccolo = fraSatellitePrincipale->font();
    piccolo.setPointSizeF(piccolo.pointSizeF() * 0.85);
    fraSatellitePrincipale->setFont(piccolo);
    auto coppia = [&](QLabel*& titolo, const char* nt, QLabel*& valore, const char* nv) {
        // The figures come first: a long title ("Range rate") breaks into
        // two lines rather than cut a figure.
        titolo = new QLabel(fraSatellitePrincipale);
        titolo->setObjectName(QLatin1String(nt));
        titolo->setTextFormat(Qt::PlainText);
        titolo->setWordWrap(true);
        valore = new QLabel(fraSatellitePrincipale);
        valore->setObjectName(QLatin1String(nv));
        valore->setTextFormat(Qt::PlainText);
        valore->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int r = g->rowCount();
        g->addWidget(titolo, r, 0);
        g->addWidget(valore, r, 1);
    };
    coppia(lblLat, "lblLat", lblLatitude, "lblLatitude");
    coppia(lblLon, "lblLon", lblLongitude, "lblLongitude");
    coppia(lblAlt, "lblAlt", lblAltitude, "lblAltitude");
    coppia(lblAz, "lblAz", lblAzimuth, "lblAzimuth");
    coppia(lblAR, "lblAR", lblAscension, "lblAscension");
    coppia(lblDec, "lblDec", lblDeclination, "lblDeclination");
    coppia(lblOrbita, "lblOrbita", lblOrbitNumber, "lblOrbitNumber");
    coppia(lblVarDist, "lblVarDist", lblRangeRate, "lblRangeRate");
    coppia(lblStato, "lblStato", lblState, "lblState");
    coppia(lblMag, "lblMag", lblMagnitude, "lblMagnitude");
    coppia(lblQuota, "lblQuota", lblHeight, "lblHeight");
    coppia(lblDista, "lblDista", lblRange, "lblRange");
    coppia(lblApg, "lblApg", lblApogee, "lblApogee");
    coppia(lblPrg, "lblPrg", lblPerigee, "lblPerigee");
    coppia(lblPrd, "lblPrd", lblPeriod, "lblPeriod");
    coppia(lblVel, "lblVel", lblVelocity, "lblVelocity");
    coppia(lblRicezione, "lblRicezione", lblRicez, "lblRicez");
    coppia(lblTrasmissione, "lblTrasmissione", lblTrasm, "lblTrasm");
    g->setRowStretch(g->rowCount(), 1);

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
    spunta("mnuLocalSkyGriglia", gblnLocaleGriglia);
    spunta("mnuLocalSkyPaesaggio", gblnLocalePaesaggio);
    spunta("mnuLocalSkyOggettiCostellazioni", gblnLocaleCostellazioniLinee);
    spunta("mnuLocalSkyEtichetteCostellazioni", gblnLocaleCostellazioniNomi);
    spunta("mnuLocalSkyOggettiPianeti", gblnLocalePianeti);
    spunta("mnuLocalSkyOggettiSoleLuna", gblnLocaleSoleLuna);
    spunta("mnuLocalSkyEtichettePianeti", gblnLocalePianetiNomi);
    spunta("mnuLocalSkyEtichetteSoleLuna", gblnLocaleSoleLunaNomi);
    spunta("mnuLocalSkyRiquadroDati", gblnLocaleRiquadroDati);
    spunta("mnuLocalSkyProiezStereo", stereo);
    spunta("mnuLocalSkyProiezNormale", !stereo);
    static const char* const orientamenti[4] = {"mnuLocalSkyOrientamentoNord", "mnuLocalSkyOrientamentoSud",
                                                "mnuLocalSkyOrientamentoOvest", "mnuLocalSkyOrientamentoEst"};
    if (gintLocaleOrientamento >= 0 && gintLocaleOrientamento <= 3)
        for (int i = 0; i < 4; ++i)
            spunta(orientamenti[i], i == gintLocaleOrientamento);
    spunta("mnuLocalSkyCoordOrizz", gblnLocaleCoordinateAltazimutali);
    spunta("mnuLocalSkyCoordEquat", !gblnLocaleCoordinateAltazimutali);

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
    const QString def = QStringLiteral("Def");
    const QString tip = QStringLiteral("ToolTips");
    struct Voce {
        QLabel* l;
        const char* k;
    };
    const Voce voci[] = {{lblLat, "lat"},       {lblLon, "lon"},    {lblAlt, "alt"},   {lblAz, "az"},
                         {lblAR, "ar"},         {lblDec, "dec"},    {lblOrbita, "orb"}, {lblVarDist, "var"},
                         {lblStato, "stato"},   {lblMag, "mag"},    {lblQuota, "hgt"}, {lblDista, "dist"},
                         {lblApg, "apg"},       {lblPrg, "prg"},    {lblPrd, "prd"},   {lblVel, "vel"},
                         {lblRicezione, "ricezione"}, {lblTrasmissione, "trasmissione"}};
    for (const Voce& v : voci) {
        v.l->setText(T(def, v.k));
        v.l->setToolTip(T(tip, v.k));
    }
    fraSatellitePrincipale->setTitle(T(kSezione, "satelliteprincipale"));
}

void frmLocalSky::Form_Unload()
{
    m_chiuso = true;
    tmrLocalSky->stop();
    if (core::clockViews().localSky == this)
        core::clockViews().localSky = nullptr;
    spunta("mnuLocalSkyZoom", false);
    spunta("mnuLocalSkyTempi", false);
    spunta("mnuLocalSkyTransitoPrincipale", false);
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

void frmLocalSky::Imposta_Puntatore(int immagine)
{
    Picture1->setCursor(views::cielo::Puntatore(immagine));
}

platform::Canvas& frmLocalSky::canvas() const
{
    return Picture1->canvas();
}

// ---------------------------------------------------------------- geometry

int frmLocalSky::orientamento() const
{
    if (spunta("mnuLocalSkyOrientamentoSud"))
        return views::cielo::kSud;
    if (spunta("mnuLocalSkyOrientamentoEst"))
        return views::cielo::kEst;
    if (spunta("mnuLocalSkyOrientamentoNord"))
        return views::cielo::kNord;
    if (spunta("mnuLocalSkyOrientamentoOvest"))
        return views::cielo::kOvest;
    return views::cielo::kSud;
}

bool frmLocalSky::stereografica() const
{
    return spunta("mnuLocalSkyProiezStereo");
}

void frmLocalSky::Mappatura(double azimuth, double altitude, float& x, float& y) const
{
    views::cielo::Mappatura(orientamento(), stereografica(), azimuth, altitude, x, y);
}

void frmLocalSky::Mappatura_inversa(float x, float y, double& azimuth, double& altitude) const
{
    views::cielo::Mappatura_inversa(orientamento(), stereografica(), x, y, azimuth, altitude);
}

void frmLocalSky::Imposta_scala()
{
    const platform::Canvas& c = canvas();
    m_aspetto = c.height() > 0 ? c.width() / c.height() : 1;
    if (!gblnZoom) {
        const views::cielo::Finestra f = views::cielo::Finestra_Da_Aspetto(m_aspetto);
        gsngLatoSx = f.sx;
        gsngLatoSy = f.sy;
        gsngLatoDx = f.dx;
        gsngLatoDy = f.dy;
    }
    canvas().Scale(gsngLatoSx, gsngLatoSy, gsngLatoDx, gsngLatoDy);
}

void frmLocalSky::Calcola_posizioni()
{
    const int k = orientamento();
    const bool stereo = stereografica();
    const int n = std::min<int>(gintNumStelle, int(gudtStelle.size()) - 1);
    for (int i = 1; i <= n; ++i) {
        Stella& s = gudtStelle[i];
        double az = 0, alt = 0;
        mAstro::Equatoriali_Orizzontali(s.AscensioneRetta, s.Declinazione, az, alt);
        s.Azimuth = float(az);
        s.Altezza = float(alt);
        views::cielo::Mappatura(k, stereo, az, alt, s.XMappa, s.YMappa);
    }
    for (std::size_t j = 1; j < gudtLineeCostellazioni.size(); ++j) {
        LineaCostellazione& l = gudtLineeCostellazioni[j];
        double az = 0, alt = 0;
        mAstro::Equatoriali_Orizzontali(l.AscensioneRetta1, l.Declinazione1, az, alt);
        l.Azimuth1 = float(az);
        l.Altezza1 = float(alt);
        views::cielo::Mappatura(k, stereo, az, alt, l.XMappa1, l.YMappa1);
        mAstro::Equatoriali_Orizzontali(l.AscensioneRetta2, l.Declinazione2, az, alt);
        l.Azimuth2 = float(az);
        l.Altezza2 = float(alt);
        views::cielo::Mappatura(k, stereo, az, alt, l.XMappa2, l.YMappa2);
    }
    for (int b = 1; b <= 9; ++b)
        views::cielo::Mappatura(k, stereo, gudtCorpi[b].Azimuth, gudtCorpi[b].Altezza, gudtCorpi[b].XMappa,
                                gudtCorpi[b].YMappa);
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
    Calcola_posizioni();

    core::FlagGuard satelliti(pflgSatellite, false);
    Clessidra clessidra;
    platform::Canvas& c = canvas();
    m_testoData = vb::Format(gdatDataCorrente, u"dd mmm yyyy hh:mm");
    c.setAutoRedraw(true);
    c.setBackColor(RGB(0, 0, 0));
    c.Cls();
    Imposta_scala();

    Disegna_sfondo();
    Disegna_punti_cardinali();
    if (spunta("mnuLocalSkyGriglia"))
        Disegna_griglia();
    if (spunta("mnuLocalSkyOggettiCostellazioni"))
        Disegna_linee_costellazioni();
    QFont f = c.font();
    f.setBold(false);
    c.setFont(f);
    if (spunta("mnuLocalSkyEtichetteCostellazioni"))
        Disegna_nomi_costellazioni();
    Disegna_stelle();
    const double altezza = std::abs(c.scaleHeight());
    if (spunta("mnuLocalSkyOggettiSoleLuna")) {
        Disegna_pianeta(float(altezza / 70), QBColor(14), mAstro::kSole);
        Disegna_luna();
    }
    if (spunta("mnuLocalSkyOggettiPianeti"))
        for (int k = 1; k <= 7; ++k)
            Disegna_pianeta(float(altezza / 200), QBColor(kColoriPianeti[k]), k);
    f.setBold(true);
    c.setFont(f);
    if (gudtValori[1].Altezza <= 0) {
        spunta("mnuLocalSkyTransitoPrincipale", false);
        spunta("mnuLocalSkyTempi", false);
        core::Svuota_Etichette();
        if (MainWindowLink* m = MainWindowLink::instance())
            if (QToolButton* b = m->toolButton(QStringLiteral("Transit")))
                b->setChecked(false);
    } else if (spunta("mnuLocalSkyTransitoPrincipale")) {
        Disegna_passaggio();
    }
    if (spunta("mnuLocalSkyPaesaggio"))
        Disegna_paesaggio();
    c.setAutoRedraw(false);
    setWindowTitle(m_titolo + QStringLiteral(" - ") + m_testoData + QLatin1Char(' ') + m_oraLocale);
}

void frmLocalSky::Disegna_sfondo()
{
    platform::Canvas& c = canvas();
    c.setFillStyle(platform::Canvas::FillSolid);
    const double e = gudtCorpi[mAstro::kSole].Altezza;
    std::uint32_t riempi, bordo, centro;
    switch (views::cielo::Stadio_Cielo(e)) {
    case 1:
        riempi = RGB(0, 0, 196), bordo = RGB(0, 0, 196), centro = RGB(0, 0, 148);
        m_coloreGriglia = std::uint32_t(glngColoreGrigliaLocale1);
        break;
    case 2:
        riempi = RGB(0, 0, 148), bordo = RGB(0, 0, 148), centro = RGB(0, 0, 100);
        m_coloreGriglia = std::uint32_t(glngColoreGrigliaLocale2);
        break;
    case 3:
        riempi = RGB(0, 0, 100), bordo = RGB(0, 0, 100), centro = RGB(0, 0, 71);
        m_coloreGriglia = std::uint32_t(glngColoreGrigliaLocale3);
        break;
    default:
        riempi = RGB(0, 0, 71), bordo = RGB(0, 0, 96), centro = RGB(0, 0, 0);
        m_coloreGriglia = std::uint32_t(glngColoreGrigliaLocale4);
        break;
    }
    c.setFillColor(riempi);
    m_rapportoCerchio = std::abs(c.scaleWidth() / (c.scaleHeight() * m_aspetto));
    if (!std::isfinite(m_rapportoCerchio) || m_rapportoCerchio <= 0)
        m_rapportoCerchio = 1;
    if (gblnLocaleEffettoOrizzonte) {
        mGlobal::Riempi_Sfumato(c, bordo, centro, 0, 0, 90, float(m_rapportoCerchio), 256);
        c.setFillStyle(platform::Canvas::FillTransparent);
        c.Circle(0, 0, 90, RGB(140, 140, 140), std::nullopt, std::nullopt, m_rapportoCerchio);
        c.setFillStyle(platform::Canvas::FillSolid);
    } else {
        c.Circle(0, 0, 90, RGB(140, 140, 140), std::nullopt, std::nullopt, m_rapportoCerchio);
    }
}

void frmLocalSky::Disegna_punti_cardinali()
{
    platform::Canvas& c = canvas();
    c.setForeColor(RGB(212, 208, 200));
    const int k = orientamento();
    for (int i = 0; i < 12; ++i) {
        float x, y;
        views::cielo::Posizione_Bussola(i, x, y);
        c.setCurrentX(x);
        c.setCurrentY(y);
        c.Print(QString::fromUtf8(views::cielo::Etichetta_Bussola(k, i)), false);
    }
}

void frmLocalSky::Disegna_segmento(float x1, float y1, double a1, float x2, float y2, double a2,
                                   std::uint32_t colour)
{
    if (a1 > 0 && a2 > 0) {
        canvas().Line(x1, y1, x2, y2, colour);
    } else if (a1 * a2 < 0) {
        if (a1 < a2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        mMate::Interseca_Orizzonte(x1, y1, x2, y2);
        canvas().Line(x1, y1, x2, y2, colour);
    }
}

void frmLocalSky::Disegna_griglia()
{
    platform::Canvas& c = canvas();
    if (gblnLocaleGrigliaTipo != -1 && gblnLocaleGrigliaTipo != 0)
        return; // any other grid type draws no grid
    if (gblnLocaleGrigliaTipo == -1) {
        c.setFillStyle(platform::Canvas::FillTransparent);
        auto cerchio = [&](double altitudine) {
            float x = 0, y = 0;
            Mappatura(0, altitudine, x, y);
            c.Circle(0, 0, std::max(std::abs(x), std::abs(y)), m_coloreGriglia, std::nullopt, std::nullopt,
                     m_rapportoCerchio);
        };
        if (gblnLocaleGriglia10)
            cerchio(10);
        cerchio(30);
        cerchio(60);
        c.Line(-90, 0, 90, 0, m_coloreGriglia);
        c.Line(0, -90, 0, 90, m_coloreGriglia);
        c.setFillStyle(platform::Canvas::FillSolid);
        return;
    }
    // Equatorial grid: hour circles and declination circles every 15 degrees.
    struct P {
        float x = 0, y = 0;
        double alt = 0;
    };
    static P tavola[25][181];
    for (int h = 0; h <= 24; ++h)
        for (int d = -90; d <= 90; ++d) {
            double az = 0, alt = 0;
            mAstro::Equatoriali_Orizzontali(h % 24, d, az, alt);
            P& p = tavola[h][d + 90];
            p.alt = alt;
            Mappatura(az, alt, p.x, p.y);
        }
    for (int h = 0; h < 24; ++h)
        for (int d = -90; d < 90; ++d) {
            const P& a = tavola[h][d + 90];
            const P& b = tavola[h][d + 91];
            Disegna_segmento(a.x, a.y, a.alt, b.x, b.y, b.alt, m_coloreGriglia);
        }
    for (int d = -75; d <= 75; d += 15)
        for (int h = 0; h < 24; ++h) {
            const P& a = tavola[h][d + 90];
            const P& b = tavola[h + 1][d + 90];
            Disegna_segmento(a.x, a.y, a.alt, b.x, b.y, b.alt, m_coloreGriglia);
        }
}

void frmLocalSky::Disegna_linee_costellazioni()
{
    const std::uint32_t colore = std::uint32_t(glngColoreCostellazioniLinee);
    canvas().setForeColor(colore);
    for (std::size_t j = 1; j < gudtLineeCostellazioni.size(); ++j) {
        const LineaCostellazione& l = gudtLineeCostellazioni[j];
        Disegna_segmento(l.XMappa1, l.YMappa1, l.Altezza1, l.XMappa2, l.YMappa2, l.Altezza2, colore);
    }
}

void frmLocalSky::Disegna_nomi_costellazioni()
{
    platform::Canvas& c = canvas();
    c.setForeColor(std::uint32_t(glngColoreCostellazioniNomi));
    for (std::size_t i = 1; i < gudtNomiCostellazioni.size(); ++i) {
        const NomeCostellazione& n = gudtNomiCostellazioni[i];
        double az = 0, alt = 0;
        mAstro::Equatoriali_Orizzontali(n.AscensioneRetta, n.Declinazione, az, alt);
        if (alt >= 0) {
            float x = 0, y = 0;
            Mappatura(az, alt, x, y);
            c.setCurrentX(x);
            c.setCurrentY(y);
            c.Print(gblnZoom ? n.Nome : n.Sigla, false);
        }
    }
}

void frmLocalSky::Disegna_stelle()
{
    platform::Canvas& c = canvas();
    const int stile = c.fillStyle();
    const std::uint32_t colore = c.fillColor();
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(RGB(255, 255, 255));
    const double raggio = std::abs(c.scaleWidth()) <= 180 ? 0.1 : 0.2;
    const int n = std::min<int>(gintNumStelle, int(gudtStelle.size()) - 1);
    for (int i = 1; i <= n; ++i) {
        const Stella& s = gudtStelle[i];
        if (!(s.Altezza > 0))
            continue;
        if (i < 294)
            c.Circle(s.XMappa, s.YMappa, raggio, RGB(255, 255, 255), std::nullopt, std::nullopt, m_rapportoCerchio);
        else if (i < 1640)
            c.PSet(s.XMappa, s.YMappa, RGB(220, 220, 220));
        else
            c.PSet(s.XMappa, s.YMappa, RGB(140, 140, 140));
    }
    c.setFillStyle(stile);
    c.setFillColor(colore);
}

void frmLocalSky::Disegna_pianeta(float size, std::uint32_t colour, int k)
{
    const CorpoCeleste& b = gudtCorpi[k];
    if (b.Altezza <= 0)
        return;
    platform::Canvas& c = canvas();
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(colour);
    if (k == mAstro::kSole) {
        const QImage sole = views::cielo::Immagine_Sole();
        const double w = c.scaleWidth() * 0.29 / (c.width() / vb::PixelsToHimetric(sole.width()));
        const double h = c.scaleHeight() * 0.27 / (c.height() / vb::PixelsToHimetric(sole.height()));
        c.PaintPicture(sole, b.XMappa - w, b.YMappa - h);
    } else {
        c.Circle(b.XMappa, b.YMappa, size, colour, std::nullopt, std::nullopt, m_rapportoCerchio);
    }
    c.setFillStyle(platform::Canvas::FillTransparent);
    const bool etichetta = k == mAstro::kSole ? spunta("mnuLocalSkyEtichetteSoleLuna")
                                              : spunta("mnuLocalSkyEtichettePianeti");
    if (etichetta) {
        QString nome = mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(b.Nome));
        if (k != mAstro::kSole && !gblnZoom)
            nome = nome.left(3);
        c.setCurrentX(b.XMappa - size);
        c.setCurrentY(b.YMappa - size);
        c.setForeColor(RGB(180, 180, 180));
        c.Print(nome, false);
    }
    c.setFillStyle(platform::Canvas::FillTransparent);
}

void frmLocalSky::Disegna_luna()
{
    const CorpoCeleste& m = gudtCorpi[mAstro::kLuna];
    if (m.Altezza <= 0)
        return;
    platform::Canvas& c = canvas();
    const double r = std::abs(c.scaleHeight()) / 70;
    const double x = m.XMappa, y = m.YMappa;
    c.setFillStyle(platform::Canvas::FillSolid);
    const int a = views::cielo::Indice_Fase_Luna(m.Fase);
    const std::uint32_t bianco = RGB(255, 255, 255), nero = RGB(0, 0, 0);
    constexpr double pi = 3.14159265;
    auto disco = [&](std::uint32_t col) {
        c.setFillColor(col);
        c.Circle(x, y, r, col, std::nullopt, std::nullopt, m_rapportoCerchio);
    };
    // A half disc: a filled pie whose radii lie on the vertical diameter.
    auto meta = [&](std::uint32_t col, bool destra) {
        c.setFillColor(col);
        if (destra)
            c.Circle(x, y, r, col, -(3 * pi / 2), -(pi / 2), m_rapportoCerchio);
        else
            c.Circle(x, y, r, col, -(pi / 2), -(3 * pi / 2), m_rapportoCerchio);
    };
    std::uint32_t coloreMeta = nero;
    double k = 0;
    if (a >= 0 && a < 90) {
        disco(bianco), meta(nero, true), coloreMeta = nero, k = 1 - a / 90.0;
    } else if (a >= 90 && a < 180) {
        disco(nero), meta(bianco, false), coloreMeta = bianco, k = (a - 90) / 90.0;
    } else if (a >= 180 && a < 270) {
        disco(nero), meta(bianco, true), coloreMeta = bianco, k = 1 - (a - 180) / 90.0;
    } else if (a >= 270 && a < 360) {
        disco(bianco), meta(nero, false), coloreMeta = nero, k = (a - 270) / 90.0;
    }
    if (k != 0) {
        c.setFillColor(coloreMeta);
        c.Circle(x, y, r, coloreMeta, std::nullopt, std::nullopt, m_rapportoCerchio / k);
    }
    c.setFillStyle(platform::Canvas::FillTransparent);
    c.Circle(x, y, r, RGB(0, 0, 0), std::nullopt, std::nullopt, m_rapportoCerchio);
    if (spunta("mnuLocalSkyEtichetteSoleLuna")) {
        c.setCurrentX(x + r);
        c.setCurrentY(y + r);
        c.setForeColor(RGB(180, 180, 180));
        c.Print(mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(m.Nome)), false);
    }
}

void frmLocalSky::Disegna_paesaggio()
{
    if (!gblnLocalePaesaggio || picBackground.isNull())
        return;
    // The landscape covers the horizon circle; its pure green lets the chart show through.
    canvas().TransparentCopy(picBackground, -90, -90, RGB(0, 255, 0), 180, 180);
}

// ---------------------------------------------------------------- satellites

bool frmLocalSky::soloPrincipale() const
{
    return spunta("mnuLocalSkySoloPrincipale");
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
    int stile = i == 1 ? 0 : 3;
    if (gudtSatelementi[i].NumeroCatalogo == "25544")
        stile = 6;
    if (gudtSatelementi[i].NumeroCatalogo == "20580")
        stile = 9;
    const QImage modello = views::cielo::Immagine_Satellite(stile + 16);
    const double w = c.scaleWidth() * 0.35 / (c.width() / vb::PixelsToHimetric(modello.width()));
    const double h = c.scaleHeight() * 0.35 / (c.height() / vb::PixelsToHimetric(modello.height()));
    const int immagine = v.Stato == StatoNonVisibile ? stile + 16 : v.Stato == StatoVisibile ? stile + 17 : stile + 18;
    c.PaintPicture(views::cielo::Immagine_Satellite(immagine), x - w, y - h);
    c.setForeColor(v.Stato == StatoEclisse ? RGB(255, 0, 0) : RGB(255, 255, 0));
    c.setCurrentX(x + w / 4);
    c.setCurrentY(y + h / 4);
    c.Print(QString::fromStdString(gudtSatelementi[i].Nome), false);
}

void frmLocalSky::Mostra_dati(const core::PrincipalTexts& t)
{
    lblLatitude->setText(t.lblLatitude);
    lblLongitude->setText(t.lblLongitude);
    lblAltitude->setText(t.lblAltitude);
    lblAzimuth->setText(t.lblAzimuth);
    lblAscension->setText(t.lblAscension);
    lblDeclination->setText(t.lblDeclination);
    lblOrbitNumber->setText(t.lblOrbitNumber);
    lblRangeRate->setText(t.lblRangeRate);
    lblState->setText(t.lblState);
    lblMagnitude->setText(t.lblMagnitude);
    lblHeight->setText(t.lblHeight);
    lblRange->setText(t.lblRange);
    lblApogee->setText(t.lblApogee);
    lblPerigee->setText(t.lblPerigee);
    lblPeriod->setText(t.lblPeriod);
    lblVelocity->setText(t.lblVelocity);
    lblRicez->setText(t.lblRicez);
    lblTrasm->setText(t.lblTrasm);
}

void frmLocalSky::Azzera_dati()
{
    canvas().setAutoRedraw(false);
    canvas().Cls();
    for (QLabel* l : {lblLatitude, lblLongitude, lblAltitude, lblAzimuth, lblAscension, lblDeclination,
                      lblOrbitNumber, lblRangeRate, lblHeight, lblRange, lblApogee, lblPerigee, lblPeriod,
                      lblVelocity})
        l->setText(QStringLiteral("0"));
    lblMagnitude->clear();
    lblState->clear();
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
