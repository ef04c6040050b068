#pragma once
// The channel choice: the ten radio channels of the satellite of one row of
// the tracking table, with their downlink and uplink frequencies; OK gives
// the row the chosen channel. One window, shown modeless.
#include <QWidget>

class GraphButton;
class QLabel;
class QListWidget;

class frmChannel : public QWidget {
    Q_OBJECT
public:
    explicit frmChannel(QWidget* parent = nullptr);
    ~frmChannel() override;

    // Opens the choice for tracking-table row `riga` (0 to 9) showing
    // working-list slot `slot` on channel `canale` (1 to 10). An open choice
    // is given the new row and is filled again for its satellite.
    static frmChannel* Mostra(int riga, int slot, int canale);
    static frmChannel* instance();

    // Set by the opener before the window is shown.
    int gintIndicePulsante = 0;
    int gintNumeroSatellite = 1;
    int gintCanaleFrequenza = 1;

    // The ten lines for the satellite of gintNumeroSatellite, the line of
    // gintCanaleFrequenza selected.
    void Riempi_lista();
    void Lingua();
    void cmdOK_Click();
    void cmdCancel_Click();
    void List1_DblClick();

signals:
    // OK chose channel `canale` (0: none) for tracking-table row `riga`.
    void canaleScelto(int riga, int canale);
public:

    QListWidget* List1 = nullptr;
    QLabel* lblDownlink = nullptr;
    QLabel* lblUplink = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;

private:
    void chiudi();
};
