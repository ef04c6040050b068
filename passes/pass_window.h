#pragma once
// The pass prediction window: three tabs, each a prediction form for one
// group of satellites (0 every satellite of the principal element file, 1
// the principal satellite, 2 the other satellites of the working list), with
// the start, the span, the filters, the result list of the passes found and
// the three event lines of the chosen pass. The search itself is
// core::RicercaPassaggi; this window drives it, lists, sorts, saves and
// prints its results, and opens the listing or the pass map of a pass.
#include "core/pass_record.h"
#include "common/window_calls.h"
#include "core/pass_search.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class GraphButton;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenuBar;
class QAction;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class frmDetails;

class frmVisibleSatellites : public QWidget, public common::Salvabile, public common::Stampabile {
    Q_OBJECT
public:
    // The one window; created (hidden) when `create` and not loaded.
    static frmVisibleSatellites* instance(bool create = true);
    ~frmVisibleSatellites() override;

    // ---------------------------------------------------------- controls (by tab 0..2)
    QTabWidget* SSTab1 = nullptr;
    std::array<QGroupBox*, 3> fra{};  // fraAll, fraFirst, fraSecond
    std::array<QDateTimeEdit*, 3> DTPicker1{};
    std::array<QComboBox*, 3> cmbDurata{};
    std::array<QCheckBox*, 3> chkAM{}, chkPM{}, chkSoloVisibili{}, chkNessunFiltro{};
    std::array<GraphButton*, 3> cmdOK{}, cmdCancel{}, cmdHelp{}, cmdDettagli{}, cmdMappa{};
    std::array<QTreeWidget*, 3> lvwPass{};
    std::array<QListWidget*, 3> lstPass{};
    std::array<QLabel*, 3> lblLegenda{}, lblDataInizio{}, lblDurata{};
    QCheckBox* chkTransito = nullptr;
    GraphButton* cmdAttiva = nullptr;
    QComboBox* cmbLimite = nullptr;
    QLabel* lblLimitaCalcolo = nullptr;
    QMenuBar* barraMenu = nullptr;
    QAction* mnuFile = nullptr;
    QAction* mnuSalva = nullptr;
    QAction* mnuStampa = nullptr;

    // ---------------------------------------------------------- procedures
    void Form_Load();
    void Lingua();
    // Runs a prediction for tab Index.
    void cmdOK_Click(int Index);
    // Sorting, choosing, listing, map, adding, filters, help, closing.
    void lvwPass_ColumnClick(int Index, int colonna);  // colonna 1-based
    void lvwPass_ItemClick(int Index, QTreeWidgetItem* Item);
    // A right press on a result list: a listing window, shown, with every
    // pass of the tab (null when nothing was opened).
    frmDetails* lvwPass_MouseDown(int Index, Qt::MouseButton Button);
    void lstPass_Click(int Index);
    void lstPass_DblClick(int Index);
    void cmdDettagli_Click(int Index) { lstPass_DblClick(Index); }
    void lstPass_LostFocus(int Index);
    void cmdMappa_Click(int Index);
    void cmdAttiva_Click();
    void chkNessunFiltro_Click(int Index);
    void cmdCancel_Click(int Index);
    void cmdHelp_Click(int Index);
    void mnuSalva_Click();
    void mnuStampa_Click();
    // The main window's File > Save and File > Print on this window.
    void Salva() { mnuSalva_Click(); }
    void Stampa() { mnuStampa_Click(); }
    // common::Salvabile and common::Stampabile: File > Save and Print.
    void Comando_Salva() override { Salva(); }
    void Comando_Stampa() override { Stampa(); }

    QSize sizeHint() const override { return QSize(860, 660); }

    // A run is going on (its OK buttons refuse a second one).
    bool inCorso() const { return m_inCorso; }

    // ---------------------------------------------------------- state
    int mintScheda = 0;
    int mintIndiceSatellite = 0;
    double mdblAzimuthMin = 0, mdblAzimuthMax = 360;
    QString mvarTempoMappa, mvarTempoInizio, mvarTempoCulmine, mvarTempoFine;
    QString mstrRiga1, mstrRiga2, mstrRiga3;
    int mintColonnaOrdinata = 0;
    int mintVersoOrdinamento = 0;

    // The pass map opener, set once the pass map window exists; without it
    // the map buttons stay disabled. It is given the chosen pass, the Julian
    // date of the event the user chose, and finds the pass's three lines in
    // this window's mstrRiga*.
    using ApriMappa = std::function<void(frmVisibleSatellites&, const core::RecordPassaggio&, double jdMappa)>;
    static void setApriMappa(ApriMappa apri);
    static bool mappaDisponibile();

    // The item data role of a result row and of its detail lines that holds
    // the row's place in the tab's passes.
    static constexpr int kRuoloPassaggio = Qt::UserRole + 2;

    // The pass of the chosen detail line of tab Index, and the Julian date of
    // that line's event; null when no line is chosen.
    const core::RecordPassaggio* passaggioScelto(int Index, double* jdEvento = nullptr) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmVisibleSatellites(QWidget* parent = nullptr);
    QWidget* creaScheda(int i);
    void mostraLista(int i, bool visibile);
    void cerca(int Index, double inizio, double fine, int limite);
    void apriMappa(const core::RecordPassaggio& passaggio, double jdMappa);
    void aggiungiRiga(const core::Passaggio& p, const QString& nome, int indice, const core::RecordPassaggio& sat);

    // Every pass listed on each tab, in the order found; a result row and its
    // detail lines point at their pass by its place here.
    std::array<std::vector<core::RecordPassaggio>, 3> m_passaggi;

    bool m_inCorso = false;
    bool m_chiudiDopo = false;  // closed while a run went on: close when it ends
    std::array<bool, 3> m_ordinata{};
    // The sort of each tab's list, applied again to the rows of its next run.
    std::array<int, 3> m_chiaveOrdinata{};
    std::array<Qt::SortOrder, 3> m_versoOrdinato{};
    void riordina(int Index);
};
