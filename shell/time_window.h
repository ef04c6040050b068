#pragma once
// The time window: chooses whether the program clock follows the computer's
// clock or runs as a simulation from a chosen date and time, starts and stops
// the simulation, and shows the instant in local and universal time, the
// sidereal times, the Julian date and the day of the year, with two clock
// faces. The clock mode itself lives in the central clock, so closing and
// reopening this window, or changing the language, keeps it.
#include "core/clock.h"

#include <QWidget>

class AnalogClock;
class GraphButton;
class QCheckBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;

class frmTime : public QWidget, public core::RefreshView {
    Q_OBJECT
public:
    explicit frmTime(QWidget* parent = nullptr);
    ~frmTime() override;

    // Refreshes every value label and both clock faces from the time globals.
    void Aggiorna_dati() override;
    void Lingua();

    // "07.05.09": hours, minutes and seconds of a time in hours, each with two
    // digits, truncated, joined by points.
    static QString Testo_Siderale(double ore);

    void chkUsaOraPc_Click();
    void cmdPlay_Click();
    void cmdStop_Click();
    void DTPicker1_Change();
    void cmdOK_Click();
    void cmdHelp_Click();
    void cmdSincronizza_Click();
    // Lets the clock-setting window, built later, be shown from here.
    static void setSincronizzazione(std::function<void()> azione);

    QGroupBox* fraTempo1 = nullptr;
    QGroupBox* fraTempo2 = nullptr;
    QGroupBox* fraImpostazioni = nullptr;
    QCheckBox* chkUsaOraPc = nullptr;
    GraphButton* cmdPlay = nullptr;
    GraphButton* cmdStop = nullptr;
    QDateTimeEdit* DTPicker1 = nullptr;
    QLabel* lblStato = nullptr;
    QLabel* lblOraInizioSimulazione = nullptr;
    QLabel* lblLOCALTIME = nullptr;
    QLabel* lblLOCALDATE = nullptr;
    QLabel* lblUTTIME = nullptr;
    QLabel* lblUTDATE = nullptr;
    QLabel* lblLST = nullptr;
    QLabel* lblGST = nullptr;
    QLabel* lblJD = nullptr;
    QLabel* lblLOCALYear = nullptr;
    QLabel* lblUTCYear = nullptr;
    QLabel* lblOraLocale = nullptr;
    QLabel* lblOraGreenwich = nullptr;
    QLabel* lblOraSideraleLocale = nullptr;
    QLabel* lblOraSideraleGreenwich = nullptr;
    QLabel* lblGiornoGiuliano = nullptr;
    QLabel* lblDataLocale = nullptr;
    QLabel* lblDataGreenwich = nullptr;
    QLabel* lblGiornoAnno1 = nullptr;
    QLabel* lblGiornoAnno2 = nullptr;
    AnalogClock* AnalogClock1[2] = {nullptr, nullptr};
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdHelp = nullptr;
    GraphButton* cmdSincronizza = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Shows the clock mode of the central clock in the controls.
    void mostraStato();
    bool m_aggiornando = false;
};
