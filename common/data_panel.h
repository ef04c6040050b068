#pragma once
// The principal satellite's data box of the world map and of the local sky
// chart: eighteen titles (language section "Def", tool tips "ToolTips")
// beside the figures the clock tick writes into them.
#include "core/clock.h"

#include <QGroupBox>

class QLabel;

namespace common {

class RiquadroDati : public QGroupBox {
    Q_OBJECT
public:
    // pointSize: the box's font size; valoriZero: the figures start at "0"
    // (else empty).
    RiquadroDati(QWidget* parent, double pointSize, const QMargins& margini, bool valoriZero);

    // The box's title and the titles of the figures in the chosen language.
    void Lingua(const QString& titolo);
    void Mostra_dati(const core::PrincipalTexts& texts);
    // Every figure back to "0"; magnitude and state empty.
    void Azzera_dati();

    // Titles and figures (public, as the other windows and the tests read them).
    QLabel *lblLat, *lblLon, *lblAlt, *lblAz, *lblAR, *lblDec, *lblOrbita, *lblVarDist, *lblStato, *lblMag,
        *lblQuota, *lblDista, *lblApg, *lblPrg, *lblPrd, *lblVel, *lblRicezione, *lblTrasmissione;
    QLabel *lblLatitude, *lblLongitude, *lblAltitude, *lblAzimuth, *lblAscension, *lblDeclination,
        *lblOrbitNumber, *lblRangeRate, *lblState, *lblMagnitude, *lblHeight, *lblRange, *lblApogee,
        *lblPerigee, *lblPeriod, *lblVelocity, *lblRicez, *lblTrasm;
};

} // namespace common
