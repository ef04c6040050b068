#pragma once
// The database window: the principal and the secondary element file side by
// side on two tabs, each in a list sorted by one of ten keys with the age
// statistics of its elements, and beside them the working list with the
// buttons that edit it. One window, created on first use and kept until the
// program ends: closing it only hides it.
//
// Index 0 of every control array is the principal database, index 1 the
// secondary one.
#include "astro/records.h"

#include <QAbstractListModel>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QListView;
class QListWidget;
class QTabWidget;
class GraphButton;

namespace core {
struct RigaLista;
struct EsitoCaricamento;
}

namespace database {

// The rows of one database list: text and entry number, in list order.
class ModelloDatabase : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    void imposta(std::vector<core::RigaLista> righe);
    void svuota();
    QString testo(int riga) const;
    int voce(int riga) const;

private:
    std::vector<QString> m_testi;
    std::vector<int> m_voci;
};

// The drag format of rows dragged from a database list.
inline constexpr const char* kMimeDatabase = "application/x-astrovela-database-rows";

} // namespace database

class frmDatabase : public QWidget {
    Q_OBJECT
public:
    // The one database window; created (hidden) when `create` and not loaded.
    static frmDatabase* instance(bool create = true);
    // The summary of a database opens in a listing window, which lives in a
    // folder above this one: the listings' wiring gives the opener (0 the
    // principal, 1 the secondary database). Without it Summary does nothing.
    static void setApriSommario(std::function<void(int Index)> apri);
    // Unloads the window (a language change, the end of the program).
    static void Unload();

    // ---------------------------------------------------------- public procedures
    void cmdPrincipale_Click();
    void cmdRemove_Click(int Index = 0);
    // Loads the principal element file at `path`; an empty path opens the
    // file dialog instead. True when the file was loaded.
    bool Database_satelliti(QString& path);
    // Loads the secondary element file.
    bool Database_satelliti_secondario(QString& path);

    // The open-file dialog for database `indice`, then its load (the main
    // window's open command and the window's own Open buttons).
    static void Apertura_database(int indice);
    // The database menu command: loads the principal file when its list is
    // empty, then shows the window.
    static void Mostra_Database();

    // Makes the listed satellite of `slot` the principal one, as selecting
    // its row and pressing cmdPrincipale does (for the windows that have just
    // added a satellite through the working list).
    void Principale(int slot);

    // Refreshes the live views after the working list has become empty.
    void Aggiorna_finestre();

    // ---------------------------------------------------------- controls
    QTabWidget* SSTab1 = nullptr;
    QGroupBox* fraDBPrincipale = nullptr;
    QGroupBox* fraDBSecondario = nullptr;
    QGroupBox* fraAttivi = nullptr;
    std::array<QListView*, 2> lstDatabase{};
    std::array<database::ModelloDatabase*, 2> modello{};
    std::array<QComboBox*, 2> cmbOrdina{};
    std::array<QLabel*, 2> lblOrdinamento{}, lblSelezionati{}, lblNumeroSelezionati{}, lblSatellitiCaricati{},
        lblCaricati{}, lblParametriVecchi{}, lblVecchi{}, lblParametriRecenti{}, lblRecenti{},
        lblMediaParametri{}, lblMedia{}, lblMagnitudini{}, lblNumeroMagnitudini{};
    std::array<GraphButton*, 2> cmdSommario{}, cmdDatabase{}, cmdVisibili{}, cmdDownload{}, cmdAdd{}, cmdRemove{};
    QLabel* lblSatellitiAttivi = nullptr;
    QLabel* lblNumeroSatellitiAttivi = nullptr;
    QListWidget* lstActive = nullptr;
    GraphButton* cmdPrincipale = nullptr;
    GraphButton* cmdRemoveAll = nullptr;
    GraphButton* cmdOrder = nullptr;
    GraphButton* cmdUp = nullptr;
    GraphButton* cmdDown = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdHelp = nullptr;
    QLabel* lblGhost = nullptr;

    // ---------------------------------------------------------- events
    void Form_Load();
    // Unload mode 0 (the user's close box, cmdOK) hides the window.
    void Form_QueryUnload(bool& Cancel, int UnloadMode);
    void cmbOrdina_Click(int Index);
    void cmdAdd_Click(int Index);
    void cmdRemoveAll_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdOrder_Click();
    void cmdVisibili_Click(int Index);
    void cmdOK_Click();
    void cmdHelp_Click();
    void cmdDownload_Click(int Index);
    void cmdDatabase_Click(int Index);
    void cmdSommario_Click(int Index);
    void lstActive_Click();
    void lstActive_DblClick();
    void lstDatabase_Click(int Index);
    void lstDatabase_DblClick(int Index);
    // A move over a database list: with the left button alone it starts a
    // drag of the band one row high under the pointer. True when it did.
    bool lstDatabase_MouseMove(int Index, Qt::MouseButtons buttons, int y);
    // The drop on the working list: adds the selected rows of the shown list.
    void lstActive_DragDrop();

    // ---------------------------------------------------------- state
    // The load counter: -1 while the principal loader starts, then the sets
    // read so far.
    QString tag() const { return m_tag; }
    // Path of the file loaded in database `indice` ("" when none).
    QString percorso(int indice) const { return m_percorso[size_t(indice & 1)]; }
    // Rows of a database list, selected rows in list order.
    int righe(int indice) const;
    QList<int> righeSelezionate(int indice) const;
    void seleziona(int indice, const QList<int>& righe);
    // Tests replace the drag (which runs its own event loop) with this.
    std::function<void(int indice)> trascinamentoDiProva;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmDatabase(QWidget* parent = nullptr);
    void creaControlli();
    QWidget* creaScheda(int indice);
    void Lingua();
    void riempiAttivi();
    // Matches the working list against the principal file just loaded.
    void Abbina_Lista_Lavoro();
    // "line N: why" for a load that failed on the file's content.
    static QString Motivo_Caricamento(const core::EsitoCaricamento& esito);
    void selezionaAttivo(int riga);
    bool provaSelezione();
    void Aggiorna_principale();
    void scambia(int r, int q);
    bool carica(int indice, QString& path);
    static void apri(int indice);
    void mostraStatistiche(int indice, int n, double vecchio, double recente, double media, int magnitudini);
    void nascondi();
    void mostra();

    QString m_tag = QStringLiteral("0");
    std::array<QString, 2> m_percorso;
    bool m_scarica = false;
    QPoint m_pressione; // where the button went down over a database list
};
