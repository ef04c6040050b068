#include "common/window_links.h"

#include "tables/planet_table.h"
#include "tables/almanac.h"
#include "tables/tracking_table.h"
#include "common/main_window_link.h"

#include <QCoreApplication>

namespace tables {

void Collega_Tabelle(MainWindowLink& main)
{
    main.setMenuHandler(QStringLiteral("mnuEffemeridiSatelliti"), [] {
        QCoreApplication::processEvents();
        frmTrack::Mostra();
    });
    main.setMenuHandler(QStringLiteral("mnuEffemeridiPianeti"), [] { frmPlanets::Mostra(); });
    main.setMenuHandler(QStringLiteral("mnuEffemeridiAlmanacco"), [] { frmRiseSet::Mostra(); });
}

} // namespace tables
