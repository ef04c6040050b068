#pragma once
// Connects the main window's commands that open the satellite database, the
// element-file summary and the calendar to their windows.
class MainWindowLink;

namespace database {

// Registers the database loader of the open-file command and, for each of
// "mnuSatellitiDatabase", "mnuStrumentiCalendario", "mnuFileApri" and
// "mnuSatellitiElementiOrbitali" that has no command yet, its command. The
// commands that open listing windows (the element-file summary, the
// ephemeris and relative-motion dialogs) are the listings' own wiring.
void Collega_Finestre(MainWindowLink& main);

// The principal database is loaded, or the user agreed to load it and it
// now holds sets (the database window is hidden again). False otherwise.
bool Database_Necessario(MainWindowLink& main);

} // namespace database
