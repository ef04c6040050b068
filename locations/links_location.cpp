#include "common/window_links.h"

#include "locations/location_dialog.h"
#include "common/main_window_link.h"

#include <QAction>

namespace locations {

namespace {

// Serves a command unless another window already does.
void Se_Libero(MainWindowLink& main, const char* nome, std::function<void()> comando)
{
    const QString n = QLatin1String(nome);
    if (QAction* a = main.menuItem(n); a && a->isEnabled() && main.menuHandler(n))
        return;
    main.setMenuHandler(n, std::move(comando));
}

} // namespace

void Collega_Localita(MainWindowLink& main)
{
    // Observer location (menu, toolbar button and status-bar panel 3).
    Se_Libero(main, "mnuOpzioniLocalita", [] { frmLocation::Mostra(); });

}

} // namespace locations
