#pragma once
// The ephemeris dialog: one satellite of the principal or the secondary
// database, a start, a span, a step and a coordinate type; each OK opens a
// new listing window. One dialog, shown modeless, kept until it is closed.
#include "listings/listing_dialog.h"

#include <QWidget>

#include <array>

class GraphButton;
class QGroupBox;
class QListWidget;
class QTabWidget;
class frmDetails;

class frmCalc : public QWidget {
    Q_OBJECT
public:
    // The one dialog; created (hidden) when `create` and not loaded.
    static frmCalc* instance(bool create = true);
    // Shows the dialog modeless (inside the main window when it is up).
    static void Mostra();
    ~frmCalc() override;

    QTabWidget* SSTab1 = nullptr;
    std::array<QListWidget*, 2> lstDatabase{};
    listings::ControlliElenco c;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;
    GraphButton* cmdHelp = nullptr;

    void Form_Load();
    void Lingua();
    // Starts a listing of the selected satellite; the listing window it
    // opened (null when nothing was started).
    frmDetails* cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void lstDatabase_DblClick(int Index);
    // A key stroke with Ctrl as the only modifier: the next listing keeps
    // only the instants with the satellite above the horizon.
    void Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift);
    bool tastoCtrl() const { return mblnTastoCtrl; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmCalc(QWidget* parent = nullptr);
    bool mblnTastoCtrl = false;
};
