#include "common/window_links.h"

#include "sky/sky_chart_window.h"
#include "sky/magnitude_dialog.h"
#include "sky/object_box.h"
#include "common/main_window_link.h"
#include "core/mglobal.h"
#include "core/settings.h"
#include "settings/settings_notice.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace sky {

namespace {

// Runs `comando` on the chart when it is open.
std::function<void()> sulCielo(std::function<void(frmGeneralSky&)> comando)
{
    return [comando] {
        if (frmGeneralSky* c = frmGeneralSky::instance(false))
            comando(*c);
    };
}

// The limiting-magnitude command of another chart's menu, unless that
// chart's window already serves it.
void seLibero(MainWindowLink& main, const char* nome, std::function<void()> comando)
{
    QAction* a = main.menuItem(QString::fromLatin1(nome));
    if (a && !a->isEnabled())
        main.setMenuHandler(QString::fromLatin1(nome), std::move(comando));
}

// The owner of the modal dialogs: the main window at the time of the command.
QWidget* principale()
{
    return MainWindowLink::window();
}

} // namespace

void Collega_Cielo_Generale(MainWindowLink& main)
{
    main.setMenuHandler(QStringLiteral("mnuCieloMappaGenerale"), [] { frmGeneralSky::Mostra(); });

    for (const char* nome : {"mnuGeneralSkyGriglia", "mnuGeneralSkyOggettiCostellazioni",
                             "mnuGeneralSkyOggettiPianeti", "mnuGeneralSkyOggettiSoleLuna",
                             "mnuGeneralSkyEtichetteCostellazioni", "mnuGeneralSkyEtichettePianeti",
                             "mnuGeneralSkyEtichetteSoleLuna"}) {
        const QString voce = QString::fromLatin1(nome);
        QAction* a = main.menuItem(voce);
        main.setMenuHandler(voce, [a, voce] {
            if (frmGeneralSky* c = frmGeneralSky::instance(false)) {
                // The item has already flipped its own check mark when chosen
                // from the menu: the chart's toggle inverts it, so put it back first.
                if (a && a->isCheckable())
                    a->setChecked(!a->isChecked());
                c->Inverti_Voce(voce);
            }
        });
    }
    main.setMenuHandler(QStringLiteral("mnuGeneralSkyMagnitudine"),
                        [] { frmMagnitude::Mostra(QStringLiteral("generale"), principale()); });
    main.setMenuHandler(QStringLiteral("mnuGeneralSkyZoom"), [] {
        if (frmGeneralSky* c = frmGeneralSky::instance(false)) {
            QAction* a = c->voce(QStringLiteral("mnuGeneralSkyZoom"));
            if (a->isCheckable())
                a->setChecked(!a->isChecked());
            c->mnuGeneralSkyZoom_Click();
        }
    });
    main.setMenuHandler(QStringLiteral("mnuGeneralSkyRipristina"),
                        sulCielo([](frmGeneralSky& c) { c.mnuGeneralSkyRipristina_Click(); }));
    main.setMenuHandler(QStringLiteral("mnuGeneralSkyRidisegnaMappa"),
                        sulCielo([](frmGeneralSky& c) { c.tmrGeneralSky_Timer(); }));
    main.setMenuHandler(QStringLiteral("mnuGeneralSkyChiudi"), sulCielo([](frmGeneralSky& c) {
                            if (QWidget* f = c.parentWidget(); f && qobject_cast<QMdiSubWindow*>(f))
                                f->close();
                            else
                                c.close();
                        }));
    // The reset item is offered only after the zoom mode was switched on.
    if (QAction* r = main.menuItem(QStringLiteral("mnuGeneralSkyRipristina")))
        r->setEnabled(false);

    seLibero(main, "mnuSkySatMagnitudine", [] {
        MainWindowLink* m = MainWindowLink::instance();
        QWidget* attiva = m && m->mdiArea() ? m->mdiArea()->activeSubWindow() : nullptr;
        frmMagnitude::Mostra(QStringLiteral("anteprima"), attiva ? attiva : principale());
    });

    // The chart's menu shows while the chart is the active window.
    if (QMenu* menu = main.menu(QStringLiteral("mnuGeneralSky"))) {
        QObject::connect(main.mdiArea(), &QMdiArea::subWindowActivated, menu, [menu](QMdiSubWindow* sub) {
            menu->menuAction()->setVisible(sub && sub->widget()
                                           && sub->widget()->objectName() == QLatin1String("frmGeneralSky"));
        });
    }

    // Options > OK, once the whole-sky page is stored: the view menu follows
    // the settings and the chart is drawn again.
    settings::avvisiOpzioni().cieloGenerale = [] {
        frmGeneralSky* c = frmGeneralSky::instance(false);
        MainWindowLink* m = MainWindowLink::instance();
        if (!c || !m || !mGlobal::Form_Aperta(QStringLiteral("frmGeneralSky")))
            return;
        auto spunta = [m](const char* nome, bool on) {
            if (QAction* a = m->menuItem(QString::fromLatin1(nome)))
                a->setChecked(on);
        };
        spunta("mnuGeneralSkyGriglia", gblnGeneraleGriglia);
        spunta("mnuGeneralSkyOggettiCostellazioni", gblnGeneraleCostellazioniLinee);
        spunta("mnuGeneralSkyOggettiPianeti", gblnGeneralePianeti);
        spunta("mnuGeneralSkyOggettiSoleLuna", gblnGeneraleSoleLuna);
        spunta("mnuGeneralSkyEtichetteCostellazioni", gblnGeneraleCostellazioniNomi);
        spunta("mnuGeneralSkyEtichettePianeti", gblnGeneralePianetiNomi);
        spunta("mnuGeneralSkyEtichetteSoleLuna", gblnGeneraleSoleLunaNomi);
        c->Genera_mappa();
    };
}

} // namespace sky
