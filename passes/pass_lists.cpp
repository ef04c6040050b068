// What the user does with the pass lists of the prediction window: sorting
// the result list, choosing a pass and one of its events, the listing of the
// pass or of all passes of a tab, the pass map, adding a catalogue satellite
// to the working list, the no-filter box, saving and printing the event
// lines.
#include "passes/pass_window.h"

#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/database.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "database/database_window.h"
#include "platform/file_chooser.h"
#include "platform/print_job.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "common/window_host.h"
#include "listings/listing_lines.h"
#include "listings/listing_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPrinter>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

QString L(const char* sezione, const char* chiave)
{
    return mLang::Testo_Lingua(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
}

// The date-time text at the head of an event line.
QString Tempo_Riga(const QString& riga)
{
    return vb::Trim(riga.left(24));
}

} // namespace

// ---------------------------------------------------------------- sorting

void frmVisibleSatellites::lvwPass_ColumnClick(int Index, int colonna)
{
    if (Index < 0 || Index > 2 || colonna < 1 || colonna > 9)
        return;
    // The date and the magnitude sort by their hidden keys, the other
    // columns by their own text.
    int chiave = colonna - 1;
    if (colonna == 1)
        chiave = 7;
    else if (colonna == 6)
        chiave = 8;
    int verso = 0;
    if (m_ordinata[size_t(Index)] && chiave == mintColonnaOrdinata)
        verso = 1 - mintVersoOrdinamento;
    m_ordinata[size_t(Index)] = true;
    mintColonnaOrdinata = chiave;
    m_chiaveOrdinata[size_t(Index)] = chiave;
    m_versoOrdinato[size_t(Index)] = verso == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    riordina(Index);
    mintVersoOrdinamento = verso;
}

void frmVisibleSatellites::riordina(int Index)
{
    // A list the user sorted stays sorted that way for the rows of later runs.
    if (m_ordinata[size_t(Index)])
        lvwPass[size_t(Index)]->sortItems(m_chiaveOrdinata[size_t(Index)], m_versoOrdinato[size_t(Index)]);
}

// ---------------------------------------------------------------- choosing

void frmVisibleSatellites::lvwPass_ItemClick(int Index, QTreeWidgetItem* Item)
{
    if (Index < 0 || Index > 2 || !Item)
        return;
    QListWidget* lista = lstPass[size_t(Index)];
    lista->clear();
    const QStringList campi = Item->data(0, Qt::UserRole).toString().split(QLatin1Char(';'));
    if (campi.size() < 4)
        return;
    const int indice = campi[0].toInt();
    {
        const QSignalBlocker blocco(lista);
        for (int f = 1; f <= 3; ++f) {
            auto* riga = new QListWidgetItem(campi[f], lista);
            riga->setData(Qt::UserRole, indice);
            riga->setData(Qt::UserRole + 1, Item->text(1));
        }
    }
    lista->setCurrentRow(1);
    lstPass_Click(Index);
    lvwPass[size_t(Index)]->setFixedHeight(249);
}

