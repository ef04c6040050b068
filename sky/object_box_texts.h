#pragma once
// The number texts of the object details box.
#include <QString>

// Every unit of the box comes from the language file (section frmObject:
// "ua", "km", "ore", "minuti", "secondi"); the angle marks are fixed.
namespace sky::dettagli {

// The unit text of `chiave` in the box's section.
QString Unita(const char* chiave);

// Right ascension (hours) as " 06h 45m 08s".
QString Testo_AR(double ore);
// Declination (degrees) as "-16° 42'" (sign, degrees, minutes; no seconds).
QString Testo_Dec(double gradi);
// Elevation "#0.0°" and azimuth "##0.0°".
QString Testo_Altezza(double gradi);
QString Testo_Azimuth(double gradi);
// Apparent diameter (arc seconds) as minutes and seconds: 1865 -> "31'05''".
QString Testo_Diametro(double secondi);
// Light time of a planet at `ua` astronomical units: "4h10m19s" or "1m40s".
QString Tempo_Luce_Pianeta(double ua);
// Light time of the Sun at `km`: "08m19s".
QString Tempo_Luce_Sole(double km);
// Light time of the Moon at `km`: "1.3s".
QString Tempo_Luce_Luna(double km);
// Illuminated percentage of the Moon for its phase angle (radians): "47%".
QString Fase_Luna(double faseRadianti);

} // namespace sky::dettagli
