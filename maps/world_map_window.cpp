#include "maps/world_map_window.h"

#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mglobal.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/msat.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "platform/vb.h"
#include "common/main_window_link.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace {

constexpr double kTwipPixel = 15.0;

QPointer<frmWorldMap> g_finestra;

int pixel(double twips)
{
    return qRound(twips / kTwipPixel);
}

const QString kSezione = QStringLiteral("frmWorldMap");

} // namespace

namespace maps {

QAction* Voce_Mappa(const char* nome)
{
    MainWindowLink* main = MainWindowLink::instance();
    return main ? main->menuItem(QString::fromLatin1(nome)) : nullptr;
}

bool Spuntata(const char* nome)
{
    QAction* a = Voce_Mappa(nome);
    return a && a->isChecked();
}

} // namespace maps

using maps::Spuntata;
using maps::Voce_Mappa;

// ---------------------------------------------------------------- life

frmWorldMap* frmWorldMap::instance(bool create)
{
    if (!g_finestra && create) {
        auto* w = new frmWorldMap;
        g_finestra = w;
        mGlobal::Registra_Finestra(w);
        if (MainWindowLink* main = MainWindowLink::instance()) {
            QMdiSubWindow* sub = main->addChild(w);
            sub->hide();
            QObject::connect(main->mdiArea(), &QMdiArea::subWindowActivated, w, [w](QMdiSubWindow* s) {
                // The view menu belongs to the map while it is the active child.
                if (QMenu* m = MainWindowLink::instance() ? MainWindowLink::instance()->menu(QStringLiteral("mnuWorldmap")) : nullptr)
                    if (s)
                        m->menuAction()->setVisible(s == w->cornice());
            });
        } else {
            w->setAttribute(Qt::WA_DeleteOnClose);
        }
        w->Form_Load();
        core::clockViews().worldMap = w;
    }
    return g_finestra;
}

void frmWorldMap::Unload()
{
    if (frmWorldMap* w = g_finestra) {
        if (QMdiSubWindow* s = w->cornice()) {
            s->close();
        } else {
            w->close();
        }
        if (g_finestra)
            delete g_finestra.data();
    }
}

frmWorldMap::frmWorldMap(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmWorldMap"));
    m_x.fill(0);
    m_y.fill(0);
    creaControlli();
}

frmWorldMap::~frmWorldMap()
{
    if (core::clockViews().worldMap == this)
        core::clockViews().worldMap = nullptr;
    if (MainWindowLink* main = MainWindowLink::instance())
        if (QMenu* m = main->menu(QStringLiteral("mnuWorldmap")))
            m->menuAction()->setVisible(false);
}

QMdiSubWindow* frmWorldMap::cornice() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void frmWorldMap::creaControlli()
{
    Picture1 = new platform::CanvasWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setMouseTracking(true);
    QFont f = font();
    f.setPointSizeF(7.5);
    Picture1->canvas().setFont(f);
    Picture1->canvas().setBackColor(0);
    Picture1->installEventFilter(this);
    connect(Picture1, &platform::CanvasWidget::MouseMove, this, &frmWorldMap::Picture1_MouseMove);
    connect(Picture1, &platform::CanvasWidget::MouseDown, this, &frmWorldMap::Picture1_MouseDown);
    connect(Picture1, &platform::CanvasWidget::MouseUp, this, &frmWorldMap::Picture1_MouseUp);

    fraSatellitePrincipale = new common::RiquadroDati(this, 7, QMargins(3, 2, 3, 2), true);
}

void frmWorldMap::Form_Load()
{
    Lingua();
    Imposta_finestra();
}

