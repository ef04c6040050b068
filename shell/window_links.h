#pragma once
// Each group of windows connects the main window's commands that open it
// (and the view menus that drive it) here. Called once by main() after the
// main window is built; a command left without a handler stays disabled.
class MDIForm1;

namespace views {
void Collega_Mappa_Mondo(MDIForm1& main);   // world map
void Collega_Cielo_Locale(MDIForm1& main);  // local sky chart
}
namespace predictions {
void Collega_Previsioni(MDIForm1& main);    // pass predictions
void Collega_Elenchi(MDIForm1& main);       // ephemeris and relative listings
void Collega_Tabelle(MDIForm1& main);       // tracking table, planet table, almanac
}
namespace charts {
void Collega_Mappa_Passaggio(MDIForm1& main);  // pass maps
void Collega_Cielo_Generale(MDIForm1& main);   // whole-sky chart, object box, limiting magnitude
}
namespace options {
void Collega_Opzioni(MDIForm1& main);       // options dialog, download, clock setting
void Collega_Localita(MDIForm1& main);      // observer location, text files, file menu
}
