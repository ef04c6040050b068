#pragma once
// The small pictures the world map draws: the satellite icons (by their
// image number: 11 a listed satellite, 13 the Hubble telescope, 14 the
// International Space Station, 15 the principal satellite) and the Sun's
// symbol. Drawn once by the program itself, with a transparent background.
#include <QImage>

namespace maps {

// The icon with this image number; a null image for any other number.
const QImage& Icona_Mappa(int numero);
// The Sun's symbol.
const QImage& Simbolo_Sole();

// The size of a picture in HiMetric units (hundredths of a millimetre) at
// the screen's 96 dots per inch, as the drawing offsets use it.
double Larghezza_HiMetric(const QImage& picture);
double Altezza_HiMetric(const QImage& picture);

} // namespace maps
