#include "shell/window_wiring.h"

#include "common/window_links.h"
#include "database/menu_links.h"
#include "network/clock_window.h"
#include "shell/main_window.h"
#include "shell/time_window.h"

void Collega_Tutte_Le_Finestre(MDIForm1& w)
{
    database::Collega_Finestre(w);
    views::Collega_Mappa_Mondo(w);
    views::Collega_Cielo_Locale(w);
    predictions::Collega_Previsioni(w);
    predictions::Collega_Elenchi(w);
    predictions::Collega_Tabelle(w);
    charts::Collega_Mappa_Passaggio(w);
    charts::Collega_Cielo_Generale(w);
    options::Collega_Opzioni(w);
    options::Collega_Localita(w);
    options::Collega_File(w);
    options::Collega_Rete(w);
    // The time window's button that sets the clock from a time server.
    frmTime::setSincronizzazione([] { frmSyncro::Mostra(); });
}
