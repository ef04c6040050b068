#pragma once
// Night colours: a dark red palette that keeps the observer's eyes adapted to
// the dark. The 29 classic system colour elements (scroll bar 0 ... gradient
// of inactive captions 28) are mapped onto the program's own palette: the
// program's windows turn red, the rest of the desktop is left alone. What
// the style draws takes the palette's own colours then, each part where the
// day has it (shell/night_style.h); in the day nothing of it shows.
//
// Night mode on:  Prepara_Colori_Notte, Applica_Colori_Notte,
//                 Mostra_Barra_Applicazioni(true), Mostra_Desktop(true).
// Night mode off: Ripristina_Colori.
// Shut-down:      Chiusura (shows taskbar and desktop, puts the colours back
//                 only when night colours were prepared in this run).
#include <QtGlobal>
#include <cstdint>

class QPalette;

namespace mNight {

constexpr int kNumeroColori = 29;

// Saves the program's current colours (anew each time the mode is switched
// on) and marks the night colours as prepared.
void Prepara_Colori_Notte();
// Puts the night palette on every window of the program.
void Applica_Colori_Notte();
// Puts back exactly the colours saved by the last Prepara_Colori_Notte. Does
// nothing when they were never saved in this run.
void Ripristina_Colori();

// The taskbar and the desktop's icon window belong to the desktop session on
// this system; the program never hides them, so these do nothing.
void Mostra_Barra_Applicazioni(bool show);
void Mostra_Desktop(bool show);
// No handle to either window exists here: 0.
qintptr Trova_Barra_Applicazioni();
qintptr Trova_Desktop();

// The shut-down steps: desktop and taskbar shown, colours restored when the
// night colours were prepared in this run.
void Chiusura();

// True once Prepara_Colori_Notte has run in this run.
bool Colori_Preparati();
// The night colour and the saved colour of element i (0 to 28), as
// R + 256 G + 65536 B.
std::uint32_t Colore_Notte(int element);
std::uint32_t Colore_Salvato(int element);
// `base` with the night table's colours in every role the table names.
QPalette Tavolozza_Notte(const QPalette& base);

} // namespace mNight
