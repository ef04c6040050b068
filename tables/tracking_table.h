#pragma once
// The tracking table: ten consecutive satellites of the working list side by
// side, one row each, with their observation and orbit figures and the radio
// frequencies of each row's channel corrected for the Doppler shift. Pages
// through the list; refreshed by the clock tick while it is open. It computes
// no satellite: it shows the states the tick has just computed.
#include "core/clock.h"

#include <QWidget>
#include <array>

class GraphButton;
class QFrame;
class QLabel;
class QStackedWidget;
class QTabBar;

class frmTrack : public QWidget, public core::RefreshView {
    Q_OBJECT
public:
    static constexpr int kRighe = 10;
    // The largest slot row 0 can show: the last row stays on slot 200.
    static constexpr int kPrimoMassimo = 191;

    explicit frmTrack(QWidget* parent = nullptr);
    ~frmTrack() override;

    // The one tracking table: shows it (creating it on first use) and brings
    // it to the front. instance() is null while it is not open.
    static frmTrack* Mostra();
    static frmTrack* instance();

    // Refreshes the ten rows and the range label from the working list.
    void Aggiorna_dati() override;
    // Gives every satellite of the working list the frequency table's rows of
    // its catalogue number, each in its first channel with no frequency.
    static void Assegna_frequenze();

    void Lingua();
    void cmdCanale_Click(int index);
    // The channel choice gave row `riga` channel `canale`: shown and recomputed.
    void Canale_Scelto(int riga, int canale);
    void cmdPrimo_Click();
    void cmdPrecedente_Click();
    void cmdSuccessivo_Click();
    void cmdUltimo_Click();
    void cmdOK_Click();
    void cmdHelp_Click();

    // The working-list slot shown in row 0.
    int mintPrimo = 1;

    // The channel of row r as its button holds it (a decimal text), and the
    // button's caption.
    QString canaleTag(int r) const;
    void setCanale(int r, const QString& tag, const QString& caption);

    QTabBar* SSTab1 = nullptr;
    QLabel* lblSatellite = nullptr;
    QFrame* fraSatelliti = nullptr;
    QFrame* fraOsserva = nullptr;
    QFrame* fraOrbita1 = nullptr;
    QFrame* fraOrbita2 = nullptr;
    QFrame* fraRadio = nullptr;
    QFrame* Frame3 = nullptr;
    GraphButton* cmdPrimo = nullptr;
    GraphButton* cmdPrecedente = nullptr;
    GraphButton* cmdSuccessivo = nullptr;
    GraphButton* cmdUltimo = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdHelp = nullptr;

    using Colonna = std::array<QLabel*, kRighe>;
    Colonna lblName{}, lblAlt{}, lblAz{}, lblRa{}, lblDec{}, lblEcl{}, lblMag{};
    Colonna lblLat{}, lblLon{}, lblHgtTrack{}, lblApg{}, lblPrg{};
    Colonna lblPrd{}, lblVel{}, lblRev{}, lblRange{}, lblRR{};
    Colonna lblDnlink{}, lblRicez{}, lblUplink{}, lblTrasm{};
    std::array<GraphButton*, kRighe> cmdCanale{};

private:
    void Form_Load();
    void chiudi();
    QStackedWidget* m_pagine = nullptr;
};
