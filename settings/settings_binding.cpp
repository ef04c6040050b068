#include "settings/settings_binding.h"

#include "platform/vb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace settings::binding {

void Casella(QCheckBox* box, bool valore)
{
    box->setChecked(valore);
}

void Combo_indice(QComboBox* combo, int indice)
{
    if (combo->count() == 0)
        return;
    combo->setCurrentIndex(std::clamp(indice, 0, combo->count() - 1));
}

void Combo_coppia(QComboBox* combo, bool valore)
{
    combo->setCurrentIndex(valore ? 1 : 0);
}

void Combo_stelle(QComboBox* combo, int stelle)
{
    for (int i = 0; i < 12 && i < combo->count(); ++i)
        if (kStelle[i].stelle == stelle)
            combo->setCurrentIndex(i);
}

int Da_combo_indice(const QComboBox* combo, int altrimenti)
{
    return combo->currentIndex() < 0 ? altrimenti : combo->currentIndex();
}

int Da_combo_stelle(const QComboBox* combo, int altrimenti)
{
    const int i = combo->currentIndex();
    return i < 0 || i >= 12 ? altrimenti : kStelle[i].stelle;
}

int Intero_pari(double valore)
{
    if (!std::isfinite(valore))
        return 0;
    return int(std::nearbyint(valore));
}

void Prepara_lista(QTreeWidget* lista, const QString& titolo)
{
    lista->clear();
    lista->setColumnCount(2);
    lista->setHeaderLabels({titolo, QStringLiteral("#")});
    lista->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    lista->setColumnWidth(0, vb::TwipsToPixels(3800));
    lista->setColumnWidth(1, vb::TwipsToPixels(400));
    // The entry column takes whatever room the list has beyond the number.
    lista->header()->setStretchLastSection(false);
    lista->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lista->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    lista->setRootIsDecorated(false);
    lista->setUniformRowHeights(true);
    lista->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
}

void Riempi_lista(QTreeWidget* lista, const QStringList& testi)
{
    lista->clear();
    for (int i = 0; i < testi.size(); ++i) {
        auto* riga = new QTreeWidgetItem(lista, {testi[i], QString::number(i + 1)});
        riga->setFlags(riga->flags() | Qt::ItemIsEditable);
        riga->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
}

QStringList Testi_lista(const QTreeWidget* lista)
{
    QStringList out;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        out << lista->topLevelItem(i)->text(0);
    return out;
}

void Scrivi_testi(QTreeWidget* lista, const QStringList& testi)
{
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        lista->topLevelItem(i)->setText(0, QString());
    for (int i = 0; i < lista->topLevelItemCount() && i < testi.size(); ++i)
        lista->topLevelItem(i)->setText(0, testi[i]);
}

int Riga_selezionata(const QTreeWidget* lista)
{
    const auto scelte = lista->selectedItems();
    if (scelte.isEmpty())
        return 0;
    return lista->indexOfTopLevelItem(scelte.first()) + 1;
}

void Seleziona_riga(QTreeWidget* lista, int riga)
{
    QTreeWidgetItem* item = lista->topLevelItem(riga - 1);
    if (!item)
        return;
    lista->clearSelection();
    item->setSelected(true);
    lista->setCurrentItem(item);
}

} // namespace settings::binding
