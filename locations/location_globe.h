#pragma once
// The eleven small globe pictures of the location dialog: orthographic views
// of the Earth centred on latitude 15 and the longitudes -180, -140, -100,
// -60, -20, 0, 20, 60, 100, 140 and 160, made once from the world map
// picture of the program folder (a plain blue globe with a grid when it
// cannot be read).
#include <QPixmap>

namespace locations {

inline constexpr int kLatoGlobo = 120;   // pixels

// Picture n (1 to 11) of the globe list.
QPixmap Immagine_Globo(int n);

} // namespace locations
