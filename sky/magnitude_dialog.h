#pragma once
// The limiting-magnitude dialog: chooses how many stars one open sky chart
// draws by the faintest magnitude shown. The target word names the chart:
// "locale" the local sky chart, "generale" the whole-sky chart, "anteprima"
// the pass map that owns the dialog. It changes only that chart's count and
// redraws it; it writes no setting.
#include <QDialog>
#include <QPointer>
#include <QString>

class GraphButton;
class QComboBox;
class QGroupBox;
class QLabel;
namespace common {
class CartaStellare;
}

namespace sky {
// The twelve limits: item text and the number of stars brighter than it.
struct LimiteMagnitudine {
    const char* testo;
    int stelle;
};
inline constexpr LimiteMagnitudine kLimitiMagnitudine[12] = {
    {"mag. > 6.5", 9010}, {"mag. 6.5", 8523}, {"mag. 6.0", 5146}, {"mag. 5.5", 2906},
    {"mag. 5.0", 1639},   {"mag. 4.5", 921},  {"mag. 4.0", 521},  {"mag. 3.5", 293},
    {"mag. 3.0", 176},    {"mag. 2.5", 94},   {"mag. 2.0", 50},   {"mag. 1.5", 23},
};
} // namespace sky

class frmMagnitude : public QDialog {
    Q_OBJECT
public:
    // `owner` is the window that opened the dialog: for "anteprima" the
    // pass map whose stars are chosen.
    frmMagnitude(const QString& qualeMappa, QWidget* owner);

    // Opens the dialog modally for `qualeMappa` over `owner`.
    static void Mostra(const QString& qualeMappa, QWidget* owner);

    QString gstrQualeMappa;

    void Lingua();
    void cmbMagnitudine_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    // The chart the target word names (null when it is not open): the local
    // sky chart, the whole-sky chart, or the pass map that owns the dialog.
    common::CartaStellare* bersaglio() const;
    int stelleScelte() const { return mintStelle; }

    QGroupBox* Frame1 = nullptr;
    QComboBox* cmbMagnitudine = nullptr;
    QLabel* lblStelle = nullptr;
    QLabel* lblNumeroStelle = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;

private:
    void Form_Load();

    QPointer<QWidget> m_owner;
    int mintStelle = 0; // the chosen item's count; 0 while none is chosen
};
