// Records shared by the whole program: the text of one element set, the
// parsed element set and the computed state of one satellite.
//
// Plain structs with standard types only (no Qt), so the numeric core and
// every layer above it can use them. A value-initialised record ({}) is the
// cleared record: numbers 0, texts empty, Stato 0, Magnitudine empty.
#pragma once

#include <array>
#include <string>

// The text of one element set: name line, line 1, line 2.
// Also the record of the principal and secondary database lists and of the
// frequency table (catalogue number, uplink MHz, downlink MHz).
struct RigaDati {
    std::string Riga0;
    std::string Riga1;
    std::string Riga2;

    bool operator==(const RigaDati&) const = default;
};

// Number of radio channels of a satellite. The frequency arrays are indexed
// by channel 1 to 10; index 0 is unused (as the working-list slots are).
inline constexpr int kCanaliRadio = 10;

// One parsed NORAD element set (filled by the element-set parser).
struct Satelement {
    double AnnoEpoca = 0;          // epoch year, four digits
    double GiornoEpoca = 0;        // epoch day of the year with fraction
    double Inclinazione = 0;       // degrees
    double NodoAscendente = 0;     // right ascension of the ascending node, degrees
    double Eccentricita = 0;       // eccentricity
    double ArgomentoPerigeo = 0;   // degrees
    double AnomaliaMedia = 0;      // degrees
    double MotoMedio = 0;          // revolutions per day
    double DerivataPrima = 0;      // first derivative of the mean motion / 2, rev/day^2
    double NumeroRivoluzione = 0;  // revolution number at epoch
    std::string NumeroCatalogo;    // catalogue number, text as in line 1
    double AnnoLancio = 0;         // launch year, four digits
    double NumeroLancio = 0;       // launch number of the year
    std::string PezzoLancio;       // piece of the launch, trailing blanks removed
    std::string Nome;              // satellite name; empty for a blank name line too
    std::string MagnitudineStandard;  // standard magnitude (1000 km, half phase) as text; empty when unknown
    double DerivataSecondaMantissa = 0;   // second derivative / 6, mantissa
    double DerivataSecondaEsponente = 0;  // its power-of-ten exponent
    double BStarMantissa = 0;             // drag term B*, mantissa
    double BStarEsponente = 0;            // its power-of-ten exponent
    double EpocaGiuliana = 0;             // epoch as Julian date (UT)
    // Uplink (transmit) and downlink (receive) frequency texts in MHz,
    // channels 1 to 10 (index 0 unused).
    std::array<std::string, kCanaliRadio + 1> FrequenzaSalita{};
    std::array<std::string, kCanaliRadio + 1> FrequenzaDiscesa{};

    bool operator==(const Satelement&) const = default;
};

// Whether a record holds an element set rather than being cleared. The name
// cannot tell (a set whose name line is blank has none); a parsed set always
// has its catalogue number.
inline bool Elementi_Presenti(const Satelement& e)
{
    return !e.NumeroCatalogo.empty();
}

// Illumination state of a satellite (Valori::Stato).
enum StatoSatellite : int {
    StatoNessuno = 0,      // record cleared, not computed yet
    StatoEclisse = 1,      // in the Earth's shadow
    StatoVisibile = 2,     // sunlit and visible (observer in darkness, above horizon)
    StatoNonVisibile = 3,  // sunlit but not visible
};

// The visual magnitude of a satellite: a number, the text "???" when the
// standard magnitude is unknown, or empty (eclipsed, or record cleared).
struct MagnitudineVisuale {
    enum class Tipo { Vuota, Numero, Sconosciuta };
    Tipo tipo = Tipo::Vuota;
    double valore = 0;  // meaningful only when tipo == Numero

    static MagnitudineVisuale numero(double v) { return {Tipo::Numero, v}; }
    static MagnitudineVisuale sconosciuta() { return {Tipo::Sconosciuta, 0}; }
    static MagnitudineVisuale vuota() { return {}; }

    bool isNumber() const { return tipo == Tipo::Numero; }
    bool isUnknown() const { return tipo == Tipo::Sconosciuta; }
    bool isEmpty() const { return tipo == Tipo::Vuota; }
    // The text form for plain display: "" when empty, "???" when unknown.
    // Numbers are formatted by the caller with its own picture.
    std::string testo() const { return tipo == Tipo::Sconosciuta ? "???" : std::string(); }

    bool operator==(const MagnitudineVisuale&) const = default;
};

// The computed state of one satellite at one instant, as seen by the observer.
struct Valori {
    double Altezza = 0;              // elevation, degrees (refraction added when that option is on)
    double Azimuth = 0;              // degrees, 0 to below 360 from north through east
    double Fase = 0;                 // illuminated fraction; 0 when eclipsed
    double AngoloFase = 0;           // 180 - phase angle, degrees
    int Stato = StatoNessuno;        // StatoSatellite
    MagnitudineVisuale Magnitudine;  // visual magnitude, "???" or empty
    double LatitudineAssoluta = 0;   // |sub-satellite latitude|, degrees
    double LongitudineAssoluta = 0;  // sub-satellite longitude 0..180 east or west, degrees
    double DistanzaGeocentrica = 0;  // km from the Earth's centre
    double NumeroOrbita = 0;         // orbit number with fraction
    double VelocitaRadiale = 0;      // range rate, km/s, positive when receding
    double Apogeo = 0;               // apogee height above a 6378.135 km sphere, km
    double Perigeo = 0;              // perigee height above the same sphere, km
    double Velocita = 0;             // inertial speed, km/s
    double Quota = 0;                // height above the ellipsoid, km
    double Distanza = 0;             // range from the observer, km
    double Periodo = 0;              // orbital period, seconds
    double Latitudine = 0;           // signed sub-satellite latitude, degrees, north positive
    double Longitudine = 0;          // signed sub-satellite longitude, east positive, (-180, 180]
    double LatitudineMappa = 0;      // same as Latitudine
    double Longitudine360 = 0;       // sub-satellite longitude east, 0 to below 360
    std::string EmisferoNS;          // "N" or "S"
    std::string EmisferoEW;          // "E" or "W"
    double VersoreZenit = 0;         // up component of the unit vector observer -> satellite
    double VersoreEst = 0;           // east component
    double VersoreNord = 0;          // north component

    bool operator==(const Valori&) const = default;
};
