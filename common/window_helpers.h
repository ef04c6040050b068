#pragma once
// Drawing helpers shared by the sky charts and the pass map.
#include <QtGlobal>
#include <cstdint>

namespace platform {
class Canvas;
}

namespace mGlobal {

// Colour gradient in `bands` concentric filled ellipses about (x, y): band k
// (0 the outermost, radius `radius`) has radius radius - k * radius / bands
// and, per red, green and blue component, c1 + (c2 - c1) * k \ bands. So the
// disc of `radius` goes from c1 at its rim to c2 at its centre. `aspect` is
// the ellipse's height to width ratio, as for Canvas::Circle. The canvas's
// fill colour and fill style are put back afterwards.
void Riempi_Sfumato(platform::Canvas& picture, std::uint32_t c1, std::uint32_t c2, float x,
                    float y, float radius, float aspect, int bands);

// A line from (x1, y1) to (x2, y2) in the canvas's pen, with arrow barbs of
// `headSize` at 45 degrees pointing along the line: at (x2, y2) when
// headAtEnd, and at the `marks` points (x1, y1) + i * spacing * u (i = 0 to
// marks - 1; with one mark, at the start only). A line of zero length draws
// nothing.
void Disegna_Linea_Tratteggiata(platform::Canvas& surface, float x1, float y1, float x2, float y2,
                                float headSize, bool headAtEnd, int marks, float spacing);

} // namespace mGlobal

namespace mTrasp {

// Copies the width x height pixels at the top left of `source` onto
// `destination` with their top left at pixel (x, y), leaving the destination
// as it was wherever the source has the transparent colour (R + 256 G + 65536 B).
// A size beyond the source's own is cut to it.
void Blit_Trasparente(platform::Canvas& destination, const platform::Canvas& source, int x, int y,
                      int width, int height, std::uint32_t transparent);

} // namespace mTrasp
