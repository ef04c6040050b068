#pragma once
// The pictures the sky charts and the object box use: the chart pointers
// (ordinary 1, zoom 3), the Sun symbol (6) of the pointer list, and one
// picture per object kind (planets 1 to 7, the Sun 8, a star 9).
#include <QCursor>
#include <QImage>

namespace sky {

// Picture n of the pointer list; a null image for a number not in use.
QImage Immagine_Mouse(int n);
// The pointer made of picture n (1 ordinary, 3 zoom), hot spot in place.
QCursor Puntatore_Mouse(int n);
// Picture n (1 to 9) of the object list, 48 by 48; null otherwise.
QImage Immagine_Oggetto(int n);

} // namespace sky
