#pragma once
// What the ephemeris and the relative-motion dialogs share: the start
// picker, the span and step lists with their units, the coordinate-type
// options and the reading of the user's choice.
#include "astro/records.h"

#include <QDateTime>
#include <QWidget>

#include <vector>

class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace listings {

// The end of a span: `quantita` minutes (unit row 0), hours (row 1) or days
// (other rows) after `inizio`, by calendar addition.
QDateTime Fine_Intervallo(const QDateTime& inizio, int quantita, int unita);
// A step in seconds: `quantita` seconds (unit row 0), minutes (row 1) or
// hours (other rows).
double Passo_Secondi(int quantita, int unita);
// The rows of a satellite list: the first 24 characters of each name line
// with the entry number, entries 1 .. size()-1.
struct VoceSatellite {
    QString testo;
    int voce = 0;
};
std::vector<VoceSatellite> Voci_Database(const std::vector<RigaDati>& db);

// The start, span, step and coordinate-type controls of a listing dialog.
struct ControlliElenco {
    QDateTimeEdit* DTPicker1 = nullptr;
    QComboBox* cmbDurata = nullptr;
    QComboBox* cmbTipoDurata = nullptr;
    QComboBox* cmbIntervallo = nullptr;
    QComboBox* cmbTipoIntervallo = nullptr;
    QRadioButton* optOBS = nullptr;
    QRadioButton* optECI = nullptr;
    QRadioButton* optLLA = nullptr;
    QRadioButton* optRAD = nullptr;
    QLabel* lblDataInizio = nullptr;
    QLabel* lblDurata = nullptr;
    QLabel* lblIntervallo = nullptr;
    QLabel* lblTipoCoordinate = nullptr;

    // Creates the controls as children of `parent`.
    void crea(QWidget* parent);
    // The start at the program clock; 60 amounts (60 down to 1) in both
    // lists with 15 chosen; units min/hours/days and s/min/hours, the first
    // chosen.
    void riempi();
    // Captions from section `sezione` and the unit rows from "Def".
    void lingua(const QString& sezione);
    QDateTime inizio() const;
    QDateTime fine() const;
    double passo() const;
};

} // namespace listings