void frmVisibleSatellites::lstPass_Click(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    QListWidget* lista = lstPass[size_t(Index)];
    auto disabilita = [&] {
        cmdMappa[size_t(Index)]->setEnabled(false);
        cmdDettagli[size_t(Index)]->setEnabled(false);
        if (Index == 0)
            cmdAttiva->setEnabled(false);
    };
    QListWidgetItem* scelta = lista->currentItem();
    if (!scelta || !scelta->isSelected() || lista->count() < 3) {
        disabilita();
        return;
    }
    mvarTempoMappa = Tempo_Riga(scelta->text());
    mvarTempoInizio = Tempo_Riga(lista->item(0)->text());
    mstrRiga1 = vb::Trim(lista->item(0)->text());
    mvarTempoCulmine = Tempo_Riga(lista->item(1)->text());
    mstrRiga2 = vb::Trim(lista->item(1)->text());
    mvarTempoFine = Tempo_Riga(lista->item(2)->text());
    mstrRiga3 = vb::Trim(lista->item(2)->text());

    const int indice = lista->item(0)->data(Qt::UserRole).toInt();
    if (Index == 0) {
        gintSatelliteCalcolo = kSlotScratch;
        mintIndiceSatellite = indice;
        // The principal file may have been reloaded since the search: an
        // entry it no longer has is no satellite.
        if (indice < 1 || indice > core::Numero_Voci(gudtDatabasePrimario)) {
            disabilita();
            return;
        }
        const RigaDati& e = gudtDatabasePrimario[size_t(indice)];
        // ... and an entry holding another satellite is not this pass's.
        if (Estrai_Dati_Satellite(kSlotScratch, e.Riga0, e.Riga1, e.Riga2) != core::ErroreElementi::Nessuno
            || QString::fromStdString(gudtSatelementi[kSlotScratch].Nome)
                   != lista->item(0)->data(Qt::UserRole + 1).toString()) {
            disabilita();
            return;
        }
    } else {
        // The working list may have changed since the search (a satellite
        // removed, another made principal): the pass belongs to the
        // satellite named in its row, wherever that now stands.
        const QString nome = lista->item(0)->data(Qt::UserRole + 1).toString();
        auto stesso = [&](int j) {
            return j >= 1 && j <= gintNumSatelliti && QString::fromStdString(gudtSatelementi[size_t(j)].Nome) == nome;
        };
        int slot = stesso(indice) ? indice : 0;
        for (int j = 1; slot == 0 && j <= gintNumSatelliti; ++j)
            if (stesso(j))
                slot = j;
        if (slot == 0) {
            disabilita();
            return;
        }
        gintSatelliteCalcolo = slot;
    }
    if (mvarTempoMappa.isEmpty() || mvarTempoInizio.isEmpty() || mvarTempoCulmine.isEmpty()
        || mvarTempoFine.isEmpty() || gintSatelliteCalcolo < 1)
        return;
    cmdMappa[size_t(Index)]->setEnabled(mappaDisponibile());
    cmdDettagli[size_t(Index)]->setEnabled(true);
    if (Index == 0)
        cmdAttiva->setEnabled(true);
}

void frmVisibleSatellites::lstPass_LostFocus(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    QListWidget* lista = lstPass[size_t(Index)];
    if (lista->currentItem() && lista->currentItem()->isSelected())
        return;
    cmdDettagli[size_t(Index)]->setEnabled(false);
    cmdMappa[size_t(Index)]->setEnabled(false);
    if (Index == 0)
        cmdAttiva->setEnabled(false);
}

// ---------------------------------------------------------------- listings and map

frmDetails* frmVisibleSatellites::lvwPass_MouseDown(int Index, Qt::MouseButton Button)
{
    if (Index < 0 || Index > 2 || Button != Qt::RightButton)
        return nullptr;
    QTreeWidget* risultati = lvwPass[size_t(Index)];
    if (risultati->topLevelItemCount() < 1)
        return nullptr;
    QStringList righe{lblLegenda[size_t(Index)]->text()};
    for (int r = 0; r < risultati->topLevelItemCount(); ++r) {
        const QStringList campi =
            risultati->topLevelItem(r)->data(0, Qt::UserRole).toString().split(QLatin1Char(';'));
        for (int f = 1; f <= 3 && f < campi.size(); ++f)
            righe << campi[f];
    }
    righe << QString();
    frmDetails* elenco = frmDetails::Nuovo();
    elenco->Elenco_Testo(righe);
    elenco->setWindowTitle(QString());
    database::Mostra_Figlia(elenco);
    return elenco;
}

