#include "common/window_links.h"

#include "passes/pass_map_window.h"
#include "common/window_host.h"
#include "platform/vb.h"
#include "passes/pass_window.h"
#include "common/main_window_link.h"

#include <QApplication>

namespace predictions {

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
        database::Mostra_Figlia(f);
    });

    // A chosen pass opens its pass map: a new map of the satellite in slot 201.
    frmVisibleSatellites::setApriMappa([](frmVisibleSatellites& w) {
        auto* mappa = new frmSkySat;
        mappa->gvarTempoInizio = vb::CDate(w.mvarTempoInizio).value_or(QDateTime());
        mappa->gvarTempoCulmine = vb::CDate(w.mvarTempoCulmine).value_or(QDateTime());
        mappa->gvarTempoFine = vb::CDate(w.mvarTempoFine).value_or(QDateTime());
        mappa->gvarTempoMappa = vb::CDate(w.mvarTempoMappa).value_or(QDateTime());
        mappa->gstrRiga1 = w.mstrRiga1;
        mappa->gstrRiga2 = w.mstrRiga2;
        mappa->gstrRiga3 = w.mstrRiga3;
        mappa->Mostra();
    });
}

} // namespace predictions
