#pragma once
// The rise and set almanac: for one calendar day and the observer's place,
// the times and azimuths of sunrise, sunset, moonrise and moonset, and the
// Moon's phase. Starts on the program clock's date; steps a day or a month,
// or takes any date from the picker.
#include <QDateTime>
#include <QWidget>
#include <array>

class GraphButton;
class QDateTimeEdit;
class QFrame;
class QLabel;

namespace platform {
class CanvasWidget;
}

class frmRiseSet : public QWidget {
    Q_OBJECT
public:
    explicit frmRiseSet(QWidget* parent = nullptr);
    ~frmRiseSet() override;

    // The one almanac: created on first use (on the program clock's date),
    // shown modeless and brought to the front.
    static frmRiseSet* Mostra();
    static frmRiseSet* instance();

    void Lingua();
    // Draws the Moon's phase at `data` (a local date-time of the program
    // clock's kind) in `picture`.
    void Disegna_luna(platform::CanvasWidget& picture, const QDateTime& data);

    // The picker's value: the chosen day with the time of day the program
    // clock had when the window opened.
    QDateTime valore() const { return m_valore; }
    void setValore(const QDateTime& v);

    void cmdMesePrima_Click();
    void cmdMeseDopo_Click();
    void cmdGiornoPrima_Click();
    void cmdGiornoDopo_Click();
    void DTPicker1_Change();
    void cmdOK_Click();
    void cmdHelp_Click();

    QFrame* fraData = nullptr;
    QDateTimeEdit* DTPicker1 = nullptr;
    GraphButton* cmdMesePrima = nullptr;
    GraphButton* cmdGiornoPrima = nullptr;
    GraphButton* cmdGiornoDopo = nullptr;
    GraphButton* cmdMeseDopo = nullptr;
    platform::CanvasWidget* picSole = nullptr;
    platform::CanvasWidget* picLuna = nullptr;
    QLabel* lblSole = nullptr;
    QLabel* lblLuna = nullptr;
    std::array<QLabel*, 2> lblSorge{};
    std::array<QLabel*, 2> lblTramonta{};
    std::array<QLabel*, 4> lblAzimuth{};
    QLabel* lblSunRise = nullptr;
    QLabel* lblSunRiseAz = nullptr;
    QLabel* lblSunSet = nullptr;
    QLabel* lblSunSetAz = nullptr;
    QLabel* lblMoonRise = nullptr;
    QLabel* lblMoonRiseAz = nullptr;
    QLabel* lblMoonSet = nullptr;
    QLabel* lblMoonSetAz = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdHelp = nullptr;

private:
    void Aggiorna_dati();
    void Mostra_riga(QLabel* ora, QLabel* azimuth, QLabel* intestazione, const QString& testoOra,
                     const QString& testoAzimuth, const QString& stato);
    void chiudi();

    QDateTime m_valore;
    bool m_impostando = false;
};
