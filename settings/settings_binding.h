#pragma once
// How the options dialog's controls hold the settings: check boxes, combos
// by index, by negated index, by a two-item pair, the limiting-magnitude
// combos by star count, and the two editable lists with their "#" column.
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QTreeWidget;

namespace settings::binding {

// The limiting-magnitude items: text suffix after "magnitudine" and the
// number of the brightest stars drawn.
struct VoceStelle {
    const char* suffisso;
    int stelle;
};
inline constexpr VoceStelle kStelle[12] = {{" > 6.5", 9010}, {" 6.5", 8523}, {" 6.0", 5146}, {" 5.5", 2906},
                                           {" 5.0", 1639},   {" 4.5", 921},  {" 4.0", 521},  {" 3.5", 293},
                                           {" 3.0", 176},    {" 2.5", 94},   {" 2.0", 50},   {" 1.5", 23}};

void Casella(QCheckBox* box, bool valore);
// Selects item `indice`; a value out of the combo's range selects the nearest item.
void Combo_indice(QComboBox* combo, int indice);
// Item 1 when true, item 0 otherwise.
void Combo_coppia(QComboBox* combo, bool valore);
// The item whose star count is `stelle`; none found leaves the selection as it is.
void Combo_stelle(QComboBox* combo, int stelle);
// The selected index, or `altrimenti` when nothing is selected.
int Da_combo_indice(const QComboBox* combo, int altrimenti);
// The star count of the selected item, or `altrimenti` when nothing is selected.
int Da_combo_stelle(const QComboBox* combo, int altrimenti);
// The nearest whole number, a half to the even neighbour (10.5 -> 10, 11.5 -> 12).
int Intero_pari(double valore);

// Empties the list (columns and rows) and makes the two columns: the caption
// 3800 twips wide, "#" 400 twips right-aligned.
void Prepara_lista(QTreeWidget* lista, const QString& titolo);
// One row per text: the text (editable in place) and its row number.
void Riempi_lista(QTreeWidget* lista, const QStringList& testi);
// The first column's texts, top to bottom.
QStringList Testi_lista(const QTreeWidget* lista);
// Writes the texts into rows 1..n again, the "#" column untouched.
void Scrivi_testi(QTreeWidget* lista, const QStringList& testi);
// The selected row number (1-based), 0 when none.
int Riga_selezionata(const QTreeWidget* lista);
void Seleziona_riga(QTreeWidget* lista, int riga);

} // namespace settings::binding
