#pragma once
// The working list: the satellites (at most 200) that the program computes
// every second and shows in every live view. It lives in the shared arrays
// gudtRigheAttive / gudtSatelementi / gudtValori (core/globals_orbit.h),
// slots 1 to gintNumSatelliti; slot 1 is the principal satellite, slot 201 a
// scratch slot, slot 202 the second satellite of a relative listing.
//
// Every window changes the list through WorkingList, which keeps the arrays
// and the count in step, tells the windows (changed()) and keeps the list's
// file up to date. The computed states (gudtValori) are not moved along with
// their satellites: the next clock tick recomputes every listed slot.
#include "core/element_parser.h"
#include "core/globals_orbit.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace core {

class WorkingList : public QObject {
    Q_OBJECT
public:
    static WorkingList& instance();

    int count() const;
    // Whether no satellite is listed: the one question every view asks for
    // it (a principal whose name line was blank is listed all the same).
    bool isEmpty() const { return count() == 0; }
    // The principal satellite's name with blanks trimmed ("" for an empty list).
    QString Nome_Principale() const;

    enum class Esito {
        Aggiunto,   // appended at the end
        Duplicato,  // a satellite with the same catalogue number is listed already
        Pieno,      // 200 satellites are listed
        NonValido,  // the set was refused by the parser
    };
    struct Risultato {
        Esito esito = Esito::Aggiunto;
        int slot = 0;                 // the new slot, or the listed duplicate
        ErroreElementi errore = ErroreElementi::Nessuno;
    };
    // Appends an element set at the end of the list.
    Risultato Aggiungi(const RigaDati& set);
    // The first listed slot whose catalogue number has this value, or 0.
    int Trova_Catalogo(long numero) const;

    // Removes the given listed slots (any order, duplicates ignored); the
    // remaining satellites keep their order and move up. Only listed slots
    // are touched; the scratch slots keep what they hold.
    void Rimuovi(QList<int> elenco);
    void Rimuovi(int slot) { Rimuovi(QList<int>{slot}); }
    // Empties the list: every slot's records (1 to 202) are cleared.
    void Rimuovi_Tutti();
    // Exchanges the elements and texts of two listed slots, through the
    // scratch slot 201, which is left empty.
    void Scambia(int a, int b);
    // Makes slot k the principal (exchanged with slot 1).
    void Rendi_Principale(int k) { Scambia(1, k); }
    // Rotates the list by one place: slot 2 becomes the principal and the
    // former principal the last.
    void Ruota();

    // Groups several changes into one notification and one save.
    class Modifica {
    public:
        Modifica();
        ~Modifica();
        Modifica(const Modifica&) = delete;
        Modifica& operator=(const Modifica&) = delete;
    };

    // ------------------------------------------------------------ the file
    // The list's file, "Astrovela.ini": three lines per satellite (the parsed
    // name, line 1, line 2), CR LF line ends, no header. A CR or LF inside a
    // text is written as a blank.

    // Replaces the list with the sets of the file. A set the parser refuses
    // is left out and its message added to *errori; the others load. Lines
    // that are not part of a set (a set cut short, a line split in two) are
    // told in *errori and skipped until the sets are in step again; blank
    // lines between sets are skipped quietly. A set with a blank name loads.
    // The same satellite twice: the first set loads, the second is told and
    // left out. Only the first few problems are told one by one, the rest are
    // counted in a last entry "(+N)", so that a huge file gives a short
    // message quickly. *scartate receives the lines left out, as they stand
    // (CR LF after each), blank lines apart.
    // False (list unchanged) when the file cannot be read.
    bool Leggi_Ini(const QString& path, QStringList* errori = nullptr, QString* errore = nullptr,
                   QString* scartate = nullptr);
    // Writes the list atomically: a failed write leaves the old file whole.
    bool Salva_Ini(const QString& path, QString* errore = nullptr) const;

    // The file kept up to date: after every change the list is saved there.
    // Empty (the default) means no automatic saving. Setting it starts a new
    // run for Conserva_Rimossi.
    void setFile(const QString& path)
    {
        m_file = path;
        m_copiaFatta = false;
    }
    QString file() const { return m_file; }
    // Saves to file() now; false with the reason when it failed.
    bool Salva(QString* errore = nullptr);

    // Keeps what the program is about to drop from the list on its own
    // (decayed satellites, sets missing from a new principal file, lines of
    // the file it could not read), so that it can always be recovered:
    // - the first time in a run, file() as it stands is copied byte for byte
    //   to file() + ".bak" (the list before the program dropped anything);
    //   that copy is not replaced again in the same run;
    // - every time, `testo` (the dropped lines) is added at the end of the
    //   file of removed sets, File_Rimossi(), which is only ever added to;
    //   a set of `testo` (or a run of lines that are no set) that the file
    //   already holds is not added again.
    // False (with the reason) when either could not be written: the caller
    // then drops nothing. True without writing when there is no file().
    bool Conserva_Rimossi(const QString& testo, QString* errore = nullptr);
    // The file of removed sets beside file(): file() + ".removed" (three
    // lines a set, like the list's file).
    QString File_Rimossi() const;
    // The lines of the list's file for the given listed slots.
    static QString Testo_Slot(const QList<int>& slot);

signals:
    // The list changed (count, order or members).
    void changed();
    // Saving after a change failed; the list in memory is whole.
    void saveFailed(const QString& errore);

private:
    WorkingList() = default;
    void notifica();
    void copia(int da, int a);
    void azzera(int slot);

    QString m_file;
    bool m_copiaFatta = false;
    int m_modifiche = 0;
    bool m_pendente = false;
};

// The text of the working list's file for the listed slots (for tests and
// for Salva_Ini).
QString Testo_Lista_Lavoro();

} // namespace core
