#pragma once
// Pieces the pass map shares between the screen, the printed sheet and the
// main window's menu: the names of its options and its date texts.
#include <QDateTime>
#include <QString>

namespace passes {

// The fourteen options of a pass map, named as the menu items that show
// them; the window's member of each is "imp" followed by the name.
inline constexpr const char* kOpzioni[14] = {
    "mnuSkySatGriglia",
    "mnuSkySatPaesaggio",
    "mnuSkySatEtichettePianeti",
    "mnuSkySatEtichetteSoleLuna",
    "mnuSkySatEtichetteCostellazioni",
    "mnuSkySatOggettiPianeti",
    "mnuSkySatOggettiSoleLuna",
    "mnuSkySatOggettiCostellazioni",
    "mnuSkySatProiezStereo",
    "mnuSkySatProiezNormale",
    "mnuSkySatOrientamentoNord",
    "mnuSkySatOrientamentoSud",
    "mnuSkySatOrientamentoOvest",
    "mnuSkySatOrientamentoEst",
};

// A program date-time as the general date: the display locale's short date
// and long time.
QString Data_Generale(const QDateTime& d);

} // namespace passes
