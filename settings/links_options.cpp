#include "shell/window_links.h"

#include "network/download_window.h"
#include "settings/settings_dialog.h"
#include "network/clock_window.h"
#include "shell/time_window.h"
#include "shell/main_window.h"

#include <QApplication>

namespace options {

void Collega_Opzioni(MDIForm1& main)
{
    // The options items and the page each opens.
    static const struct {
        const char* voce;
        int pagina;
    } kVoci[] = {{"mnuOpzioniGenerali", 0},  {"mnuOpzioniSatelliti", 1},    {"mnuOpzioniMappamondo", 2},
                 {"mnuOpzioniCieloLocale", 3}, {"mnuOpzioniCieloGenerale", 5}, {"mnuOpzioniAnteprime", 6},
                 {"mnuOpzioniFiltri", 8},     {"mnuOpzioniServerNTP", 9},     {"mnuOpzioniColori", 10},
                 {"mnuOpzioniDownload", 12},  {"mnuOpzioniEsegui", 13}};
    for (const auto& v : kVoci) {
        const int pagina = v.pagina;
        main.setMenuHandler(QLatin1String(v.voce), [pagina] { frmSettings::Mostra(pagina); });
    }
    main.setMenuHandler(QStringLiteral("mnuStrumentiDownload"), [] { frmDownload::Mostra(); });
    main.setMenuHandler(QStringLiteral("mnuStrumentiSincronizzazione"), [] { frmSyncro::Mostra(); });
    frmTime::setSincronizzazione([] { frmSyncro::Mostra(); });
}

} // namespace options
