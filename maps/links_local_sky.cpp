#include "common/window_links.h"

#include "sky/magnitude_dialog.h"
#include "core/clock.h"
#include "core/globals_orbit.h"
#include "core/transit.h"
#include "core/working_list.h"
#include "platform/canvas_widget.h"
#include "common/main_window_link.h"
#include "maps/local_sky_window.h"
#include "maps/local_sky_menu.h"
#include "core/mglobal.h"
#include "core/settings.h"
#include "settings/settings_notice.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>

namespace maps::cielo {

namespace {

QAction* voce(const char* nome)
{
    MainWindowLink* m = MainWindowLink::instance();
    return m ? m->menuItem(QLatin1String(nome)) : nullptr;
}

void pulsanteTransito(bool premuto)
{
    MainWindowLink* m = MainWindowLink::instance();
    if (QToolButton* b = m ? m->toolButton(QStringLiteral("Transit")) : nullptr) {
        b->setCheckable(true);
        b->setChecked(premuto);
    }
}

void eventi()
{
    QApplication::processEvents();
}

QWidget* cornice(frmLocalSky* f)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(f->parentWidget());
    return sub ? static_cast<QWidget*>(sub) : f;
}

const char* const kOrientamenti[4] = {"mnuLocalSkyOrientamentoNord", "mnuLocalSkyOrientamentoSud",
                                      "mnuLocalSkyOrientamentoOvest", "mnuLocalSkyOrientamentoEst"};

} // namespace

bool Spunta(const char* nome)
{
    QAction* a = voce(nome);
    return a && a->isChecked();
}

void Spunta(const char* nome, bool on)
{
    if (QAction* a = voce(nome))
        a->setChecked(on);
}

std::function<void()>& apriMagnitudine()
{
    static std::function<void()> f;
    return f;
}

frmLocalSky* mnuCieloMappaLocale_Click()
{
    eventi();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool nuova = !frmLocalSky::instance();
    frmLocalSky* f = frmLocalSky::instance(true);
    f->zoomEseguito = [] { mnuLocalSkyZoom_Click(); };
    MainWindowLink* m = MainWindowLink::instance();
    if (m && nuova) {
        QMdiSubWindow* sub = m->addChild(f);
        const QSize dentro = f->posizione.size();
        sub->resize(dentro + (sub->size() - sub->contentsRect().size()));
        sub->resize(dentro);
        if (f->spostaAllaPosizione)
            sub->move(f->posizione.topLeft());
        if (QMenu* menu = m->menu(QStringLiteral("mnuLocalSky")))
            menu->menuAction()->setVisible(true);
        QObject::connect(m->mdiArea(), &QMdiArea::subWindowActivated, f, [m, f](QMdiSubWindow* s) {
            if (QMenu* menu = m->menu(QStringLiteral("mnuLocalSky")))
                menu->menuAction()->setVisible(s && s->widget() == f);
        });
        if (QAction* r = voce("mnuLocalSkyRipristina"))
            r->setEnabled(false);
        sub->show();
        m->mdiArea()->setActiveSubWindow(sub);
    } else {
        cornice(f)->show();
        f->show();
        if (m)
            if (auto* sub = qobject_cast<QMdiSubWindow*>(f->parentWidget()))
                m->mdiArea()->setActiveSubWindow(sub);
    }
    f->Form_Resize();
    QApplication::restoreOverrideCursor();
    return f;
}

