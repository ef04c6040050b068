#include "shell/window_wiring.h"

#include "common/window_links.h"
#include "database/menu_links.h"
#include "network/clock_window.h"
#include "shell/main_window.h"
#include "shell/time_window.h"

void Collega_Tutte_Le_Finestre(MDIForm1& w)
{
    database::Collega_Finestre(w);
    maps::Collega_Mappa_Mondo(w);
    maps::Collega_Cielo_Locale(w);
    passes::Collega_Previsioni(w);
    listings::Collega_Elenchi(w);
    tables::Collega_Tabelle(w);
    passes::Collega_Mappa_Passaggio(w);
    sky::Collega_Cielo_Generale(w);
    settings::Collega_Opzioni(w);
    locations::Collega_Localita(w);
    files::Collega_File(w);
    network::Collega_Rete(w);
    // The time window's button that sets the clock from a time server.
    frmTime::setSincronizzazione([] { frmSyncro::Mostra(); });
}
