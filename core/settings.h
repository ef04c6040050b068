#pragma once
// The program's options: one global per settings key, read at start-up by
// Leggi_impostazioni, changed freely by the windows and menus, written back by
// Salva_impostazioni. Every key has a built-in default, used when the key is
// missing or its stored text cannot be read.
//
// Stored forms (all texts): flags "-1"/"0"; numbers in decimal with "." as the
// decimal point whatever the user's locale; colours as R + 256 G + 65536 B;
// latitude and longitude in thousandths of a degree.
#include <QString>
#include <array>
#include <cstdint>

// ---------------------------------------------------------------- Osservatore
// The observer. Latitude north positive, longitude east positive, in degrees.
extern QString gstrLocalita;      // "Italy: Milan": country, colon, blank, city
extern float gsngLatitudine;      // degrees (stored in thousandths)
extern float gsngLongitudine;     // degrees (stored in thousandths)
extern float gsngQuota;           // metres above sea level
extern float gsngFusoOrario;      // hours east of Greenwich, fractions allowed
extern std::uint8_t gbytOraLegale; // 1 when daylight saving is in force, else 0

// ---------------------------------------------------------------- Database
extern QString gstrDatabasePrimario; // full path of the principal element file, "" if none

// ---------------------------------------------------------------- Satelliti
extern int gintPropagatore;          // 0 Plan 13, 1 SGP, 2 SGP4, 3 SGP4 with SDP4 for deep space
extern bool gblnRifrazione;          // refraction added to satellite elevations
extern bool gblnMagnitudineLambert;  // phase law of the visual magnitude
extern int gintSogliaSole;           // Sun elevation (degrees) below which a sunlit satellite is visible

// ---------------------------------------------------------------- Mappamondo (world map layers)
extern bool gblnMappaGriglia;
extern bool gblnMappaCitta;
extern bool gblnMappaCerchio;
extern bool gblnMappaOrbita;
extern bool gblnMappaMouseDati;
extern bool gblnMappaLocalizzatore;
extern bool gblnMappaRiquadroDati;
extern bool gblnMappaSole;
extern bool gblnMappaOmbra;

// ---------------------------------------------------------------- Cielo locale (local sky chart)
extern bool gblnLocaleGriglia;
extern bool gblnLocaleGriglia10;
// The two flags a chart reads as whole numbers: -1 selects, any other value
// does not ("Griglia tipo": -1 alt-azimuth grid, 0 equatorial, else none).
extern int gblnLocaleGrigliaTipo;
extern bool gblnLocaleCostellazioniLinee;
extern bool gblnLocalePianeti;
extern bool gblnLocaleSoleLuna;
extern bool gblnLocaleCostellazioniNomi;
extern bool gblnLocalePianetiNomi;
extern bool gblnLocaleSoleLunaNomi;
extern int gintLocaleStelle;          // number of brightest stars drawn
extern int gblnLocaleProiezioneStereo; // -1 stereographic, any other value equidistant
extern int gintLocaleOrientamento;    // 0 north, 1 south, 2 west, 3 east
extern bool gblnLocaleCoordinateAltazimutali;
extern bool gblnLocaleEffettoOrizzonte;
extern bool gblnLocalePaesaggio;
extern bool gblnLocaleRiquadroDati;

// ---------------------------------------------------------------- Cielo generale (whole-sky chart)
extern bool gblnGeneraleGriglia;
extern bool gblnGeneraleCostellazioniLinee;
extern bool gblnGeneralePianeti;
extern bool gblnGeneraleSoleLuna;
extern bool gblnGeneraleCostellazioniNomi;
extern bool gblnGeneralePianetiNomi;
extern bool gblnGeneraleSoleLunaNomi;
extern int gintGeneraleStelle;

// ---------------------------------------------------------------- Cielo anteprima (pass map start options)
extern bool gblnAnteprimaGriglia;
extern bool gblnAnteprimaGriglia10;
extern int gblnAnteprimaGrigliaTipo; // -1 altitude-azimuth grid, 0 equatorial, any other value none
extern bool gblnAnteprimaCostellazioniLinee;
extern bool gblnAnteprimaPianeti;
extern bool gblnAnteprimaSoleLuna;
extern bool gblnAnteprimaCostellazioniNomi;
extern bool gblnAnteprimaPianetiNomi;
extern bool gblnAnteprimaSoleLunaNomi;
extern int gintAnteprimaStelle;
extern bool gblnAnteprimaProiezioneStereo;
extern int gintAnteprimaOrientamento; // as gintLocaleOrientamento
extern bool gblnAnteprimaEffettoOrizzonte;
extern bool gblnAnteprimaPaesaggio;

