#include "common/window_links.h"

#include "common/main_window_link.h"
#include "network/clock_window.h"
#include "network/download_window.h"

namespace network {

void Collega_Rete(MainWindowLink& main)
{
    main.setMenuHandler(QStringLiteral("mnuStrumentiDownload"), [] { frmDownload::Mostra(); });
    main.setMenuHandler(QStringLiteral("mnuStrumentiSincronizzazione"), [] { frmSyncro::Mostra(); });
}

} // namespace network