void frmWorldMap::Imposta_finestra()
{
    // The options the settings give, as the check marks of the view menu.
    auto spunta = [](const char* nome, bool valore) {
        if (QAction* a = Voce_Mappa(nome))
            a->setChecked(valore);
    };
    spunta("mnuWorldmapCerchioVisibilita", gblnMappaCerchio);
    spunta("mnuWorldmapGriglia", gblnMappaGriglia);
    spunta("mnuWorldmapDatiSatellite", gblnMappaMouseDati);
    spunta("mnuWorldmapTracciatoOrbita", gblnMappaOrbita);
    spunta("mnuWorldmapCoordinateMouse", gblnMappaLocalizzatore);
    // The data box's item shows whether the box is there.
    spunta("mnuWorldmapRiquadroDati", gblnMappaRiquadroDati);
    // The place name, the Sun and the night side start, once a run, as the
    // settings say; afterwards they keep what the user chose in the menu.
    MainWindowLink* main = MainWindowLink::instance();
    if (main && !main->asWidget()->property("mappaImpostata").toBool()) {
        main->asWidget()->setProperty("mappaImpostata", true);
        spunta("mnuWorldmapNomeCitta", gblnMappaCitta);
        spunta("mnuWorldmapSole", gblnMappaSole);
        spunta("mnuWorldmapTerminatore", true);
        spunta("mnuWorldmapOmbra", gblnMappaOmbra);
    }

    QWidget* finestra = cornice() ? static_cast<QWidget*>(cornice()) : this;
    if (gblnPosizioniFinestre) {
        const QString sez = QStringLiteral("Mappamondo");
        auto leggi = [&](const char* chiave, const char* def) {
            return vb::Val(mReg::Leggi_Impostazione(QStringLiteral("Astrovela"), sez, QLatin1String(chiave),
                                                    QLatin1String(def)));
        };
        const double l = leggi("Window_Left", "0");
        const double t = leggi("Window_Top", "0");
        const double w = leggi("Window_Width", "10665");
        const double h = leggi("Window_Height", "6870");
        finestra->setGeometry(pixel(l), pixel(t), std::max(pixel(w), 100), std::max(pixel(h), 80));
    } else {
        finestra->resize(pixel(10665), pixel(6870));
    }

    Picture1->canvas().setFillStyle(platform::Canvas::FillSolid);
    Picture1->canvas().setFillColor(0x00FFFF);
    Picture1->canvas().setForeColor(0x00FFFF);
    larghezzaRiquadro(gblnMappaRiquadroDati ? 1935 : 0);
}

void frmWorldMap::larghezzaRiquadro(int twips)
{
    m_larghezzaRiquadro = twips;
    fraSatellitePrincipale->setVisible(twips > 0);
}

void frmWorldMap::Mostra()
{
    if (QMdiSubWindow* s = cornice()) {
        s->show();
        show();
        if (QMdiArea* area = s->mdiArea())
            area->setActiveSubWindow(s);
        if (MainWindowLink* main = MainWindowLink::instance())
            if (QMenu* m = main->menu(QStringLiteral("mnuWorldmap")))
                m->menuAction()->setVisible(true);
    } else {
        show();
        raise();
    }
}

void frmWorldMap::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmWorldMap::Form_Resize()
{
    Disponi();
    Genera_mappa();
}

void frmWorldMap::Disponi()
{
    const double W = width() * kTwipPixel;
    const double H = height() * kTwipPixel;
    const double F = m_larghezzaRiquadro;
    const int larghezza = std::max(pixel(W - 10 - F), 1);
    const int altezza = std::max(pixel(H - 10), 1);
    int w = larghezza, h = altezza, x = pixel(10), y = pixel(10);
    if (recta()) {
        // The rectangular map keeps its proportions (a degree as wide as it
        // is high): the box is the largest 2:1 rectangle of the room, centred.
        w = std::max(1, std::min(larghezza, 2 * altezza));
        h = std::max(1, std::min(altezza, larghezza / 2));
        x += (larghezza - w) / 2;
        y += (altezza - h) / 2;
    }
    Picture1->setGeometry(x, y, w, h);
    // A hidden box gets its resize event only when shown: its canvas takes
    // the new size now, so that the map is drawn at the size it will have.
    if (Picture1->canvas().pixelSize() != QSize(w, h))
        Picture1->canvas().resize(QSize(w, h));
    fraSatellitePrincipale->setGeometry(pixel(larghezza * kTwipPixel + 20), pixel(10), pixel(F), altezza);
}

bool frmWorldMap::eventFilter(QObject* watched, QEvent* event)
{
    // The pointer's coordinates belong to the map: when it leaves, the
    // caption goes back to the projection's title.
    if (watched == Picture1 && event->type() == QEvent::Leave && Spuntata("mnuWorldmapCoordinateMouse"))
        setWindowTitle(recta() ? m_titoloRettangolare : m_titoloOrtografico);
    return QWidget::eventFilter(watched, event);
}

void frmWorldMap::closeEvent(QCloseEvent* e)
{
    Form_QueryUnload();
    e->accept();
    if (core::clockViews().worldMap == this)
        core::clockViews().worldMap = nullptr;
}

void frmWorldMap::Form_QueryUnload()
{
    QWidget* finestra = cornice() ? static_cast<QWidget*>(cornice()) : this;
    if (finestra->isMinimized())
        return;
    const QString sez = QStringLiteral("Mappamondo");
    const QRect r = finestra->geometry();
    try {
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), sez, QStringLiteral("Window_Left"),
                                 vb::Str(float(r.x() * kTwipPixel)));
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), sez, QStringLiteral("Window_Top"),
                                 vb::Str(float(r.y() * kTwipPixel)));
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), sez, QStringLiteral("Window_Width"),
                                 vb::Str(float(r.width() * kTwipPixel)));
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), sez, QStringLiteral("Window_Height"),
                                 vb::Str(float(r.height() * kTwipPixel)));
    } catch (...) {
        // The placement is a convenience: a store that refuses it loses nothing else.
    }
}