void frmVisibleSatellites::lstPass_DblClick(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    QListWidget* lista = lstPass[size_t(Index)];
    if (!lista->currentItem() || !lista->currentItem()->isSelected())
        return;
    // Find the pass's satellite again: the list may have changed meanwhile.
    lstPass_Click(Index);
    if (!cmdDettagli[size_t(Index)]->isEnabled())
        return;
    const auto inizio = vb::CDate(mvarTempoInizio);
    const auto fine = vb::CDate(mvarTempoFine);
    if (!inizio || !fine)
        return;
    // A new listing window, shown, then filled: automatic step, the
    // observer's view.
    frmDetails* d = frmDetails::Nuovo();
    database::Mostra_Figlia(d);
    const QPointer<frmDetails> guardia(d);
    double passo = 0;
    // Refused (another long task runs, the user was told): no empty window stays.
    if (!d->Genera_elenco(gintSatelliteCalcolo, *inizio, *fine, passo, predictions::TipoOBS) && guardia)
        database::Chiudi_Figlia(guardia);
}

void frmVisibleSatellites::cmdMappa_Click(int Index)
{
    if (Index < 0 || Index > 2 || !mappaDisponibile())
        return;
    QListWidget* lista = lstPass[size_t(Index)];
    if (!lista->currentItem() || !lista->currentItem()->isSelected())
        return;
    lstPass_Click(Index);
    if (Index == 0) {
        if (mintIndiceSatellite < 1 || mintIndiceSatellite > core::Numero_Voci(gudtDatabasePrimario))
            return;
        const RigaDati& e = gudtDatabasePrimario[size_t(mintIndiceSatellite)];
        if (Estrai_Dati_Satellite(kSlotScratch, e.Riga0, e.Riga1, e.Riga2) != core::ErroreElementi::Nessuno)
            return;
    } else {
        if (gintSatelliteCalcolo < 1 || gintSatelliteCalcolo > gintNumSatelliti)
            return;
        gudtSatelementi[kSlotScratch] = gudtSatelementi[size_t(gintSatelliteCalcolo)];
    }
    apriMappa();
}

// ---------------------------------------------------------------- adding to the working list

void frmVisibleSatellites::cmdAttiva_Click()
{
    QListWidget* lista = lstPass[0];
    QListWidgetItem* scelta = lista->currentItem();
    if (!scelta || !scelta->isSelected())
        return;
    // The principal file may have been reloaded since the pass was chosen.
    lstPass_Click(0);
    if (!cmdAttiva->isEnabled())
        return;
    const int e = scelta->data(Qt::UserRole).toInt();
    if (e < 1 || e > core::Numero_Voci(gudtDatabasePrimario))
        return;
    if (gintNumSatelliti > 199) {
        platform::MsgBox(L("frmDatabase", "limiteraggiunto1") + QChar(13) + L("frmDatabase", "limiteraggiunto2"),
                         platform::vbInformation);
        return;
    }
    const RigaDati set = gudtDatabasePrimario[size_t(e)];
    const QString catalogo = vb::Mid(QString::fromStdString(set.Riga1), 3, 5);
    for (int j = 1; j <= gintNumSatelliti; ++j) {
        if (QString::fromStdString(gudtSatelementi[size_t(j)].NumeroCatalogo) == catalogo) {
            platform::MsgBox(L("frmDatabase", "satellitegiainelenco"), platform::vbInformation,
                             vb::Trim(QString::fromStdString(gudtSatelementi[size_t(j)].Nome)));
            return;
        }
    }
    const int risposta = platform::MsgBox(L("frmVisibleSatellites", "impostarecomeprincipale"),
                                          platform::vbYesNoCancel | platform::vbQuestion);
    if (risposta != platform::vbYes && risposta != platform::vbNo)
        return;
    // The working list appends the set, keeps its file and tells the
    // database window, which shows the new line and the new count.
    const core::WorkingList::Risultato r = core::WorkingList::instance().Aggiungi(set);
    if (r.esito == core::WorkingList::Esito::Duplicato) {
        platform::MsgBox(L("frmDatabase", "satellitegiainelenco"), platform::vbInformation,
                         vb::Trim(QString::fromStdString(gudtSatelementi[size_t(r.slot)].Nome)));
        return;
    }
    if (r.esito == core::WorkingList::Esito::Pieno) {
        platform::MsgBox(L("frmDatabase", "limiteraggiunto1") + QChar(13) + L("frmDatabase", "limiteraggiunto2"),
                         platform::vbInformation);
        return;
    }
    if (r.esito != core::WorkingList::Esito::Aggiunto) {
        platform::MsgBox(core::Testo_Errore_Elementi(r.errore, set), platform::vbExclamation);
        return;
    }
    frmDatabase* db = frmDatabase::instance();
    if (db->lblNumeroSatellitiAttivi)
        db->lblNumeroSatellitiAttivi->setText(QString::number(gintNumSatelliti));
    if (risposta == platform::vbYes)
        db->Principale(r.slot);
}

