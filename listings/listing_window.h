#pragma once
// The listing window: a text listing (List1) or a table (ListView1), one of
// them shown at a time. Every request opens a new window. This file holds the
// window with its table sorting and the element-file summaries: one row per
// satellite of a database or of an element file, eleven columns.
#include "astro/records.h"
#include "core/pass_record.h"
#include "common/window_calls.h"

#include <QDateTime>
#include <QStringList>
#include <QWidget>

#include <vector>

class QListView;
class QStackedLayout;
class QTreeWidget;

namespace platform {
struct FileDialogRequest;
}
namespace listings {
class ListingModel;
}

// The sets read by Leggi until their summary is built.
extern std::vector<RigaDati> gudtFileVisualizzato;

namespace listings {

// The eleven cells of one summary row for a parsed set `e` with its text `r`
// at the program clock's Julian date `adesso`: catalogue number, name, launch
// year, launch number and piece, inclination, period, node, eccentricity,
// standard magnitude (" ???" when unknown), element-set number, age in days,
// each in its blank-filled field. Nothing when the period cannot be formed.
std::optional<QStringList> Riga_Sommario(const Satelement& e, const RigaDati& r, double adesso);

// Cuts the text of an element file into lines at CR LF, a lone CR or a lone
// LF; a final line end gives a last empty line.
QStringList Righe_File(const QByteArray& bytes);

// A save dialog request for a text file: the "filtrotxt" filter, asking
// before overwriting, in the user's documents folder when it exists (else the
// home folder), proposing `nome` (characters a file name cannot hold are
// replaced) with ".txt".
platform::FileDialogRequest Richiesta_Salva_Testo(const QString& nome);

} // namespace listings

class frmDetails : public QWidget, public common::Salvabile, public common::Stampabile {
    Q_OBJECT
public:
    explicit frmDetails(QWidget* parent = nullptr);
    ~frmDetails() override;

    // A new listing window, shown modeless (inside the main window when the
    // program runs).
    static frmDetails* Nuovo();

    // The text listing: a view on the listing's lines, which formats only
    // the lines in sight.
    QListView* List1 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    listings::ListingModel* Elenco() const { return m_elenco; }

    // An OBS ephemeris keeps only the instants with the satellite above the
    // horizon. False in a new window.
    bool blnSoloAltPositiva = false;

    // Fills List1 with the ephemeris of working-list slot NumeroSatellite
    // from tempoinizio to tempofine (program clock's local time) every `step`
    // seconds, in coordinate type opzione (1 OBS, 2 ECI, 3 LLA, 4 RAD). A step
    // of 0 asks for the automatic step, written back into `step`. The listing
    // ends at the first instant at or after the end, on Stop, or after the
    // instant where the satellite falls below 138 km or can no longer be
    // computed. False when it could not start (another long task runs, a bad
    // slot or type).
    bool Genera_elenco(int NumeroSatellite, const QDateTime& tempoinizio, const QDateTime& tempofine,
                       double& step, int opzione);
    // The same for the satellite of element set e with its lines (a pass's
    // own satellite): no working-list slot is read or written.
    bool Genera_elenco(const Satelement& e, const RigaDati& righe, const QDateTime& tempoinizio,
                       const QDateTime& tempofine, double& step, int opzione);
    // The listing of a pass, from its rise to its set (the observer's local
    // times of its Julian dates, to the second).
    bool Genera_elenco(const core::RecordPassaggio& passaggio, double& step, int opzione);
    // Fills List1 with the relative motion of slots 201 (A) and 202 (B).
    bool Genera_relativo(const QDateTime& tempoinizio, const QDateTime& tempofine, double step, int opzione);
    // Shows plain text lines as the listing (the listing of all passes of a
    // prediction tab).
    void Elenco_Testo(const QStringList& righe);
    // Saves the lines shown (the text listing, or the rows of a summary in
    // their order, one line each) to a text file chosen by the user, CR LF
    // line ends, streamed line by line: a long listing shows the progress
    // window, whose Stop leaves no file behind. The file is replaced only
    // once written whole. False when cancelled, stopped or not written (the
    // user is told why).
    bool Salva();
    // Prints the lines shown on the printer chosen by the user, page after
    // page; a long listing shows the progress window, whose Stop abandons
    // the document. False when there is nothing to print, the dialog was
    // cancelled, printing was stopped or failed (the user is told why).
    bool Stampa();
    // common::Salvabile and common::Stampabile: File > Save and Print.
    void Comando_Salva() override { Salva(); }
    void Comando_Stampa() override { Stampa(); }
    // The lines of the text listing, in order (for short listings).
    QStringList righe() const;
    // The number of lines Save and Print would write, and one of them.
    int numeroRighe() const;
    QString riga(int i) const;
    // The window shows something that Save and Print act on.
    bool haRighe() const;

    // Summary of the principal (0) or secondary (1) database, or (other
    // values) of the sets in gudtFileVisualizzato. Stops quietly at the first
    // set that cannot be summarised; the rows built so far stay.
    void Sommario(int elenco);
    // Adds one row per set of `sets` (entries 1 .. size()-1). False when a set
    // could not be summarised; true also when Stop ended it.
    bool Aggiungi_sommario(const std::vector<RigaDati>& sets);
    // Reads an element file set by set (an empty name line ends it) and
    // summarises it; a bad file gives "formatononvalido" and closes the window.
    void Leggi(const QString& FName);
    // Reads an element file whole, cut into sets of three lines, and
    // summarises it; an incomplete last set ends the file, any other fault
    // gives "formatononvalido" and the window stays hidden. False then.
    bool LeggiDiretto(const QString& FName);

    // A click on the column header (1-based): sorts by that column, the same
    // column again turns the order round.
    void ListView1_ColumnClick(int column);

    int colonnaOrdinata() const { return m_colonna; }
    Qt::SortOrder ordine() const { return m_ordine; }

    void Form_Load();
    void Form_QueryUnload();

    // Wide enough for the eleven columns of a summary.
    QSize sizeHint() const override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Imposta_Vista();
    // Makes the table the shown one of the two lists.
    void mostraTabella();
    bool aggiungiRiga(const RigaDati& r);
    void mostra();
    void mostraElenco();
    void iniziaElenco(const QString& titolo);
    void finisciElenco();
    bool tabellaMostrata() const;
    QString nomeFile() const;

    listings::ListingModel* m_elenco = nullptr;

    QStackedLayout* m_pila = nullptr;
    bool m_inCorso = false;      // being filled: closing asks the task to stop
    bool m_esitoSommario = true; // the last summary met no set it could not summarise
    bool m_ordinata = false;
    int m_colonna = 0;
    Qt::SortOrder m_ordine = Qt::AscendingOrder;
};
