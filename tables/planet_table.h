#pragma once
// The Sun, Moon and planet table: where the seven planets, the Sun and the
// Moon stand for the observer at the program clock's instant, with their
// magnitudes, distances and light times. It formats the body table the clock
// tick has just computed and is refreshed by the tick while it is open.
#include "core/clock.h"

#include <QWidget>
#include <array>

class GraphButton;
class QFrame;
class QLabel;

namespace tables {
// Light time of a planet at `ua` astronomical units: "5m54s" under one
// hour, "4h10m19s" from one hour on.
QString Tempo_Luce_Pianeta(double ua);
// Light time of the Sun at `km`: "8m19s".
QString Tempo_Luce_Sole(double km);
// Right ascension (hours) as "6h45m" and declination (degrees) as "-16°45'".
QString Testo_AR(double ore);
QString Testo_Dec(double gradi);
} // namespace tables

class frmPlanets : public QWidget, public core::RefreshView {
    Q_OBJECT
public:
    static constexpr int kLinee = 9;     // seven planets, the Sun, the Moon
    static constexpr int kPianeti = 7;

    explicit frmPlanets(QWidget* parent = nullptr);
    ~frmPlanets() override;

    // The one table: shown (created on first use) and brought to the front.
    static frmPlanets* Mostra();
    static frmPlanets* instance();

    // Fills every value label from rows 1 to 9 of the body table.
    void Aggiorna_dati() override;
    void Lingua();
    void cmdOK_Click();
    void cmdHelp_Click();

    QFrame* Frame1 = nullptr;
    std::array<QLabel*, kLinee> lblAlt{}, lblAz{}, lblRa{}, lblDec{}, lblLight{};
    std::array<QLabel*, kPianeti> lblMag{}, lblDist{};
    QLabel* lblDistSun = nullptr;
    QLabel* lblDistMoon = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdHelp = nullptr;

private:
    void chiudi();
};