// ---------------------------------------------------------------- the no-filter box

void frmVisibleSatellites::chkNessunFiltro_Click(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    if (chkNessunFiltro[size_t(Index)]->isChecked()) {
        gdblAltezzaMinima = 0;
        mdblAzimuthMin = 0;
        mdblAzimuthMax = 360;
    } else {
        gdblAltezzaMinima = gdblAltezzaMin[size_t(Index)];
        mdblAzimuthMin = gdblAzimuthMin[size_t(Index)];
        mdblAzimuthMax = gdblAzimuthMax[size_t(Index)];
    }
}

// ---------------------------------------------------------------- saving and printing

void frmVisibleSatellites::mnuSalva_Click()
{
    const int t = SSTab1->currentIndex();
    if (t < 0 || t > 2)
        return;
    QListWidget* lista = lstPass[size_t(t)];
    if (lista->count() == 0)
        return;
    QApplication::processEvents();
    // Named after the pass: its satellite and its culmination.
    const QString culmine = lista->count() > 1 ? vb::Trim(lista->item(1)->text().left(24)) : QString();
    const platform::FileDialogRequest richiesta = predictions::Richiesta_Salva_Testo(
        lista->item(0)->data(Qt::UserRole + 1).toString() + QLatin1Char(' ') + culmine);
    auto* files = platform::services().files;
    if (!files)
        return;
    const std::optional<QString> nome = files->saveFile(richiesta, this);
    if (!nome || nome->isEmpty())
        return;
    QString testo;
    for (int i = 0; i < lista->count(); ++i)
        testo += lista->item(i)->text() + QStringLiteral("\r\n");
    QString errore;
    // Written whole or not at all; a failed write says so and leaves any
    // old file as it was.
    if (!vb::writeTextFile(*nome, testo, vb::TextEncoding::Windows1252, &errore))
        platform::MsgBox(L("frmVisibleSatellites", "erroresalvataggio") + QChar(13) + errore,
                         platform::vbExclamation);
    QApplication::processEvents();
}

void frmVisibleSatellites::mnuStampa_Click()
{
    const int t = SSTab1->currentIndex();
    if (t < 0 || t > 2)
        return;
    QListWidget* lista = lstPass[size_t(t)];
    if (lista->count() == 0)
        return;
    QApplication::processEvents();
    auto* files = platform::services().files;
    QPrinter& stampante = platform::applicationPrinter();
    if (!files || !files->choosePrinter(stampante, 0, this))
        return;
    stampante.setPageOrientation(QPageLayout::Portrait);
    platform::PrintJob lavoro(&stampante);
    if (!lavoro.isActive()) {
        platform::MsgBox(L("frmVisibleSatellites", "errorestampa") + QChar(13) + lavoro.errorString(),
                         platform::vbExclamation);
        return;
    }
    platform::Canvas& pagina = lavoro.page();
    pagina.setForeColor(vb::RGB(0, 0, 0));
    QFont carattere(QStringLiteral("Courier New"), 10);
    carattere.setStyleHint(QFont::Monospace);
    pagina.setFont(carattere);
    pagina.setCurrentY(450);
    for (int i = 0; i < lista->count(); ++i) {
        pagina.setCurrentX(450);
        pagina.Print(lista->item(i)->text());
    }
    if (!lavoro.EndDoc())
        platform::MsgBox(L("frmVisibleSatellites", "errorestampa") + QChar(13) + lavoro.errorString(),
                         platform::vbExclamation);
}
