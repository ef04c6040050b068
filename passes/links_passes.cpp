#include "common/window_links.h"

#include "passes/pass_map_window.h"
#include "common/window_host.h"
#include "core/mastro.h"
#include "passes/pass_window.h"
#include "common/main_window_link.h"

#include <QApplication>

namespace passes {

void Collega_Previsioni(MainWindowLink& main)
{
    // Satellites > Pass predictions: the one prediction window, in its
    // normal state, inside the main window.
    main.setMenuHandler(QStringLiteral("mnuSatellitiPrevisioniPassaggi"), [] {
        QApplication::processEvents();
        frmVisibleSatellites* f = frmVisibleSatellites::instance();
        if (QWidget* cornice = f->parentWidget(); cornice && cornice->inherits("QMdiSubWindow"))
            cornice->showNormal();
        f->setWindowState(f->windowState() & ~Qt::WindowMinimized);
        common::Mostra_Figlia(f);
    });

    // A chosen pass opens a new pass map of that pass, at the event chosen:
    // the observer's local times of its Julian dates.
    frmVisibleSatellites::setApriMappa([](frmVisibleSatellites& w, const core::RecordPassaggio& p, double jdMappa) {
        auto* mappa = new frmSkySat;
        mappa->Apri(p, jdMappa);
        mappa->gstrRiga1 = w.mstrRiga1;
        mappa->gstrRiga2 = w.mstrRiga2;
        mappa->gstrRiga3 = w.mstrRiga3;
        mappa->Mostra();
    });
}

} // namespace passes
