#pragma once
// The new-place dialog: a place typed for the city list, or the coordinates
// and time-zone offset of a listed one changed. Coordinates are typed in
// degrees, minutes and seconds (tab 0) or in degrees with four decimals
// (tab 1); leaving a tab checks it and converts its values into the other.
#include "locations/city_list.h"

#include <QDialog>
#include <vector>

class GraphButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

// What the new-place dialog needs of the window whose city box receives the
// place (the location dialog).
class CityBoxOwner {
public:
    virtual ~CityBoxOwner() = default;
    // Selects an entry of the city box (-1 clears).
    virtual void Seleziona_Voce(int index) = 0;
    // Appends a place to the city box; `riga` is its row of the city table (1-based).
    virtual void Aggiungi_Voce(const QString& nome, int riga) = 0;
    // Writes `righe` as the city list file for a change of one place. True:
    // the caller changes its table and its box, because the file was
    // written, or because the last load did not read the file (or not
    // whole), so that the file is left as it is and the change holds until
    // the list is read again, which has been told. False: a failure, told with the
    // file and the system's reason, that left the file as it was: the
    // caller then keeps its table and its box as they are, as the file
    // holds them.
    virtual bool Scrivi_citta(const std::vector<locations::RigaCitta>& righe, locations::CambioCitta cambio) = 0;
};

class frmAddLocation : public QDialog {
    Q_OBJECT
public:
    // `location` is the window whose city box receives the place (may be null).
    frmAddLocation(CityBoxOwner* location, QWidget* parent = nullptr);

    // Set by the location dialog before the dialog is shown.
    int gintIndiceCittaDaModificare = 0;
    int gintIndiceCittaCombo = -1;
    bool gblnModificaCitta = false;

    // Fills the dialog from a listed city for editing.
    void Prepara_Modifica(int riga, int voce, const QString& nome, const QString& ore,
                          const QString& minuti);

    QGroupBox* fraCity = nullptr;
    QLineEdit* txtCityName = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QLineEdit* txtDMSDegLatitude = nullptr;
    QLineEdit* txtDMSMinLatitude = nullptr;
    QLineEdit* txtDMSSecLatitude = nullptr;
    QLineEdit* txtDMSDegLongitude = nullptr;
    QLineEdit* txtDMSMinLongitude = nullptr;
    QLineEdit* txtDMSSecLongitude = nullptr;
    QLineEdit* txtDegLatitude = nullptr;
    QLineEdit* txtDegFrazLatitude = nullptr;
    QLineEdit* txtDegLongitude = nullptr;
    QLineEdit* txtDegFrazLongitude = nullptr;
    QComboBox* cmbLatitude = nullptr;
    QComboBox* cmbLongitude = nullptr;
    QGroupBox* fraOffset = nullptr;
    QComboBox* cmbOffset = nullptr;
    QComboBox* cmbOffsetHours = nullptr;
    QComboBox* cmbOffsetMin = nullptr;
    QLabel* lblFuso = nullptr;
    QLabel* lblFusoOre = nullptr;
    QLabel* lblFusoMin = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;
    GraphButton* cmdHelp = nullptr;

    // Shows a tab as a click on it does (the tab left is checked first).
    void Mostra_Scheda(int tab);
    // Checks the name and the boxes of the tab shown.
    bool Verifica_dati();
    // The tab switch, with the tab left: false when it was refused.
    bool SSTab1_Click(int schedaLasciata);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void Lingua();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    QLineEdit* Box(QGroupBox* frame, const char* name, int maxLength);
    QLineEdit* Campo_Box(int campo) const;
    void Avvisa(const QString& chiave, int campo);
    void Normalizza(QLineEdit* box);

    CityBoxOwner* m_location;
    int m_scheda = 0;
    bool m_inCambio = false;
};
