#pragma once
// The texts of the element-set viewer for one parsed element set: every
// element with its number picture, the general information and the derived
// orbit size and period. Kept apart from the window so that the figures can
// be checked without one.
#include "astro/records.h"

#include <QString>

#include <optional>

namespace database {

struct TestiElementi {
    QString lblEpochTime, lblDate, lblInclination, lblRaan, lblEccentricity, lblArgumentPerigee,
        lblMeanAnomaly, lblMeanMotion, lblDev1, lblDev2, lblBStar, lblOrbitNumberEpoch;
    QString lblNoradNumber, lblInternational, lblLaunchYear, lblLaunchNumber, lblAge, lblSet, lblMagStd;
    QString lblZeroLine, lblFirstLine, lblSecondLine;
    QString lblApogee, lblPerigee, lblOrbitalPeriod, lblSemiMaj, lblSemiMin;
    // Numbers behind the derived texts (km and minutes).
    double apogeo = 0, perigeo = 0, periodo = 0, semiasseMaggiore = 0, semiasseMinore = 0;
};

// The full display of an element set (e) with its text (r) at the program
// clock's Julian date `adesso`; nothing when a figure cannot be formed (an
// empty record, a mean motion of zero, an eccentricity of 1 or more).
std::optional<TestiElementi> Testi_Elementi(const Satelement& e, const RigaDati& r, double adesso);

// The placeholder display: "N", "1", "2" for the three lines, "0.0" for the
// five derived figures, an empty date and "0" everywhere else.
TestiElementi Testi_Segnaposto();

// The international designator of line 1 (columns 10 to 17: launch year,
// launch number and piece) with trailing blanks removed.
QString Designatore_Internazionale(const std::string& riga1);

} // namespace database