void mnuLocalSkyTransitoPrincipale_Click()
{
    frmLocalSky* f = frmLocalSky::instance();
    if (!f)
        return;
    if (Spunta("mnuLocalSkyTransitoPrincipale")) {
        Spunta("mnuLocalSkyTransitoPrincipale", false);
        Spunta("mnuLocalSkyTempi", false);
        pulsanteTransito(false);
        f->Imposta_Puntatore(1);
        eventi();
        f->Genera_mappa();
        return;
    }
    if (gudtValori[1].Altezza <= 0)
        return;
    Spunta("mnuLocalSkyTransitoPrincipale", true);
    Spunta("mnuLocalSkyTempi", true);
    Spunta("mnuLocalSkyZoom", false); // the two pointer modes exclude each other
    pulsanteTransito(true);
    f->Imposta_Puntatore(2);
    eventi();
    if (core::WorkingList::instance().isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    core::Calcola_Passaggio([f](double az, double alt, float& x, float& y) { f->Mappatura(az, alt, x, y); });
    f->Genera_mappa();
    QApplication::restoreOverrideCursor();
}

void mnuLocalSkyTempi_Click()
{
    frmLocalSky* f = frmLocalSky::instance();
    if (Spunta("mnuLocalSkyTempi")) {
        Spunta("mnuLocalSkyTempi", false);
        if (f)
            f->Imposta_Puntatore(1);
    } else if (gudtValori[1].Altezza > 0 && Spunta("mnuLocalSkyTransitoPrincipale")) {
        Spunta("mnuLocalSkyZoom", false);
        Spunta("mnuLocalSkyTempi", true);
        if (f)
            f->Imposta_Puntatore(2);
    }
}

void Inverti_E_Ridisegna(const char* nome)
{
    Spunta(nome, !Spunta(nome));
    eventi();
    if (frmLocalSky* f = frmLocalSky::instance())
        f->Genera_mappa();
}

void mnuLocalSkySoloPrincipale_Click()
{
    Spunta("mnuLocalSkySoloPrincipale", !Spunta("mnuLocalSkySoloPrincipale"));
}

void mnuLocalSkyRiquadroDati_Click()
{
    const bool on = !Spunta("mnuLocalSkyRiquadroDati");
    Spunta("mnuLocalSkyRiquadroDati", on);
    if (frmLocalSky* f = frmLocalSky::instance()) {
        f->setLarghezzaRiquadro(on ? 1935 : 0);
        f->Form_Resize();
    }
}

void mnuLocalSkyCoordinate_Click(const char* nome, const char* altra)
{
    if (!Spunta(altra))
        return;
    Spunta(nome, true);
    Spunta(altra, false);
}

void mnuLocalSkyProiezione_Click(const char* nome, const char* altra)
{
    if (!Spunta(altra))
        return;
    Spunta(altra, false);
    Spunta(nome, true);
    eventi();
    mnuLocalSkyRidisegnaMappa_Click();
}

namespace {
// Steps shared by the orientation and the redraw commands: the pass is
// computed again in the new geometry when it was shown, and the chart redrawn.
void ricalcolaPassaggio()
{
    core::Svuota_Passaggio();
    Spunta("mnuLocalSkyTransitoPrincipale", !Spunta("mnuLocalSkyTransitoPrincipale"));
    mnuLocalSkyTransitoPrincipale_Click();
    if (frmLocalSky* f = frmLocalSky::instance())
        f->tmrLocalSky_Timer();
}
} // namespace

void mnuLocalSkyOrientamento_Click(const char* nome)
{
    if (Spunta(nome))
        return;
    for (const char* o : kOrientamenti)
        Spunta(o, false);
    Spunta(nome, true);
    eventi();
    ricalcolaPassaggio();
}

void mnuLocalSkyRidisegnaMappa_Click()
{
    eventi();
    ricalcolaPassaggio();
}

void mnuLocalSkyZoom_Click()
{
    frmLocalSky* f = frmLocalSky::instance();
    if (Spunta("mnuLocalSkyZoom")) {
        Spunta("mnuLocalSkyZoom", false);
        if (f) {
            f->Imposta_Puntatore(1);
            f->Picture1->Refresh();
        }
        return;
    }
    Spunta("mnuLocalSkyTempi", false);
    Spunta("mnuLocalSkyZoom", true);
    if (f) {
        f->Imposta_Puntatore(3);
        f->Picture1->Refresh();
    }
    if (QAction* r = voce("mnuLocalSkyRipristina"))
        r->setEnabled(true);
}

void mnuLocalSkyRipristina_Click()
{
    frmLocalSky* f = frmLocalSky::instance();
    Spunta("mnuLocalSkyZoom", false);
    if (f) {
        f->Picture1->canvas().setAutoRedraw(false);
        f->Picture1->canvas().Cls();
        f->Imposta_Puntatore(1);
        f->gsngLatoSx = -200;
        f->gsngLatoSy = 100;
        f->gsngLatoDx = 200;
        f->gsngLatoDy = -100;
        f->gblnZoom = false;
        f->Genera_mappa();
    }
    if (QAction* r = voce("mnuLocalSkyRipristina"))
        r->setEnabled(false);
    Spunta("mnuLocalSkyTempi", false);
}

void mnuLocalSkyMagnitudine_Click()
{
    if (apriMagnitudine())
        apriMagnitudine()();
    else
        frmMagnitude::Mostra(QStringLiteral("locale"), MainWindowLink::window());
}

void mnuLocalSkyStampa_Click()
{
    eventi();
    if (frmLocalSky* f = frmLocalSky::instance())
        f->Stampa();
}

void mnuLocalSkyChiudi_Click()
{
    if (frmLocalSky* f = frmLocalSky::instance())
        cornice(f)->close();
}

} // namespace maps::cielo