// ---------------------------------------------------------------- regeneration

void frmWorldMap::Genera_mappa()
{
    if (m_inGenerazione)
        return;
    core::FlagGuard inCorso(m_inGenerazione, true);
    // The projection may have changed since the last layout.
    Disponi();
    m_istanteMappa = gdatDataCorrente;
    platform::Canvas& c = box();
    platform::Canvas::Batch lotto(c);
    const bool ombra = Spuntata("mnuWorldmapOmbra");
    Picture1->setUpdatesEnabled(false);
    c.setAutoRedraw(true);
    try { Disegna_sfondo(); } catch (...) {}
    // The night side needs the terminator; the terminator is drawn alone
    // when only it is asked for.
    if (ombra || Spuntata("mnuWorldmapTerminatore")) {
        try { Disegna_ombra(); } catch (...) {}
    }
    if (Spuntata("mnuWorldmapGriglia")) {
        try { Disegna_griglia(); } catch (...) {}
    }
    if (Spuntata("mnuWorldmapSole")) {
        try { Disegna_sole(); } catch (...) {}
    }
    try { Disegna_localita(); } catch (...) {}
    Picture1->setUpdatesEnabled(true);
    if (Spuntata("mnuWorldmapTracciatoOrbita")) {
        try { Disegna_orbita(); } catch (...) {}
    }
    c.setAutoRedraw(false);
    Picture1->update();
    Titolo_finestra();
}

void frmWorldMap::Disegna_sfondo()
{
    const QString cartella = mLang::Cartella_Programma();
    if (recta()) {
        m_picture1Tag = maps::mappa::File_Rettangolare();
        const QImage img = platform::loadPicture(maps::mappa::Percorso_Immagine(cartella, m_picture1Tag));
        if (img.isNull())
            return;
        m_picture2 = img;
    } else if (ortho()) {
        const Valori& v = gudtValori[1];
        const maps::mappa::Vista vista = maps::mappa::Scegli_Vista(v.LatitudineMappa, v.Longitudine360);
        m_centroLon = vista.lon;
        m_centroLat = vista.lat;
        if (vista.file != m_picture1Tag) {
            m_picture1Tag = vista.file;
            const QImage img = platform::loadPicture(maps::mappa::Percorso_Immagine(cartella, vista.file));
            if (img.isNull())
                return;
            m_picture2 = img;
        }
    }
    if (m_picture2.isNull())
        return;

    platform::Canvas& c = box();
    c.Scale();
    const double SW = c.scaleWidth();
    const double SH = c.scaleHeight();
    const double m = std::min(SW, SH);
    c.Cls();
    c.setBackColor(0);
    c.setAntialiasing(true);
    if (ortho())
        c.PaintPicture(m_picture2, (c.width() - 2 * m) / 2, (c.height() - m) / 2, 2 * m, m);
    else if (recta())
        c.PaintPicture(m_picture2, 0, 0, c.width(), c.height());
    c.setAntialiasing(false);

    if (recta()) {
        c.Scale(-180, 90, 180, -90);
    } else if (ortho()) {
        const double r = SW / SH;
        if (r >= 1)
            c.Scale(-180 * r, 180, 180 * r, -180);
        else
            c.Scale(-180, 180 / r, 180, -180 / r);
    }
}

void frmWorldMap::Titolo_finestra()
{
    // The check mark is the option: the settings only give its first state.
    QAction* voce = Voce_Mappa("mnuWorldmapCoordinateMouse");
    const bool coordinate = voce ? voce->isChecked() : gblnMappaLocalizzatore;
    if (coordinate) {
        Picture1->setCursor(Qt::CrossCursor);
    } else {
        Picture1->unsetCursor();
        setWindowTitle(recta() ? m_titoloRettangolare : m_titoloOrtografico);
    }
}

// ---------------------------------------------------------------- data box

bool frmWorldMap::cerchioVisibilita() const
{
    return Spuntata("mnuWorldmapCerchioVisibilita");
}

void frmWorldMap::Mostra_dati(const core::PrincipalTexts& t)
{
    m_lotto.reset();
    fraSatellitePrincipale->Mostra_dati(t);
}

void frmWorldMap::Azzera_dati()
{
    m_lotto.reset();
    box().setAutoRedraw(false);
    box().Cls();
    fraSatellitePrincipale->Azzera_dati();
}

