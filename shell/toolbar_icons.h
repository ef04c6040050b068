#pragma once
// The pictures of the main window's toolbar buttons and of the about box,
// drawn by the program itself.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace shell {

// The icon of the toolbar button with this key ("Open", "Time", ...); an
// empty icon for an unknown key.
QIcon Icona_Pulsante(const QString& key);

// The about box's picture: a satellite over the Earth, size x size pixels.
QPixmap Immagine_Informazioni(int size);

} // namespace shell
