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
#include <QDir>
#include <QFileInfo>
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
            riga->setData(kRuoloPassaggio, Item->data(0, kRuoloPassaggio));
        }
    }
    lista->setCurrentRow(1);
    lstPass_Click(Index);
    lvwPass[size_t(Index)]->setFixedHeight(249);
}

const core::RecordPassaggio* frmVisibleSatellites::passaggioScelto(int Index, double* jdEvento) const
{
    if (Index < 0 || Index > 2)
        return nullptr;
    const QListWidget* lista = lstPass[size_t(Index)];
    const QListWidgetItem* scelta = lista->currentItem();
    if (!scelta || !scelta->isSelected() || lista->count() < 3)
        return nullptr;
    const QVariant dove = lista->item(0)->data(kRuoloPassaggio);
    const std::vector<core::RecordPassaggio>& passaggi = m_passaggi[size_t(Index)];
    if (!dove.isValid() || dove.toULongLong() >= passaggi.size())
        return nullptr;
    const core::RecordPassaggio& p = passaggi[size_t(dove.toULongLong())];
    if (jdEvento) {
        const int evento = lista->row(scelta);
        *jdEvento = evento == 0 ? p.jdSorgere : evento == 2 ? p.jdTramonto : p.jdCulmine;
    }
    return &p;
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

    // The pass carries its own satellite: the principal file reloaded or the
    // working list changed since the search leave it the same.
    const int indice = lista->item(0)->data(Qt::UserRole).toInt();
    if (Index == 0) {
        gintSatelliteCalcolo = kSlotScratch;
        mintIndiceSatellite = indice;
    } else {
        gintSatelliteCalcolo = indice;
    }
    if (!passaggioScelto(Index)) {
        disabilita();
        return;
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
    common::Mostra_Figlia(elenco);
    return elenco;
}

void frmVisibleSatellites::lstPass_DblClick(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    const core::RecordPassaggio* p = passaggioScelto(Index);
    if (!p)
        return;
    lstPass_Click(Index);
    // A new listing window, shown, then filled: automatic step, the
    // observer's view, from the pass's own satellite.
    const core::RecordPassaggio passaggio = *p;
    frmDetails* d = frmDetails::Nuovo();
    common::Mostra_Figlia(d);
    const QPointer<frmDetails> guardia(d);
    double passo = 0;
    // Refused (another long task runs, the user was told): no empty window stays.
    if (!d->Genera_elenco(passaggio, passo, listings::TipoOBS) && guardia)
        common::Chiudi_Figlia(guardia);
}

void frmVisibleSatellites::cmdMappa_Click(int Index)
{
    if (Index < 0 || Index > 2 || !mappaDisponibile())
        return;
    lstPass_Click(Index);
    double jdMappa = 0;
    const core::RecordPassaggio* p = passaggioScelto(Index, &jdMappa);
    if (!p)
        return;
    // The map gets a copy: a later search on this tab does not touch it.
    const core::RecordPassaggio passaggio = *p;
    apriMappa(passaggio, jdMappa);
}

// ---------------------------------------------------------------- adding to the working list

void frmVisibleSatellites::cmdAttiva_Click()
{
    QListWidget* lista = lstPass[0];
    QListWidgetItem* scelta = lista->currentItem();
    if (!scelta || !scelta->isSelected())
        return;
    lstPass_Click(0);
    const core::RecordPassaggio* p = passaggioScelto(0);
    if (!cmdAttiva->isEnabled() || !p)
        return;
    // The pass's own set: the principal file may have been reloaded since.
    const int e = scelta->data(Qt::UserRole).toInt();
    if (e < 1)
        return;
    const RigaDati set = p->righe;
    if (gintNumSatelliti > 199) {
        platform::MsgBox(L("frmDatabase", "limiteraggiunto1") + QChar(13) + L("frmDatabase", "limiteraggiunto2"),
                         platform::vbInformation);
        return;
    }
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
    const platform::FileDialogRequest richiesta = listings::Richiesta_Salva_Testo(
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
        platform::MsgBox(L("frmVisibleSatellites", "erroresalvataggio")
                                 .arg(QDir::toNativeSeparators(QFileInfo(*nome).absoluteFilePath()))
                             + QChar(13) + errore,
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
