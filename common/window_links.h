#pragma once
// Each group of windows connects the main window's commands that open it
// (and the view menus that drive it) here. Called once by main() after the
// main window is built; a command left without a handler stays disabled.
class MainWindowLink;

namespace maps {
void Collega_Mappa_Mondo(MainWindowLink& main);   // world map
void Collega_Cielo_Locale(MainWindowLink& main);  // local sky chart
}
namespace passes {
void Collega_Previsioni(MainWindowLink& main);    // pass predictions
void Collega_Mappa_Passaggio(MainWindowLink& main);  // pass maps
}
namespace listings {
void Collega_Elenchi(MainWindowLink& main);       // ephemeris and relative listings
}
namespace tables {
void Collega_Tabelle(MainWindowLink& main);       // tracking table, planet table, almanac
}
namespace sky {
void Collega_Cielo_Generale(MainWindowLink& main);   // whole-sky chart, object box, limiting magnitude
}
namespace settings {
void Collega_Opzioni(MainWindowLink& main);       // options dialog
}
namespace locations {
void Collega_Localita(MainWindowLink& main);      // observer location
}
namespace files {
void Collega_File(MainWindowLink& main);          // File menu documents, text viewer, element-file tools
}
namespace network {
void Collega_Rete(MainWindowLink& main);          // download, clock setting
}