// ---------------------------------------------------------------- Filtri (pass-prediction filters)
// Index = prediction group: 0 "tutti" (whole catalogue), 1 "principale"
// (principal file), 2 "secondari" (secondary file).
extern bool gblnInTransito;
extern std::array<bool, 3> gblnFiltroAM;
extern std::array<bool, 3> gblnFiltroPM;
extern std::array<bool, 3> gblnSoloVisibili;
extern std::array<double, 3> gdblAltezzaMin;  // degrees
extern std::array<double, 3> gdblAzimuthMin;  // degrees
extern std::array<double, 3> gdblAzimuthMax;  // degrees

// ---------------------------------------------------------------- Generali
extern bool gblnBarraPulsanti;      // toolbar shown
extern bool gblnBarraStato;         // status bar shown
extern bool gblnConfermaUscita;     // ask before closing
extern int gintUnita;               // unit choice of the options dialog
extern int gintFormatoOra;          // status-bar clock format 0 to 9
extern bool gblnVerificaOpzioni;    // option of the options dialog
extern bool gblnPosizioniFinestre;  // windows keep their placement between runs
extern bool gblnVerificaOraLegale;  // compare daylight saving with the computer at start-up
extern QString gstrFileLingua;      // language file name (with extension) in the program folder

// ---------------------------------------------------------------- ServerNTP, Download
extern std::array<QString, 10> gstrServerNTP; // time servers offered for clock setting
extern std::array<QString, 31> gstrRemoto;    // remote element files "host/NORAD/elements/x.txt"

// ---------------------------------------------------------------- Colori (R + 256 G + 65536 B)
extern std::int32_t glngColoreGrigliaMappamondo;
extern std::int32_t glngColoreGrigliaLocale1;
extern std::int32_t glngColoreGrigliaLocale2;
extern std::int32_t glngColoreGrigliaLocale3;
extern std::int32_t glngColoreGrigliaLocale4;
extern std::int32_t glngColoreGrigliaGenerale;
extern std::int32_t glngColoreNomeCitta;
extern std::int32_t glngColoreSatellite;
extern std::int32_t glngColoreOrbita1;
extern std::int32_t glngColoreOrbita2;
extern std::int32_t glngColoreCostellazioniLinee;
extern std::int32_t glngColoreCostellazioniNomi;

// ---------------------------------------------------------------- Radio
// Channel 1 to 10 shown in row 0 to 9 of the tracking table; gintCanale[0] is
// also the channel of the principal satellite's data panels.
extern std::array<int, 10> gintCanale;

// ---------------------------------------------------------------- Esegui
extern QString gstrEseguiProgramma; // external program of the Tools menu
extern QString gstrEseguiParametri; // its command-line parameters

// ---------------------------------------------------------------- procedures

// Reads every setting (151 keys) into its global, the language file name
// last, and takes the snapshots that Impostazioni_modificate compares with.
// A missing key, or a stored text that cannot be read in its key's form,
// gives that key's default. Never throws.
void Leggi_impostazioni();

// Puts the built-in defaults back into every setting except the observer,
// the principal element file and the language file. Writes nothing and
// leaves the snapshots alone.
void Impostazioni_default();

// Writes every setting that Leggi_impostazioni reads, each in its stored
// form, so that the next start reads back the same values. They are written
// together, the settings file once: when they cannot be kept, none is, and
// false comes back with the reason in *error (the file and the system's
// reason, in the user's language).
bool Salva_impostazioni(QString* error = nullptr);

namespace mReg { class RegistryError; }
// What the user is told when a setting could not be written: that the
// options could not be saved, and the store's reason (its file and the
// system's reason), in the user's language.
QString Testo_Impostazioni_Non_Salvate(const mReg::RegistryError& e);

// True when any setting (the language file excepted) differs from what
// Leggi_impostazioni read: numbers exactly, texts with case.
bool Impostazioni_modificate();

// One key was written to the store on its own (the start-up's daylight-saving
// answer): what it holds now is what the changed-settings test compares with.
void Impostazione_Salvata(const QString& section, const QString& key);

// The built-in default text of a key of the settings table (window placement
// and connection-test keys included); empty for a key that is not in it.
QString Default_Impostazione(const QString& section, const QString& key);

