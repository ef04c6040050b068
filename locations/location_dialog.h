#pragma once
// The observer's location: a place from the city list, the height above sea
// level, the time-zone offset and the daylight-saving flag. OK makes them the
// observer and brings every live view up to date at once. The window is
// loaded once and afterwards only hidden and shown again.
#include "locations/city_list.h"
#include "locations/new_place_dialog.h"
#include <QPixmap>
#include <QWidget>

class GraphButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmLocation : public QWidget, public CityBoxOwner {
    Q_OBJECT
public:
    explicit frmLocation(QWidget* parent = nullptr);
    ~frmLocation() override;

    // The one location window (null when none is loaded).
    static frmLocation* istanza();
    // Shows the one window modeless in the main window's workspace (or on
    // its own when there is no main window), loading it first if needed.
    static frmLocation* Mostra(QWidget* parent = nullptr);

    // Controls.
    QGroupBox* fraLocalita = nullptr;
    QLineEdit* cmbCityText = nullptr;   // the city box's edit line
    QListWidget* cmbCity = nullptr;     // the city box's list; item data = table row
    QLabel* lblCittaDisponibili = nullptr;
    QLabel* lblCity = nullptr;
    GraphButton* cmdNuova = nullptr;
    GraphButton* cmdModifica = nullptr;
    GraphButton* cmdElimina = nullptr;
    QGroupBox* fraCoordinateGeografiche = nullptr;
    QLabel* lblLat = nullptr;
    QLabel* lblLatitude = nullptr;
    QLabel* lblLon = nullptr;
    QLabel* lblLongitude = nullptr;
    QLabel* lblQuota = nullptr;
    QLineEdit* txtHeight = nullptr;
    QLabel* picGeo = nullptr;
    QGroupBox* fraImpostazioneOra = nullptr;
    QComboBox* cmbOffset = nullptr;
    QComboBox* cmbOffsetHours = nullptr;
    QLabel* lblOre = nullptr;
    QComboBox* cmbOffsetMin = nullptr;
    QLabel* lblMin = nullptr;
    QCheckBox* chkDaylight = nullptr;
    QPushButton* cmdFusoOrario = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;
    GraphButton* cmdHelp = nullptr;

    // The selected city's values, unformatted (the labels' tags).
    QString latitudineNascosta() const { return m_latNascosta; }
    QString longitudineNascosta() const { return m_lonNascosta; }
    // The globe picture shown now (1 to 11) and the marked point.
    int globoCorrente() const { return m_globo; }
    QPixmap immagineGlobo() const { return m_immagine; }

    // The selected entry of the city box, -1 when none.
    int voceSelezionata() const;
    // Selects an entry of the city box (runs cmbCity_Click), -1 clears.
    void Seleziona_Voce(int index) override;
    // Appends a place to the city box and counts it.
    void Aggiungi_Voce(const QString& nome, int riga) override;

    void cmdOk_Click();
    void cmbCity_Click();
    void cmbCity_DblClick();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void cmdNuova_Click();
    void cmdModifica_Click();
    void cmdElimina_Click();
    void cmdFusoOrario_Click();
    void txtHeight_LostFocus();
    void Carica_citta();
    void Mostra_localita_corrente();
    void Disegna_localita(double latitudine, double longitudine);
    void Lingua();
    // Writes a city table to the city list file; a failure is told, and so
    // is a change kept only until the list is read again because the last
    // load did not read the file whole.
    bool Scrivi_citta(const std::vector<locations::RigaCitta>& righe, locations::CambioCitta cambio) override;

    // Brings the program clock and every open view up to date for the
    // observer now in force.
    static void Aggiorna_Viste();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Segnala_righe(const locations::LetturaCitta& lettura);
    void Scorri_a_localita();
    void Form_Load();
    void Nascondi();
    void Mostra_Fuso(double fuso);

    QString m_latNascosta;
    QString m_lonNascosta;
    int m_globo = 0;
    QPixmap m_immagine;
};
