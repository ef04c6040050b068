#pragma once
// The page of the printed local sky chart, in twips from the top left of the
// printable area (A4 layout: 11904 x 16836).
#include <QString>
#include <QStringList>

namespace platform {
class Canvas;
}

namespace views::cielo {

inline constexpr double kLarghezzaPagina = 11904;
inline constexpr double kAltezzaPagina = 16836;
inline constexpr double kMargine = 1200;
inline constexpr double kDiametro = 8000;
inline constexpr double kScala = 44; // twips per chart unit

// The bottom line of the frame: 14600 on Letter paper, else 15636.
double Fondo_Cornice(bool letter);
// Draws the whole page on `page` (a canvas in twips): frame, chart, table.
// k and stereo are the chart's orientation and projection.
void Disegna_Pagina(platform::Canvas& page, bool letter, int k, bool stereo, int numStelle);
// The lines of the text block under the chart.
QStringList Righe_Testo();
// One row of the table for body k (1..7 planets, 8 Sun, 9 Moon).
QString Riga_Tabella(int k);
// Table fields.
QString Campo_Declinazione(double dec);
QString Campo_Ascensione(double ra);
QString Campo_Diametro(double arcsec);
QString Campo_Fase_Luna(double angoloFase);
// Radius (twips) of the dot of star i of the brightness-ordered table.
double Raggio_Stella(int i);

} // namespace views::cielo