void frmWorldMap::Lingua()
{
    m_titolo = mLang::Testo_Lingua(kSezione, QStringLiteral("mappamondo"));
    m_titoloRettangolare = mLang::Testo_Lingua(kSezione, QStringLiteral("mapparettangolare"));
    m_titoloOrtografico = mLang::Testo_Lingua(kSezione, QStringLiteral("mappaortografica"));
    setWindowTitle(m_titolo);
    fraSatellitePrincipale->Lingua(mLang::Testo_Lingua(kSezione, QStringLiteral("satelliteprincipale")));
}

QPointF frmWorldMap::posizioneDisegnata(int slot) const
{
    if (slot < 1 || slot > 200)
        return {999, 999};
    return {m_x[size_t(slot)], m_y[size_t(slot)]};
}

// ---------------------------------------------------------------- pointer

void frmWorldMap::Picture1_MouseMove(int /*Button*/, int /*Shift*/, double X, double Y)
{
    Picture1->setToolTip(QString());
    if (QAction* r = Voce_Mappa("mnuWorldmapRimuovi"))
        r->setEnabled(false);
    m_selezione = 0;

    const int n = std::min(gintNumSatelliti, 200);
    for (int i = 1; i <= n; ++i) {
        const Valori& v = gudtValori[size_t(i)];
        double d2 = 1e300;
        if (ortho()) {
            const double dx = X - m_x[size_t(i)];
            const double dy = Y - m_y[size_t(i)];
            d2 = dx * dx + dy * dy < 81.0 ? 0 : 1e300;
        } else if (recta()) {
            if (v.Stato == StatoNessuno)
                continue; // not drawn this second
            const double dx = X - v.Longitudine;
            const double dy = Y - v.Latitudine;
            d2 = dx * dx + dy * dy < 24.0 ? 0 : 1e300;
        }
        if (d2 != 0)
            continue;
        if (Spuntata("mnuWorldmapDatiSatellite")) {
            Picture1->setToolTip(
                QStringLiteral("Norad# ") + QString::fromStdString(gudtSatelementi[size_t(i)].NumeroCatalogo)
                + QLatin1Char(' ') + fraSatellitePrincipale->lblLat->text() + QLatin1Char(' ') + vb::Format(v.Latitudine, u"00.00")
                + QLatin1Char(' ') + fraSatellitePrincipale->lblLon->text() + QLatin1Char(' ') + vb::Format(v.Longitudine, u"##0.00")
                + QLatin1Char(' ') + fraSatellitePrincipale->lblQuota->text() + QLatin1Char(' ') + vb::Format(v.Quota, u"####0.0")
                + QLatin1Char(' ') + fraSatellitePrincipale->lblVel->text() + QLatin1Char(' ') + vb::Format(v.Velocita, u"#0.0"));
        }
        m_selezione = i;
    }

    if (!Spuntata("mnuWorldmapCoordinateMouse"))
        return;
    double lon = 0, lat = 0;
    if (recta()) {
        lon = X;
        lat = Y;
    } else if (ortho()) {
        if (!maps::mappa::Coordinate_Globo(X, Y, m_centroLon, m_centroLat, lon, lat))
            return;
    } else {
        return;
    }
    setWindowTitle(maps::mappa::Testo_Coordinate(recta() ? m_titoloRettangolare : m_titoloOrtografico,
                                                  fraSatellitePrincipale->lblLon->text(), fraSatellitePrincipale->lblLat->text(), lon, lat, ortho()));
}

void frmWorldMap::Picture1_MouseDown(int Button, int Shift, double X, double Y)
{
    if (Button != 2)
        return;
    if (gintNumSatelliti > 0 && m_selezione > 1)
        if (QAction* r = Voce_Mappa("mnuWorldmapRimuovi"))
            r->setEnabled(true);
    MainWindowLink* main = MainWindowLink::instance();
    QMenu* menu = main ? main->menu(QStringLiteral("mnuWorldmap")) : nullptr;
    if (!menu)
        return;
    QPointer<frmWorldMap> io(this);
    menu->exec(QCursor::pos());
    // The menu took the button's release: it is handled as the map's own.
    if (io)
        Picture1_MouseUp(Button, Shift, X, Y);
}

void frmWorldMap::Picture1_MouseUp(int /*Button*/, int /*Shift*/, double /*X*/, double /*Y*/)
{
    const int s = m_selezione;
    if (gintNumSatelliti <= 0 || s <= 1 || s > gintNumSatelliti)
        return;
    core::WorkingList::instance().Rendi_Principale(s);
    if (MainWindowLink* main = MainWindowLink::instance())
        main->Mostra_principale();
    mSat::Calcola_Satellite(1, gdblGiornoGiuliano);
    Genera_mappa();
}
