#pragma once
// The commands of the main window's local sky menu and the opener of the
// chart window. Each procedure sees the menu's check marks as they were
// before the click (the handlers installed by Collega_Cielo_Locale undo the
// toolkit's own toggle of a checkable item first).
#include <functional>

class frmLocalSky;

namespace maps::cielo {

// The check mark of an item of the main window's menus (false when there
// is none), and setting it.
bool Spunta(const char* voce);
void Spunta(const char* voce, bool on);

// Opens the chart window (or brings it to the front).
frmLocalSky* mnuCieloMappaLocale_Click();

void mnuLocalSkyTransitoPrincipale_Click();
void mnuLocalSkyTempi_Click();
// Toggle with redraw: grid, landscape, objects and labels.
void Inverti_E_Ridisegna(const char* voce);
void mnuLocalSkySoloPrincipale_Click();
void mnuLocalSkyRiquadroDati_Click();
// Pairs: the clicked item acts only when the other one is checked.
void mnuLocalSkyCoordinate_Click(const char* voce, const char* altra);
void mnuLocalSkyProiezione_Click(const char* voce, const char* altra);
// Orientation: acts only when the clicked item is not checked.
void mnuLocalSkyOrientamento_Click(const char* voce);
void mnuLocalSkyRidisegnaMappa_Click();
void mnuLocalSkyZoom_Click();
void mnuLocalSkyRipristina_Click();
void mnuLocalSkyMagnitudine_Click();
void mnuLocalSkyStampa_Click();
void mnuLocalSkyChiudi_Click();

// Opens the limiting-magnitude dialog for the local chart when another
// window installs its own way; otherwise the menu command opens the dialog.
std::function<void()>& apriMagnitudine();

} // namespace maps::cielo
