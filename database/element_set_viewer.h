#pragma once
// The element-set viewer: one element set in full (the three lines as
// stored, every element, general information and the derived orbit size and
// period). Opened modally on a working-list slot (1 to 200, with buttons to
// step through the list) or on a database entry parsed into the scratch slot
// 201 (navigation disabled).
#include <QDialog>

class QGroupBox;
class QLabel;
class GraphButton;

class frmSatellite : public QDialog {
    Q_OBJECT
public:
    explicit frmSatellite(QWidget* parent = nullptr);
    ~frmSatellite() override;

    // The slot to show: set before the window is shown; 0 is taken as 1.
    static int gintIndice;

    // Shows the viewer modally on `slot`, owned by the main window.
    static void Mostra(int slot);

    // Fills every label for slot s (placeholders for an empty or unusable slot).
    void Visualizza_elementi(int s);
    void Lingua();

    void Form_Load();
    void cmdPrimo_Click();
    void cmdPrecedente_Click();
    void cmdSuccessivo_Click();
    void cmdUltimo_Click();
    void cmdOK_Click();
    void cmdHelp_Click();

    // The slot shown now.
    int slot() const { return m_slot; }
    // A value label by its control name ("lblApogee"), for the tests.
    QLabel* etichetta(const QString& name) const;

    QLabel* lblSatellite = nullptr;
    GraphButton* cmdPrimo = nullptr;
    GraphButton* cmdPrecedente = nullptr;
    GraphButton* cmdSuccessivo = nullptr;
    GraphButton* cmdUltimo = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdHelp = nullptr;

protected:
    void done(int r) override;

private:
    void intestazione();
    void vai(int s);

    int m_slot = 1;
    QString m_titolo;
};
