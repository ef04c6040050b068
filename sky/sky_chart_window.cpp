#include "sky/sky_chart_window.h"

#include "sky/magnitude_dialog.h"
#include "sky/object_box.h"
#include "common/moon_phase.h"
#include "sky/sky_pictures.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "common/window_host.h"
#include "platform/canvas_widget.h"
#include "platform/prompt.h"
#include "platform/vb.h"
#include "common/main_window_link.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QPointer<frmGeneralSky> g_cielo;

const QString kSezione = QStringLiteral("frmGeneralSky");
const QString kRegistro = QStringLiteral("Cielo generale");

constexpr platform::VbColor kSfondo = vb::RGB(0, 0, 71);
constexpr platform::VbColor kGrigio = vb::RGB(140, 140, 140);
constexpr platform::VbColor kEtichette = vb::RGB(180, 180, 180);

// Colours of the planets, rows 1 to 7.
constexpr platform::VbColor kColoriPianeti[8] = {
    0,
    vb::RGB(255, 0, 255), vb::RGB(0, 255, 0), vb::RGB(255, 0, 0), vb::RGB(128, 0, 0),
    vb::RGB(255, 255, 0), vb::RGB(0, 255, 255), vb::RGB(0, 0, 255),
};

// The seven layer items with the setting each takes at load.
struct VoceStrato {
    const char* nome;
    bool* impostazione;
};
const VoceStrato kStrati[] = {
    {"mnuGeneralSkyGriglia", &gblnGeneraleGriglia},
    {"mnuGeneralSkyOggettiCostellazioni", &gblnGeneraleCostellazioniLinee},
    {"mnuGeneralSkyEtichetteCostellazioni", &gblnGeneraleCostellazioniNomi},
    {"mnuGeneralSkyOggettiSoleLuna", &gblnGeneraleSoleLuna},
    {"mnuGeneralSkyOggettiPianeti", &gblnGeneralePianeti},
    {"mnuGeneralSkyEtichettePianeti", &gblnGeneralePianetiNomi},
    {"mnuGeneralSkyEtichetteSoleLuna", &gblnGeneraleSoleLunaNomi},
};

QMdiSubWindow* cornice(const QWidget* w)
{
    return qobject_cast<QMdiSubWindow*>(w->parentWidget());
}

} // namespace

frmGeneralSky::frmGeneralSky(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmGeneralSky"));
    setAttribute(Qt::WA_DeleteOnClose);
    Picture1 = new platform::CanvasWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Picture1);
    QFont f = Picture1->canvas().font();
    f.setPointSize(8);
    Picture1->canvas().setFont(f);

    tmrGeneralSky = new QTimer(this);
    tmrGeneralSky->setObjectName(QStringLiteral("tmrGeneralSky"));
    tmrGeneralSky->setInterval(60000);
    connect(tmrGeneralSky, &QTimer::timeout, this, &frmGeneralSky::tmrGeneralSky_Timer);

    connect(Picture1, &platform::CanvasWidget::MouseDown, this, &frmGeneralSky::Picture1_MouseDown);
    connect(Picture1, &platform::CanvasWidget::MouseMove, this, &frmGeneralSky::Picture1_MouseMove);
    connect(Picture1, &platform::CanvasWidget::MouseUp, this, &frmGeneralSky::Picture1_MouseUp);
    connect(Picture1, &platform::CanvasWidget::Resize, this, &frmGeneralSky::Form_Resize);

    Form_Load();
    tmrGeneralSky->start();
    if (!g_cielo)
        g_cielo = this;
}

frmGeneralSky::~frmGeneralSky() = default;

QSize frmGeneralSky::sizeHint() const
{
    return {vb::TwipsToPixels(10665), vb::TwipsToPixels(6870)};
}

QSize frmGeneralSky::minimumSizeHint() const
{
    return {360, 200};
}

frmGeneralSky* frmGeneralSky::instance(bool create)
{
    if (!g_cielo && create)
        g_cielo = new frmGeneralSky;
    return g_cielo;
}

