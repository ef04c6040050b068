#pragma once
// Each group of windows connects the main window's commands that open it
// (and the view menus that drive it) here. Called once by main() after the
// main window is built; a command left without a handler stays disabled.
class MainWindowLink;

namespace views {
void Collega_Mappa_Mondo(MainWindowLink& main);   // world map
void Collega_Cielo_Locale(MainWindowLink& main);  // local sky chart
}
namespace predictions {
void Collega_Previsioni(MainWindowLink& main);    // pass predictions
void Collega_Elenchi(MainWindowLink& main);       // ephemeris and relative listings
void Collega_Tabelle(MainWindowLink& main);       // tracking table, planet table, almanac
}
namespace charts {
void Collega_Mappa_Passaggio(MainWindowLink& main);  // pass maps
void Collega_Cielo_Generale(MainWindowLink& main);   // whole-sky chart, object box, limiting magnitude
}
namespace options {
void Collega_Opzioni(MainWindowLink& main);       // options dialog
void Collega_Localita(MainWindowLink& main);      // observer location
void Collega_File(MainWindowLink& main);          // File menu documents, text viewer, element-file tools
void Collega_Rete(MainWindowLink& main);          // download, clock setting
}
