#pragma once
// Connects the main window's commands that open the satellite database, the
// element-file summary and the calendar to their windows.
class MDIForm1;

namespace database {

// Registers the database loader of the open-file command and, for each of
// "mnuSatellitiDatabase", "mnuFileVisualizza", "mnuStrumentiCalendario" and
// "mnuFileApri" that has no command yet, its command.
void Collega_Finestre(MDIForm1& main);

} // namespace database
