#pragma once
// Pictures of the local sky chart, drawn by the program: the satellite icons
// (images 16 to 27 of the chart's icon list: four styles of three images,
// style s uses s + 16 sunlit but not visible, s + 17 visible, s + 18 other),
// the Sun's picture and the chart's pointers (1 normal, 2 time picking, 3 zoom).
#include <QCursor>
#include <QImage>

namespace views::cielo {

QImage Immagine_Satellite(int indice);  // 16..27; a null image otherwise
QImage Immagine_Sole();
QCursor Puntatore(int immagine);

} // namespace views::cielo
