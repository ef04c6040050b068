#include "ui/window_links.h"

#include "charts/frm_planets.h"
#include "charts/frm_rise_set.h"
#include "predictions/frm_track.h"
#include "ui/mdiform1.h"

#include <QCoreApplication>

namespace predictions {

void Collega_Tabelle(MDIForm1& main)
{
    main.setMenuHandler(QStringLiteral("mnuEffemeridiSatelliti"), [] {
        QCoreApplication::processEvents();
        frmTrack::Mostra();
    });
    main.setMenuHandler(QStringLiteral("mnuEffemeridiPianeti"), [] { frmPlanets::Mostra(); });
    main.setMenuHandler(QStringLiteral("mnuEffemeridiAlmanacco"), [] { frmRiseSet::Mostra(); });
}

} // namespace predictions
