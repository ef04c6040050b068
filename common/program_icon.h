#pragma once
// The program's own icon, the one installed with it (packaging/linux/icons),
// for the application and so for every window: title bars, the task bar and
// the frames of the workspace's windows.
#include <QIcon>

namespace common {

// The icon at each size it is installed at, built into the program.
QIcon Icona_Programma();
// Makes it the icon of the application, which every window without an icon
// of its own shows.
void Imposta_Icona_Programma();

} // namespace common