namespace maps {

void Collega_Cielo_Locale(MainWindowLink& main)
{
    using namespace maps::cielo;
    // The procedures read the check marks as they were before the click: a
    // checkable item has been toggled by the toolkit already, so put it back.
    auto collega = [&main](const char* nome, std::function<void()> f) {
        QAction* a = main.menuItem(QLatin1String(nome));
        main.setMenuHandler(QLatin1String(nome), [a, f] {
            if (a && a->isCheckable())
                a->setChecked(!a->isChecked());
            f();
        });
    };
    collega("mnuCieloMappaLocale", [] { mnuCieloMappaLocale_Click(); });
    collega("mnuLocalSkyTransitoPrincipale", mnuLocalSkyTransitoPrincipale_Click);
    collega("mnuLocalSkyTempi", mnuLocalSkyTempi_Click);
    for (const char* n : {"mnuLocalSkyGriglia", "mnuLocalSkyPaesaggio", "mnuLocalSkyOggettiCostellazioni",
                          "mnuLocalSkyOggettiPianeti", "mnuLocalSkyOggettiSoleLuna",
                          "mnuLocalSkyEtichetteCostellazioni", "mnuLocalSkyEtichettePianeti",
                          "mnuLocalSkyEtichetteSoleLuna"})
        collega(n, [n] { Inverti_E_Ridisegna(n); });
    collega("mnuLocalSkySoloPrincipale", mnuLocalSkySoloPrincipale_Click);
    collega("mnuLocalSkyRiquadroDati", mnuLocalSkyRiquadroDati_Click);
    collega("mnuLocalSkyCoordEquat", [] { mnuLocalSkyCoordinate_Click("mnuLocalSkyCoordEquat", "mnuLocalSkyCoordOrizz"); });
    collega("mnuLocalSkyCoordOrizz", [] { mnuLocalSkyCoordinate_Click("mnuLocalSkyCoordOrizz", "mnuLocalSkyCoordEquat"); });
    collega("mnuLocalSkyProiezStereo",
            [] { mnuLocalSkyProiezione_Click("mnuLocalSkyProiezStereo", "mnuLocalSkyProiezNormale"); });
    collega("mnuLocalSkyProiezNormale",
            [] { mnuLocalSkyProiezione_Click("mnuLocalSkyProiezNormale", "mnuLocalSkyProiezStereo"); });
    for (const char* n : {"mnuLocalSkyOrientamentoNord", "mnuLocalSkyOrientamentoSud",
                          "mnuLocalSkyOrientamentoOvest", "mnuLocalSkyOrientamentoEst"})
        collega(n, [n] { mnuLocalSkyOrientamento_Click(n); });
    collega("mnuLocalSkyRidisegnaMappa", mnuLocalSkyRidisegnaMappa_Click);
    collega("mnuLocalSkyZoom", mnuLocalSkyZoom_Click);
    collega("mnuLocalSkyRipristina", mnuLocalSkyRipristina_Click);
    collega("mnuLocalSkyMagnitudine", mnuLocalSkyMagnitudine_Click);
    collega("mnuLocalSkyStampa", mnuLocalSkyStampa_Click);
    collega("mnuLocalSkyChiudi", mnuLocalSkyChiudi_Click);
    // Reset is offered only once zoom mode has been entered.
    if (QAction* r = main.menuItem(QStringLiteral("mnuLocalSkyRipristina")))
        r->setEnabled(false);

    // Options > OK, once the local-sky pages are stored: the view menu
    // follows the settings and the chart is drawn again.
    settings::avvisiOpzioni().cieloLocale = [] {
        frmLocalSky* f = frmLocalSky::instance();
        if (!f || !mGlobal::Form_Aperta(QStringLiteral("frmLocalSky")))
            return;
        Spunta("mnuLocalSkyGriglia", gblnLocaleGriglia);
        Spunta("mnuLocalSkyOggettiCostellazioni", gblnLocaleCostellazioniLinee);
        Spunta("mnuLocalSkyOggettiPianeti", gblnLocalePianeti);
        Spunta("mnuLocalSkyOggettiSoleLuna", gblnLocaleSoleLuna);
        Spunta("mnuLocalSkyEtichetteCostellazioni", gblnLocaleCostellazioniNomi);
        Spunta("mnuLocalSkyEtichettePianeti", gblnLocalePianetiNomi);
        Spunta("mnuLocalSkyEtichetteSoleLuna", gblnLocaleSoleLunaNomi);
        Spunta("mnuLocalSkyCoordOrizz", gblnLocaleCoordinateAltazimutali);
        Spunta("mnuLocalSkyCoordEquat", !gblnLocaleCoordinateAltazimutali);
        Spunta("mnuLocalSkyProiezStereo", gblnLocaleProiezioneStereo == -1);
        Spunta("mnuLocalSkyProiezNormale", gblnLocaleProiezioneStereo != -1);
        f->tmrLocalSky_Timer();
    };
}

} // namespace maps
