#pragma once
// The page of the printed local sky chart, in twips from the top left of the
// printable area (A4 layout: 11904 x 16836).
#include "common/sky_chart.h"

#include <QString>
#include <QStringList>

namespace platform {
class Canvas;
}

namespace maps::cielo {

// The frame and the chart are those of every printed sky chart
// (common/sky_chart.h).

// The layers the check marks of the local sky menu show, for orientation k
// and that projection (the page's grid has no circle at 10 degrees).
common::OpzioniCielo Opzioni_Menu(int k, bool stereo);
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

} // namespace maps::cielo
