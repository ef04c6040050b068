#include "common/window_links.h"

#include "settings/settings_dialog.h"
#include "settings/settings_notice.h"
#include "common/main_window_link.h"
#include "core/settings.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>


namespace settings {

void Collega_Opzioni(MainWindowLink& main)
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
    // OK, once the general page is stored: the main window's toolbar and
    // status bar, and their View menu marks, follow the settings.
    settings::avvisiOpzioni().barre = [] {
        MainWindowLink* m = MainWindowLink::instance();
        if (!m)
            return;
        m->Toolbar1()->setVisible(gblnBarraPulsanti);
        m->StatusBar1()->setVisible(gblnBarraStato);
        m->mnuVisualizzaBarraPulsanti()->setChecked(gblnBarraPulsanti);
        m->mnuVisualizzaBarraStato()->setChecked(gblnBarraStato);
    };
}

} // namespace settings