frmGeneralSky* frmGeneralSky::Mostra()
{
    QApplication::processEvents();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool nuovo = !g_cielo;
    frmGeneralSky* w = instance();
    common::Mostra_Figlia(w);
    if (nuovo) {
        // The frame takes the chart's size (and its saved place when asked).
        if (QMdiSubWindow* sub = cornice(w)) {
            const int larghezza = vb::TwipsToPixels(vb::Val(mReg::Leggi_Impostazione(
                QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Width"), QStringLiteral("10665"))));
            const int altezza = vb::TwipsToPixels(vb::Val(mReg::Leggi_Impostazione(
                QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Height"), QStringLiteral("6870"))));
            if (gblnPosizioniFinestre) {
                const int sinistra = vb::TwipsToPixels(vb::Val(mReg::Leggi_Impostazione(
                    QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Left"), QStringLiteral("0"))));
                const int alto = vb::TwipsToPixels(vb::Val(mReg::Leggi_Impostazione(
                    QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Top"), QStringLiteral("0"))));
                sub->setGeometry(sinistra, alto, std::max(larghezza, w->minimumSizeHint().width()),
                                 std::max(altezza, w->minimumSizeHint().height()));
            } else {
                sub->resize(vb::TwipsToPixels(10665), vb::TwipsToPixels(6870));
            }
        }
    }
    // A placement saved on a larger screen comes back inside the workspace.
    if (QMdiSubWindow* sub = cornice(w))
        common::Nell_Area_Visibile(sub);
    w->raise();
    QApplication::restoreOverrideCursor();
    return w;
}

// ---------------------------------------------------------------- menu items

QAction* frmGeneralSky::voce(const QString& name) const
{
    if (MainWindowLink* main = MainWindowLink::instance())
        if (QAction* a = main->menuItem(name))
            return a;
    QAction* a = m_voci.value(name);
    if (!a) {
        a = new QAction(const_cast<frmGeneralSky*>(this));
        a->setObjectName(name);
        a->setCheckable(true);
        m_voci.insert(name, a);
    }
    return a;
}

bool frmGeneralSky::spuntata(const char* name) const
{
    return voce(QString::fromLatin1(name))->isChecked();
}

void frmGeneralSky::Imposta_Puntatore(int n)
{
    m_puntatore = n;
    Picture1->setCursor(sky::Puntatore_Mouse(n));
}

void frmGeneralSky::Inverti_Voce(const QString& name)
{
    QAction* a = voce(name);
    a->setChecked(!a->isChecked());
    QApplication::processEvents();
    Genera_mappa();
}

void frmGeneralSky::mnuGeneralSkyZoom_Click()
{
    QAction* zoom = voce(QStringLiteral("mnuGeneralSkyZoom"));
    if (zoom->isChecked()) {
        zoom->setChecked(false);
        Imposta_Puntatore(1);
    } else {
        zoom->setChecked(true);
        Imposta_Puntatore(3);
        voce(QStringLiteral("mnuGeneralSkyRipristina"))->setEnabled(true);
    }
}

void frmGeneralSky::mnuGeneralSkyRipristina_Click()
{
    platform::Canvas& c = Picture1->canvas();
    c.setAutoRedraw(true);
    c.Cls();
    c.setAutoRedraw(false);
    voce(QStringLiteral("mnuGeneralSkyZoom"))->setChecked(false);
    Imposta_Puntatore(1);
    gsngLatoSx = 24;
    gsngLatoSy = 90;
    gsngLatoDx = 0;
    gsngLatoDy = -90;
    Genera_mappa();
    voce(QStringLiteral("mnuGeneralSkyRipristina"))->setEnabled(false);
}

// ---------------------------------------------------------------- life

void frmGeneralSky::Lingua()
{
    mstrTitolo = mLang::Testo_Lingua(kSezione, QStringLiteral("mappagenerale"));
    mstrOraLocale = mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("oralocale"));
    mstrAR = mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("ar"));
    mstrDec = mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("dec"));
    setWindowTitle(mstrTitolo);
}

void frmGeneralSky::Form_Load()
{
    Lingua();
    gsngLatoSx = 24;
    gsngLatoSy = 90;
    gsngLatoDx = 0;
    gsngLatoDy = -90;
    for (const VoceStrato& s : kStrati)
        voce(QString::fromLatin1(s.nome))->setChecked(*s.impostazione);
    gintNumStelle = std::clamp(gintGeneraleStelle, 0, kNumStelle);
    resize(vb::TwipsToPixels(10665), vb::TwipsToPixels(6870));
    Imposta_Puntatore(1);
    // The reset item is offered only once the zoom mode was used.
    voce(QStringLiteral("mnuGeneralSkyRipristina"))->setEnabled(false);
}

void frmGeneralSky::Form_Resize()
{
    if (Picture1->width() <= 0 || Picture1->height() <= 0)
        return;
    Genera_mappa();
}

void frmGeneralSky::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmGeneralSky::Form_Unload()
{
    voce(QStringLiteral("mnuGeneralSkyZoom"))->setChecked(false);
    QWidget* finestra = cornice(this) ? static_cast<QWidget*>(cornice(this)) : static_cast<QWidget*>(this);
    if (finestra->isMinimized())
        return;
    const QRect g(finestra->pos(), finestra->size());
    const auto twips = [](int px) { return QString::number(std::lround(vb::PixelsToTwips(px))); };
    try {
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Left"), twips(g.left()));
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Top"), twips(g.top()));
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Width"), twips(g.width()));
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), kRegistro, QStringLiteral("Window_Height"), twips(g.height()));
    } catch (const mReg::RegistryError&) {
        // The placement is a convenience: a store that cannot be written loses nothing else.
    }
}

// ---------------------------------------------------------------- drawing

void frmGeneralSky::tmrGeneralSky_Timer()
{
    Genera_mappa();
}

void frmGeneralSky::Genera_mappa()
{
    if (m_disegno)
        return;
    m_disegno = true;
    core::FlagGuard satelliti(pflgSatellite, false);
    tmrGeneralSky->stop();
    QApplication::setOverrideCursor(Qt::WaitCursor);

    platform::Canvas& c = Picture1->canvas();
    Tag = vb::Format(gdatDataCorrente, u"dd mmm yyyy hh:mm");
    c.setAutoRedraw(true);
    Picture1->setUpdatesEnabled(false);
    c.Cls();
    c.Scale(gsngLatoSx, gsngLatoSy, gsngLatoDx, gsngLatoDy);
    c.setBackColor(kSfondo);
    c.setDrawStyle(platform::Canvas::Solid);
    c.setFillStyle(platform::Canvas::FillTransparent);
    c.setFontTransparent(true);

    const double larghezza = std::fabs(double(gsngLatoSx) - double(gsngLatoDx));
    const bool intero = larghezza == 24.0;

    if (spuntata("mnuGeneralSkyGriglia"))
        Disegna_griglia(c);
    if (spuntata("mnuGeneralSkyOggettiCostellazioni"))
        Disegna_costellazioni(c);
    if (spuntata("mnuGeneralSkyEtichetteCostellazioni"))
        Disegna_nomi_costellazioni(c, intero);
    Disegna_stelle(c, intero);
    if (spuntata("mnuGeneralSkyOggettiSoleLuna")) {
        Disegna_pianeta(c, larghezza / 160.0, 0, mAstro::kSole, intero);
        Disegna_luna(c);
    }
    if (spuntata("mnuGeneralSkyOggettiPianeti"))
        for (int n = mAstro::kMercurio; n <= mAstro::kNettuno; ++n)
            Disegna_pianeta(c, larghezza / 500.0, kColoriPianeti[n], n, intero);

    c.setAutoRedraw(false);
    c.Cls();
    Picture1->setUpdatesEnabled(true);
    Picture1->update();
    setWindowTitle(mstrTitolo + QStringLiteral(" - ") + Tag + QLatin1Char(' ') + mstrOraLocale);

    QApplication::restoreOverrideCursor();
    tmrGeneralSky->start();
    m_disegno = false;
}

void frmGeneralSky::Disegna_griglia(platform::Canvas& c)
{
    const platform::VbColor colore = static_cast<platform::VbColor>(glngColoreGrigliaGenerale);
    for (int h = 4; h <= 24; h += 4) {
        c.Line(h, 90, h, -90, colore);
        c.setForeColor(kGrigio);
        c.setCurrentX(h);
        c.setCurrentY(gsngLatoSy);
        c.Print(QStringLiteral(" %1h").arg(h));
    }
    for (int d = -60; d <= 60; d += 30) {
        c.Line(24, d, 0, d, colore);
        c.setForeColor(kGrigio);
        c.setCurrentX(gsngLatoSx);
        c.setCurrentY(d);
        c.Print(QStringLiteral(" %1°").arg(d));
    }
}

void frmGeneralSky::Disegna_costellazioni(platform::Canvas& c)
{
    const platform::VbColor colore = static_cast<platform::VbColor>(glngColoreCostellazioniLinee);
    sky::PezzoLinea pezzi[2];
    for (int i = 1; i < static_cast<int>(gudtLineeCostellazioni.size()); ++i) {
        const LineaCostellazione& l = gudtLineeCostellazioni[i];
        const int n = sky::Pezzi_Linea(l.AscensioneRetta1, l.Declinazione1, l.AscensioneRetta2,
                                          l.Declinazione2, pezzi);
        for (int k = 0; k < n; ++k)
            c.Line(pezzi[k].x1, pezzi[k].y1, pezzi[k].x2, pezzi[k].y2, colore);
    }
}

void frmGeneralSky::Disegna_nomi_costellazioni(platform::Canvas& c, bool intero)
{
    c.setForeColor(vb::RGB(255, 0, 0));
    for (int i = 1; i < static_cast<int>(gudtNomiCostellazioni.size()); ++i) {
        const NomeCostellazione& n = gudtNomiCostellazioni[i];
        c.setCurrentX(n.AscensioneRetta);
        c.setCurrentY(n.Declinazione);
        c.Print(intero ? n.Sigla : n.Nome);
    }
}

void frmGeneralSky::Disegna_stelle(platform::Canvas& c, bool intero)
{
    const int stile = c.fillStyle();
    const platform::VbColor riempimento = c.fillColor();
    constexpr platform::VbColor bianco = vb::RGB(255, 255, 255);
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(bianco);
    const double raggio = intero ? 0.02 : 0.01;
    const int ultima = std::clamp(gintNumStelle, 0, static_cast<int>(gudtStelle.size()) - 1);
    for (int i = 1; i <= ultima; ++i) {
        const Stella& s = gudtStelle[i];
        if (i < 294)
            c.Circle(s.AscensioneRetta, s.Declinazione, raggio, bianco);
        else if (i < 1640)
            c.PSet(s.AscensioneRetta, s.Declinazione, vb::RGB(220, 220, 220));
        else
            c.PSet(s.AscensioneRetta, s.Declinazione, vb::RGB(140, 140, 140));
    }
    c.setFillStyle(stile);
    c.setFillColor(riempimento);
}

void frmGeneralSky::Disegna_pianeta(platform::Canvas& c, double r, platform::VbColor colore, int n, bool intero)
{
    const mAstro::CorpoCeleste& corpo = gudtCorpi[n];
    double a = 0, d = 0;
    sky::Posizione_Carta(n, a, d);
    if (n != mAstro::kSole) {
        c.setFillStyle(platform::Canvas::FillSolid);
        c.setFillColor(colore);
        c.Circle(a, d, r, colore);
    } else {
        // The Sun's picture, about centred on its place: the offsets are the
        // picture's size (HIMETRIC) over the chart's (twips) in chart units.
        const QImage sole = sky::Immagine_Mouse(6);
        const double sw = c.scaleWidth();
        const double sh = c.scaleHeight();
        const double w = vb::PixelsToTwips(c.pixelSize().width());
        const double h = vb::PixelsToTwips(c.pixelSize().height());
        const double pw = vb::PixelsToHimetric(sole.width());
        const double ph = vb::PixelsToHimetric(sole.height());
        if (w > 0 && h > 0)
            c.PaintPicture(sole, a - 0.29 * sw * pw / w, d - 0.27 * sh * ph / h);
    }
    const bool etichetta = n == mAstro::kSole ? spuntata("mnuGeneralSkyEtichetteSoleLuna")
                                               : spuntata("mnuGeneralSkyEtichettePianeti");
    if (etichetta) {
        QString testo = mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(corpo.Nome));
        if (n != mAstro::kSole && intero)
            testo = testo.left(3);
        c.setFillStyle(platform::Canvas::FillTransparent);
        c.setForeColor(kEtichette);
        c.setCurrentX(a - r);
        c.setCurrentY(d - r);
        c.Print(testo);
    }
    c.setFillStyle(platform::Canvas::FillTransparent);
}

void frmGeneralSky::Disegna_luna(platform::Canvas& c)
{
    const mAstro::CorpoCeleste& luna = gudtCorpi[mAstro::kLuna];
    const double r = std::fabs(double(gsngLatoSx) - double(gsngLatoDx)) / 140.0;
    double a = 0, d = 0;
    sky::Posizione_Carta(mAstro::kLuna, a, d);
    common::Disegna_Fase(c, a, d, r, luna.Fase);
    if (spuntata("mnuGeneralSkyEtichetteSoleLuna")) {
        c.setForeColor(kEtichette);
        c.setCurrentX(a - r);
        c.setCurrentY(d - r);
        c.Print(mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(luna.Nome)));
    }
}

// ---------------------------------------------------------------- mouse

void frmGeneralSky::Picture1_MouseDown(int button, int /*shift*/, double x, double y)
{
    if (button == 2) {
        if (MainWindowLink* main = MainWindowLink::instance())
            if (QMenu* m = main->menu(QStringLiteral("mnuGeneralSky")))
                m->popup(QCursor::pos());
        return;
    }
    if (button == 1) {
        Picture1->canvas().setCurrentX(x);
        Picture1->canvas().setCurrentY(y);
        msngInizioX = static_cast<float>(x);
        msngInizioY = static_cast<float>(y);
    }
}

void frmGeneralSky::Picture1_MouseMove(int button, int /*shift*/, double x, double y)
{
    mudtCoordinate = sky::Calcola_Coordinate(x, y);
    setWindowTitle(mstrTitolo + QStringLiteral(" - ") + Tag + QLatin1Char(' ') + mstrOraLocale
                   + QStringLiteral(" -  ") + sky::Testo_Coordinate(mudtCoordinate, mstrAR, mstrDec));
    if (button == 1 && spuntata("mnuGeneralSkyZoom")) {
        platform::Canvas& c = Picture1->canvas();
        c.setFillStyle(platform::Canvas::FillTransparent);
        c.setAutoRedraw(false);
        c.Cls();
        c.Line(msngInizioX, msngInizioY, x, y, vb::RGB(255, 255, 255), platform::Canvas::Box);
        c.setDrawStyle(platform::Canvas::Solid);
    }
}

void frmGeneralSky::Picture1_MouseUp(int button, int /*shift*/, double x, double y)
{
    if (button != 1)
        return;
    const bool zoom = spuntata("mnuGeneralSkyZoom");
    if (zoom && static_cast<float>(x) != msngInizioX && static_cast<float>(y) != msngInizioY) {
        x = std::clamp(x, 0.0, 24.0);
        y = std::clamp(y, -90.0, 90.0);
        Picture1->canvas().Scale(msngInizioX, msngInizioY, x, y);
        gsngLatoSx = msngInizioX;
        gsngLatoSy = msngInizioY;
        gsngLatoDx = static_cast<float>(x);
        gsngLatoDy = static_cast<float>(y);
        Genera_mappa();
        mnuGeneralSkyZoom_Click();
        return;
    }
    if (zoom)
        return;

    const platform::Canvas& c = Picture1->canvas();
    const sky::Identificazione id = sky::Identifica(x, y, c.scaleWidth(), c.scaleHeight(), gintNumStelle);
    if (id.oggetto < 0)
        return;
    if (id.oggetto == 0) {
        if (!Leggi_Record_Stella(mLang::Cartella_Programma(), id.stella)) {
            platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("erroristella")) + QLatin1Char('\n')
                                 + QString::fromLatin1(kFileStelle),
                             platform::vbExclamation);
            return;
        }
    }
    frmObject::Mostra(id.oggetto, MainWindowLink::window() ? MainWindowLink::window() : this);
}
