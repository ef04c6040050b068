#pragma once
// The relative-motion dialog: satellites A and B, each from the principal
// or the secondary database, a start, a span, a step and a coordinate type;
// each OK opens a new listing window. One dialog, shown modeless.
#include "listings/listing_dialog.h"

#include <QWidget>

#include <array>

class GraphButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QTabBar;
class frmDetails;

class frmRelative : public QWidget {
    Q_OBJECT
public:
    static frmRelative* instance(bool create = true);
    static void Mostra();
    ~frmRelative() override;

    // Strip 0 and list 0 for satellite A, 1 for B; tab 0 principal, 1 secondary.
    std::array<QTabBar*, 2> SSTab1{};
    std::array<QComboBox*, 2> cmbDatabase{};
    QLabel* lblSatelliteA = nullptr;
    QLabel* lblSatelliteB = nullptr;
    QLabel* lblInfo = nullptr;
    listings::ControlliElenco c;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;
    GraphButton* cmdHelp = nullptr;

    void Form_Load();
    void Lingua();
    // The tab of strip `Index` changed.
    void SSTab1_Click(int Index);
    frmDetails* cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();

private:
    explicit frmRelative(QWidget* parent = nullptr);
    bool m_caricato = false;
};
